// The cannon: a green tracked tank with a domed turret, and its wreck.
#include <array>

#include "Dessins.h"

namespace fabrique {

namespace {

constexpr Teintes kBlinde{0x7CC850, 0x3C9A32, 0x1F5F1F};
constexpr Teintes kBrule{0x6A6448, 0x45402C, 0x24211A};
constexpr Teintes kRoue{0xB4B4AC, 0x7A7A72, 0x44443E};
constexpr Teintes kChenille{0x5C5C58, 0x2E2E2C, 0x1A1A18};
constexpr QRgb kContour = 0x0E260E;
constexpr QRgb kMoyeu = 0x262624;
constexpr QRgb kSuie = 0x161412;
constexpr QRgb kBraise = 0xC04010;

// Road wheels along the track, their centre row, and their radius.
constexpr std::array<double, 5> kRouesX{19.0, 32.0, 45.0, 58.0, 71.0};
constexpr double kRouesY = 71.5;
constexpr double kRoueRayon = 5.0;

// The tank's parts, in picture pixels (y down), the tracks resting on the bottom row.
Forme Chenille() {
    return Trait({11.0, 71.0}, {79.0, 71.0}, 17.4);
}
Forme Garde() {
    return Polygone({{2, 60}, {84, 60}, {88, 63}, {2, 63}});
}
Forme Caisse() {
    return Polygone({{6, 61}, {10, 54}, {70, 54}, {86, 60}, {86, 61}});
}
Forme Tourelle() {
    return Union(Inter(Ellipse(34.0, 55.0, 17.0, 10.5), Rectangle(0, 0, 90, 55)),
                 Rectangle(19, 53, 50, 56));
}
Forme Trappe() {
    return Inter(Ellipse(26.0, 46.0, 4.5, 3.0), Rectangle(0, 0, 90, 46.5));
}
Forme Masque() {
    return Disque(kPivotX + 0.5, kPivotY + 0.5, 3.6);
}
Forme Antenne() {
    return Trait({13.0, 54.0}, {7.0, 26.0}, 1.6);
}

// Links on the outer run of the track, two pixels light every four.
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
    t.peindre(Disque(x, y, r * 0.38), kMoyeu);
}

void Rivets(Toile& t, QRgb couleur) {
    for (int x = 16; x <= 64; x += 8) t.point(x, 58, couleur);
}

}  // namespace

Toile DessineMurax() {
    Toile t(kCharLargeur, kCharHauteur, kCiel);
    const Forme silhouette =
        Union(Union(Chenille(), Garde()), Union(Union(Caisse(), Tourelle()), Trappe()));
    t.cerner(Union(silhouette, Antenne()), kContour);
    t.modeler(Chenille(), kChenille);
    Maillons(t, Chenille());
    for (double x : kRouesX) Roue(t, x, kRouesY, kRoueRayon);
    Roue(t, 9.0, 70.0, 4.0);
    Roue(t, 81.0, 70.0, 4.0);
    t.peindre(Antenne(), kContour);
    t.modeler(Caisse(), kBlinde);
    Rivets(t, kBlinde.sombre);
    t.modeler(Garde(), kBlinde);
    t.modeler(Tourelle(), kBlinde, 2);
    t.modeler(Trappe(), kBlinde);
    t.modeler(Masque(), {kBlinde.moyenne, kBlinde.sombre, kContour});
    return t;
}

Toile DessineCharFoutu() {
    Toile t(kCharLargeur, kCharHauteur, kCiel);
    // The track snapped in two: the front half sags, a wheel has come off.
    const Forme arriere = Trait({11.0, 71.0}, {42.0, 71.0}, 17.4);
    const Forme avant = Tourne(Trait({54.0, 72.0}, {79.0, 71.0}, 16.0), {54, 72}, 6);
    const Forme caisse =
        Moins(Tourne(Caisse(), {45, 60}, 4), Polygone({{40, 52}, {48, 52}, {45, 58}, {43, 56}}));
    const Forme tourelle = Decale(Tourne(Tourelle(), {34, 55}, -28), -9, 3);
    const Forme canon = Trait({52.0, 57.0}, {76.0, 50.0}, 4.0);
    const Forme debris = Union(Polygone({{84, 74}, {89, 70}, {89, 79}, {82, 79}}),
                               Polygone({{46, 79}, {49, 73}, {53, 76}, {52, 79}}));
    const Forme silhouette =
        Union(Union(Union(arriere, avant), Union(caisse, tourelle)), Union(canon, debris));
    t.cerner(silhouette, kContour);
    t.modeler(arriere, kChenille);
    t.modeler(avant, kChenille);
    for (int i = 0; i < 2; ++i) Roue(t, kRouesX[i], kRouesY, kRoueRayon);
    Roue(t, 66.0, 73.5, kRoueRayon);
    Roue(t, 9.0, 70.0, 4.0);
    t.modeler(debris, kBrule);
    t.modeler(caisse, kBrule);
    t.modeler(canon, kChenille);
    t.modeler(tourelle, kBrule, 2);
    t.peindre(Inter(caisse, Ellipse(44.0, 58.0, 9.0, 3.0)), kSuie);
    t.peindre(Inter(tourelle, Ellipse(22.0, 52.0, 6.0, 3.0)), kSuie);
    t.peindre(Inter(caisse, Disque(44.0, 57.0, 1.6)), kBraise);
    return t;
}

}  // namespace fabrique
