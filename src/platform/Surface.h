// The playing field's pictures: a kept image, a display, and logical coordinates.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <optional>

#include "platform/Nombres.h"

namespace tir {

// A surface's logical coordinate system: the top-left (x1, y1) and bottom-right (x2, y2) corners
// over `largeur` x `hauteur` device pixels. The rules read the field's colours through it, on
// the kept image alone, without the widget.
struct Repere {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int largeur = 0, hauteur = 0;

    QPointF VersPixels(double x, double y) const {
        return {(x - x1) * largeur / (x2 - x1), (y - y1) * hauteur / (y2 - y1)};
    }
    // The device pixel that holds a logical point.
    QPoint Pixel(double x, double y) const;
};

// The colour of `image` at a logical point of `repere`; kAucune outside the image.
Couleur CouleurAu(const QImage& image, const Repere& repere, double x, double y);

// A picture surface with persistent drawing, as the field model of the landscape describes it:
//
// - AutoRedraw on: Cls, Line, PSet, PaintPicture and everything done through hDC() act on the
//   kept image.
// - AutoRedraw off: they act on the display only; Refresh() shows the kept image again.
// - Switching AutoRedraw from on to off copies the kept image into the display; setting it off
//   when already off changes nothing.
// - Refresh() copies the kept image into the display (only what differs) and tells the screen.
//
// Logical coordinates come from Scale(); until then they are device pixels, y down. A logical
// point lies in the device pixel floor(X), floor(Y) of its mapped coordinates X, Y; that pixel is
// the one Point() reads and PSet() centres its dot on. PaintPicture() puts the picture's corner
// on the pixel boundary nearest to the mapped point (ties to even), so a picture drawn at
// (0, 80 + N) covers exactly the rows a block copy from row Arrondi(Hauteur - N - 80) takes.
class Surface {
  public:
    Surface(int largeur, int hauteur, Couleur fond);
    virtual ~Surface() = default;

    // Persistent drawing.
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool on);

    // Coordinate system through the top-left (x1, y1) and bottom-right (x2, y2) corners.
    void Scale(double x1, double y1, double x2, double y2);
    double ScaleWidth() const { return x2_ - x1_; }
    double ScaleHeight() const { return y2_ - y1_; }
    Repere Reperage() const { return {x1_, y1_, x2_, y2_, garde_.width(), garde_.height()}; }
    int LargeurPixels() const { return garde_.width(); }
    int HauteurPixels() const { return garde_.height(); }

    // Drawing settings that stay until changed.
    int DrawWidth() const { return drawWidth_; }
    void SetDrawWidth(int largeur) { drawWidth_ = largeur < 1 ? 1 : largeur; }
    int DrawMode() const { return 13; }
    void SetDrawMode(int mode);  // only 13 (the pen colour replaces the pixel) is used
    Couleur FillColor() const { return fillColor_; }
    void SetFillColor(Couleur c) { fillColor_ = c; }
    Couleur BackColor() const { return fond_; }
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }

    // Clears to the background colour; the drawing position goes to (0, 0).
    void Cls();
    // A line of the pen's width; the drawing position ends at (x2, y2).
    void Line(double x1, double y1, double x2, double y2, Couleur c);
    // A line from the drawing position.
    void LineTo(double x2, double y2, Couleur c);
    // A round dot as wide as the pen; the drawing position goes to (x, y).
    void PSet(double x, double y, Couleur c);
    // The whole picture at its own size, top-left corner at (x, y); a negative width mirrors it
    // left to right, extending leftwards from x.
    void PaintPicture(const QImage& picture, double x, double y,
                      std::optional<double> largeur = std::nullopt);
    // The colour at a logical point of the image drawing reaches now; kAucune outside.
    Couleur Point(double x, double y) const;
    // How many colours Point() has read: the benchmarks count the flight's tests with it.
    long LecturesCouleur() const { return lecturesCouleur_; }

    // Flood fill through hDC() at a device pixel with the fill colour (see tir::FloodFill).
    bool FloodFill(int colonne, int ligne, Couleur bord);

    // Device pixels of the image drawing reaches now (kept image when AutoRedraw is on, display
    // otherwise), for block copies. Marks it changed as a whole.
    QImage& hDC();

    // The display catches up with the kept image and the screen is told.
    void Refresh();

    const QImage& Garde() const { return garde_; }
    const QImage& Affichage() const { return affichage_; }

  protected:
    // Called when the display changed and the screen should show it at its next repaint.
    virtual void AffichageChange() {}
    // The display catches up with the kept image, without telling the screen.
    void Rattrape();
    // Display pixels changed since the screen last showed them: outside, the screen already
    // shows the display as it is.
    QRect EcranEnRetard() const { return ecranEnRetard_; }
    // The screen has just been shown the display over `peint` (pixels of the surface).
    void EcranAJour(const QRegion& peint);
    QPointF VersPixels(double x, double y) const;

  private:
    QImage& Cible();
    const QImage& Cible() const;
    void MarqueChange(const QRect& zone);  // a change of the image drawing reaches now

    QImage garde_;
    QImage affichage_;
    QRect gardeChange_;      // kept-image changes not yet in the display
    QRect affichageChange_;  // display drawing that Refresh must wipe
    QRect ecranEnRetard_;    // display changes the screen has not been shown yet
    bool autoRedraw_ = false;
    double x1_ = 0, y1_ = 0, x2_, y2_;
    int drawWidth_ = 1;
    Couleur fillColor_ = 0;
    Couleur fond_;
    double currentX_ = 0, currentY_ = 0;
    mutable long lecturesCouleur_ = 0;
};

}  // namespace tir
