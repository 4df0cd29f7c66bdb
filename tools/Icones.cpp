// The sound buttons and the window icon, in the colours of the classic 16-colour palette only.
#include "Dessins.h"

namespace fabrique {

namespace {

constexpr QRgb kGrisClair = 0xC0C0C0;
constexpr QRgb kGrisFonce = 0x808080;
constexpr QRgb kBleuFonce = 0x000080;
constexpr QRgb kBleu = 0x0000FF;
constexpr QRgb kRouge = 0xFF0000;
constexpr QRgb kJaune = 0xFFFF00;
constexpr QRgb kVert = 0x00FF00;
constexpr QRgb kVertFonce = 0x008000;

// The loudspeaker: a magnet box and a cone opening to the right.
void HautParleur(Toile& t) {
    const Forme boite = Rectangle(4, 12, 11, 21);
    const Forme cone = Polygone({{10, 12}, {19, 4}, {19, 29}, {10, 21}});
    t.cerner(Union(boite, cone), kNoir);
    t.modeler(boite, {kBlanc, kGrisFonce, kNoir});
    t.modeler(cone, {kBleu, kBleuFonce, kNoir});
}

// Two eighth notes joined by a beam.
void Notes(Toile& t) {
    const Forme tetes = Union(Tourne(Ellipse(22.5, 25.0, 2.6, 1.8), {22.5, 25}, -20),
                              Tourne(Ellipse(28.0, 22.0, 2.6, 1.8), {28, 22}, -20));
    const Forme hampes = Union(Rectangle(24, 12, 25, 25), Rectangle(29.5, 9, 30.5, 22));
    const Forme barre = Polygone({{24, 11}, {30.5, 8}, {30.5, 10.5}, {24, 13.5}});
    t.peindre(Union(Union(tetes, hampes), barre), kNoir);
}

// The tank of the icon in a 32-pixel design, scaled to the icon's size.
Forme IconeChenille() {
    return Trait({7.5, 25.5}, {25.5, 25.5}, 7.0);
}
Forme IconeCaisse() {
    return Polygone({{3, 23}, {5.5, 18.5}, {25, 18.5}, {30, 22}, {29, 23}});
}
Forme IconeTourelle() {
    return Inter(Ellipse(14.5, 19.0, 7.5, 5.5), Rectangle(0, 0, 32, 19));
}
Forme IconeCanon() {
    return Trait({16.0, 15.5}, {27.5, 4.5}, 2.6);
}

Forme IconeTrappe() {
    return Inter(Ellipse(11.5, 14.8, 2.2, 1.4), Rectangle(0, 0, 32, 15));
}

// Links on the track's upper and lower runs, for the sizes where they can be seen.
void IconeMaillons(Toile& t, double e) {
    const Forme chenille = Agrandit(IconeChenille(), e);
    const int pas = static_cast<int>(e);
    for (int y = 0; y < t.hauteur(); ++y) {
        for (int x = 0; x < t.largeur(); ++x) {
            const double cx = x + 0.5;
            const double cy = y + 0.5;
            const bool rive = chenille(cx, cy) && (!chenille(cx, cy - e) || !chenille(cx, cy + e));
            if (rive && (x / pas) % 2 == 0) t.point(x, y, kGrisClair);
        }
    }
}

void IconeRoues(Toile& t, double e) {
    for (double x = 8.0; x <= 25.0; x += 4.25) {
        t.peindre(Agrandit(Disque(x, 25.5, 1.9), e), kGrisClair);
        if (e >= 2) t.peindre(Agrandit(Disque(x, 25.5, 0.7), e), kNoir);
    }
}

}  // namespace

Toile DessineSonActif() {
    Toile t(kBoutonCote, kBoutonCote, kGrisClair);
    HautParleur(t);
    Notes(t);
    return t;
}

Toile DessineSonCoupe() {
    Toile t(kBoutonCote, kBoutonCote, kGrisClair);
    HautParleur(t);
    // A red cross edged in yellow, thin enough to leave the loudspeaker recognisable.
    const Forme croix = Union(Trait({5, 5}, {27, 27}, 3.2), Trait({27, 5}, {5, 27}, 3.2));
    t.cerner(croix, kJaune);
    t.peindre(croix, kRouge);
    return t;
}

Toile DessineIcone(int cote) {
    const double e = cote / static_cast<double>(kBoutonCote);
    const int relief = e >= 2 ? static_cast<int>(e / 2) : 1;
    // The window's 32-pixel icon is on black; the launcher's larger ones on the desktop's own
    // background.
    Toile t = cote == kBoutonCote ? Toile(cote, cote, kNoir) : Toile::Transparente(cote, cote);
    t.modeler(Agrandit(IconeCanon(), e), {kBlanc, kGrisClair, kGrisFonce}, relief);
    t.modeler(Agrandit(IconeChenille(), e), {kGrisClair, kGrisFonce, kGrisFonce}, relief);
    if (e >= 2) IconeMaillons(t, e);
    IconeRoues(t, e);
    t.modeler(Agrandit(IconeCaisse(), e), {kVert, kVertFonce, kVertFonce}, relief);
    t.modeler(Agrandit(IconeTourelle(), e), {kVert, kVertFonce, kVertFonce}, relief);
    if (e >= 2) t.modeler(Agrandit(IconeTrappe(), e), {kVert, kVertFonce, kVertFonce}, relief);
    return t;
}

}  // namespace fabrique
