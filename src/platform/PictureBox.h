// The field as a widget: a Surface with a sunken 2-pixel border, shown on the screen.
#pragma once

#include <QFrame>
#include <array>
#include <optional>

#include "platform/Surface.h"

class QPainter;

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

    // Clears the field, as Surface::Cls, and takes the traces away: they belong to a field.
    void Cls();
    // The trace of `joueur` (0 or 1): a small cross in `couleur` centred on the logical point
    // (x, y), in place of his previous one. Drawn on the screen only, over the field: never in
    // the kept image nor in the display, whose colours the flight tests.
    void PoseTrace(int joueur, double x, double y, Couleur couleur);
    // How many times the field has been cleared: a shot that drew a new field left no trace.
    int Champs() const { return champs_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void AffichageChange() override;

  private:
    struct Trace {
        QPoint pixel;
        Couleur couleur = 0;
    };
    QRect RectTrace(const Trace& trace) const;  // in the widget's own coordinates
    void DessineTraces(QPainter& p, const QRect& zone) const;

    bool montreAffichage_ = false;
    std::array<std::optional<Trace>, 2> traces_;
    int champs_ = 0;
};

}  // namespace tir
