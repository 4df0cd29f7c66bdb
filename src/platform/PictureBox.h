// The field as a widget: a Surface with a sunken 2-pixel border, shown on the screen.
#pragma once

#include <QFrame>

#include "platform/Surface.h"

namespace tir {

// The screen shows the display only when asked: Montre() puts it there at once, and a repaint
// the window system asks for by itself shows the kept image (the display catches up first), as
// the field model requires. Under a whole screen scale factor the pixels are enlarged, never
// smoothed; under a fractional one they are enlarged sharp, all of one width.
class PictureBox : public QFrame, public Surface {
    Q_OBJECT
  public:
    // `largeur` x `hauteur` is the inner area; the widget is 4 pixels larger each way.
    PictureBox(int largeur, int hauteur, Couleur fond, QWidget* parent = nullptr);

    // Puts the display on the screen now, without returning to the event loop.
    void Montre();
    // Seconds between two screen refreshes of the screen the field is on (1/60 when unknown).
    double IntervalleImage() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void AffichageChange() override;

  private:
    bool montreAffichage_ = false;
};

}  // namespace tir
