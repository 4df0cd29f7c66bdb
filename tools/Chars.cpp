// The cannon: a green tracked tank with a domed turret and no barrel (the game draws the
// barrel), and its wreck. Both face right and rest on the bottom row of a 90 x 80 picture.
#include <array>
#include <cmath>

#include "Dessins.h"
#include "Hasard.h"

namespace fabrique {

namespace {

constexpr Teintes kBlinde{0x8ACE5C, 0x4A9A36, 0x2A6422};
constexpr QRgb kReflet = 0xB4E68C;
constexpr Teintes kBrule{0x767452, 0x4E4C34, 0x2C2A1E};
constexpr Teintes kRoue{0xB8B8B0, 0x80807A, 0x4A4A44};
constexpr Teintes kChenille{0x66665E, 0x34342F, 0x1C1C19};
constexpr Teintes kAcier{0x8C8C86, 0x56564F, 0x2E2E2A};
constexpr QRgb kContour = 0x10280E;
constexpr QRgb kMoyeu = 0x2A2A26;
constexpr QRgb kSuie = 0x141210;
constexpr std::array<QRgb, 3> kBraises{0xFF6A00, 0xD02800, 0xFFC020};

// Wheels along the track: first centre, spacing, count, centre row and radius.
constexpr double kRoue0 = 11.0;
constexpr double kRoueEcart = 11.0;
constexpr int kNbRoues = 7;
constexpr double kRouesY = 72.5;
constexpr double kRoueRayon = 4.4;

// The tank's parts, in picture pixels (y down), the tracks resting on the bottom row. The
// turret's dome carries the barrel's pivot; the hull slopes down at the front so that a barrel
// laid flat stays clear of it.
Forme Chenille() {
    return Trait({10.0, 72.0}, {80.0, 72.0}, 15.4);
}
Forme Garde() {
    return Polygone({{3, 61}, {84, 61}, {88, 64}, {3, 64}});
}
Forme Caisse() {
    return Polygone({{6, 61.5}, {9, 55}, {56, 55}, {84, 59.5}, {86, 61.5}});
}
Forme Dome() {
    return Inter(Ellipse(33.0, 56.0, 16.5, 12.0), Rectangle(0, 0, 90, 56));
}
Forme Couronne() {
    return Rectangle(17, 54, 50, 57);
}
Forme Tourelleau() {
    return Inter(Ellipse(24.0, 46.5, 4.5, 3.0), Rectangle(0, 0, 90, 47));
}
Forme Masque() {
    return Disque(kPivotX + 0.5, kPivotY + 0.5, 3.6);
}
Forme Echappement() {
    return Rectangle(4, 57, 7, 60);
}

// A one-pixel whip antenna rising from the back of the hull, with a knob on top.
void Antenne(Toile& t, int x0, int y0, int x1, int y1) {
    for (int y = y1; y <= y0; ++y) {
        const double f = static_cast<double>(y0 - y) / (y0 - y1);
        t.point(static_cast<int>(std::lround(x0 + f * (x1 - x0))), y, kContour);
    }
    t.peindre(Disque(x1 + 0.5, y1 + 0.5, 1.3), kContour);
}

// Links on the track's upper and lower runs: two pixels light every four.
void Maillons(Toile& t, const Forme& chenille) {
    for (int y = 0; y < t.hauteur(); ++y) {
        for (int x = 0; x < t.largeur(); ++x) {
            const double cx = x + 0.5;
            const double cy = y + 0.5;
            const bool rive = chenille(cx, cy) && (!chenille(cx, cy - 2) || !chenille(cx, cy + 2));
            if (rive && x % 4 < 2) t.point(x, y, kChenille.claire);
        }
    }
}

void Roue(Toile& t, double x, double y, double r) {
    t.modeler(Disque(x, y, r), kRoue);
    t.peindre(Disque(x, y, r * 0.4), kMoyeu);
}

void Rivets(Toile& t, int y, int de, int a, QRgb couleur) {
    for (int x = de; x <= a; x += 6) t.point(x, y, couleur);
}

// Soot speckled over a burnt part, thickest at the centre, with a few glowing embers.
void Suie(Toile& t, const Forme& partie, Point centre, double rayon, std::uint64_t graine) {
    Hasard hasard(graine);
    for (int y = 0; y < t.hauteur(); ++y) {
        for (int x = 0; x < t.largeur(); ++x) {
            if (!partie(x + 0.5, y + 0.5)) continue;
            const double d = std::hypot(x + 0.5 - centre.x, y + 0.5 - centre.y) / rayon;
            const double tirage = hasard.tirage();
            if (tirage < 1.2 - d) t.point(x, y, kSuie);
            if (d < 0.7 && tirage > 0.97) t.point(x, y, kBraises[(x + y) % kBraises.size()]);
        }
    }
}

}  // namespace

Toile DessineMurax() {
    Toile t(kCharLargeur, kCharHauteur, kCiel);
    const Forme caisse = Union(Union(Caisse(), Garde()), Echappement());
    const Forme tourelle = Union(Union(Dome(), Couronne()), Tourelleau());
    t.cerner(Union(Union(Chenille(), caisse), tourelle), kContour);
    Antenne(t, 11, 55, 6, 27);
    t.modeler(Chenille(), kChenille);
    Maillons(t, Chenille());
    for (int i = 0; i < kNbRoues; ++i) Roue(t, kRoue0 + kRoueEcart * i, kRouesY, kRoueRayon);
    t.modeler(Echappement(), kAcier);
    t.modeler(Caisse(), kBlinde);
    Rivets(t, 58, 14, 56, kBlinde.sombre);
    t.modeler(Garde(), kBlinde);
    t.modeler(Couronne(), {kBlinde.sombre, kBlinde.sombre, kContour});
    t.modeler(Dome(), kBlinde, 2);
    t.peindre(Ellipse(26.5, 49.5, 3.5, 1.6), kReflet);
    t.modeler(Tourelleau(), kBlinde);
    t.modeler(Masque(), {kBlinde.claire, kBlinde.moyenne, kBlinde.sombre});
    t.peindre(Disque(kPivotX + 0.5, kPivotY + 0.5, 1.5), kBlinde.sombre);
    return t;
}

Toile DessineCharFoutu() {
    Toile t(kCharLargeur, kCharHauteur, kCiel);
    // The track snapped in two; the front half and its wheels have slid forward and sag.
    const Forme arriere = Trait({10.0, 72.0}, {41.0, 72.0}, 15.4);
    const Forme avant = Tourne(Trait({55.0, 73.0}, {80.0, 72.0}, 14.0), {67, 73}, 4);
    const Forme maillons = Union(Rectangle(43, 77, 46, 80), Rectangle(47, 78, 50, 80));
    // The hull cracked open on top, the turret torn off and tipped backwards onto it, the
    // barrel broken off and lying across the front.
    const Forme caisse = Tourne(Union(Caisse(), Garde()), {45, 62}, 3);
    const Forme trou = Polygone({{36, 56}, {41, 55}, {44, 57}, {49, 56}, {46, 61}, {40, 62}});
    const Forme tourelle = Decale(Tourne(Union(Dome(), Couronne()), {33, 56}, -38), -10, -1);
    const Forme canon = Trait({50.0, 57.0}, {77.0, 51.0}, 4.0);
    const Forme plaque = Polygone({{80, 58}, {86, 52}, {88, 54}, {83, 61}});
    const Forme silhouette =
        Union(Union(Union(arriere, avant), Union(caisse, tourelle)), Union(canon, plaque));
    t.cerner(Union(silhouette, maillons), kContour);
    t.modeler(arriere, kChenille);
    t.modeler(avant, kChenille);
    t.modeler(maillons, kChenille);
    for (int i = 0; i < 3; ++i) Roue(t, kRoue0 + kRoueEcart * i, kRouesY, kRoueRayon);
    for (double x : {62.0, 73.0}) Roue(t, x, kRouesY + 0.5, kRoueRayon);
    t.modeler(caisse, kBrule);
    t.modeler(trou, {kSuie, kContour, kBrule.sombre});
    Suie(t, caisse, {42, 58}, 10, 0xC0FFEE);
    t.modeler(plaque, kBrule);
    t.modeler(canon, kAcier);
    t.modeler(tourelle, kBrule, 2);
    Suie(t, tourelle, {20, 48}, 8, 0xFACADE);
    return t;
}

}  // namespace fabrique
