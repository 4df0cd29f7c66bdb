// A cannon: its picture on the ground of its end, the barrel at the angle of its label, the
// muzzle where the shell starts, and a snapshot of its rectangle.
#include "battlefield/Bouche.h"
#include "platform/Gdi.h"
#include "window/Form1.h"

namespace tir {

namespace {

constexpr float kAxeY = 29;      // pivot, above the ground
constexpr int kCrayonCanon = 4;  // barrel and pivot dot
constexpr Teinte kPivotA = Teinte::RougeSombre;
constexpr Teinte kPivotB = Teinte::Noir;
constexpr Teinte kCouleurCanon = Teinte::Noir;  // both barrels

}  // namespace

// Draws cannon `index` (0 left, otherwise right, mirrored) on NiveauSol(index) into the kept
// image, its barrel at the angle of Angle(index). Sets AngleRad, XAxe, YAxe, XBouche, YBouche
// at index and the snapshot SMurax(index); leaves persistent drawing off, pen width 4.
void Form1::CalculeMurax(int index) {
    Dessin->SetAutoRedraw(true);
    // The picture's sky covers the rectangle whole, so the old barrel goes with it.
    if (index == 0) {
        Dessin->PaintPicture(Murax.Picture(), 0, Murax.ScaleHeight() + NiveauSol[0]);
    } else {
        Dessin->PaintPicture(Murax.Picture(), Largeur, Murax.ScaleHeight() + NiveauSol[1],
                             -Murax.ScaleWidth());
    }
    Dessin->SetDrawWidth(kCrayonCanon);
    AngleRad = EnRadians(Val(Angle[index]->Caption()));
    const QPointF bouche = Bouche(index, AngleRad, NiveauSol[index], Largeur);
    XBouche[index] = bouche.x();
    YBouche[index] = bouche.y();
    if (index == 0) {
        XAxe[index] = kAxeX;
        YAxe[index] = NiveauSol[index] + kAxeY;
        Dessin->PSet(XAxe[index], YAxe[index], QBColor(kPivotA));
    } else {
        XAxe[index] = Largeur - kAxeX;
        YAxe[index] = NiveauSol[index] + kAxeY;
        Dessin->PSet(XAxe[index], YAxe[index], QBColor(kPivotB));
    }
    Dessin->LineTo(XBouche[index], YBouche[index], QBColor(kCouleurCanon));
    Dessin->SetAutoRedraw(false);
    PrendsInstantane(index);
}

// Copies the cannon's rectangle, as the display now shows it, into SMurax(index).
void Form1::PrendsInstantane(int index) {
    const QRect r = RectCanon(index);
    // Persistent drawing is off: the display is what the field's hDC reaches now.
    BitBlt(SMurax[index].hDC(), 0, 0, r.width(), r.height(), Dessin->Affichage(), r.left(), r.top(),
           Rop::SrcCopy);
}

}  // namespace tir
