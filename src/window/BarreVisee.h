// The aiming bar: a horizontal scroll bar whose steps the input model can fold together.
#pragma once

#include <QScrollBar>
#include <optional>

class QEvent;

namespace tir {

// What a piece of input does to a bar's value: adds `ajout`, then keeps the value within
// [`bas`, `haut`]. Two in a row make one of the same form, so that any run of steps on a bar
// comes down to one, with exactly the value the steps one by one would give.
struct Reglage {
    int ajout = 0;
    int bas = 0;
    int haut = 0;
    int Applique(int valeur) const;
    // This one, then `ensuite`.
    Reglage Puis(const Reglage& ensuite) const;
};

// A horizontal aiming bar. One notch of the wheel moves it by its small step, as an arrow does,
// and Shift with the wheel or with Left and Right by 1; a double click on an arrow is two
// clicks, as Qt's own scroll bar takes it.
class BarreVisee : public QScrollBar {
    Q_OBJECT
  public:
    explicit BarreVisee(QWidget* parent = nullptr);

    // What `evenement` does to the value when it does nothing else: an arrow key, Page Up or
    // Down, Home or End, whole notches of the wheel, a plain left press on an arrow. Nothing
    // for any other input, which the bar takes as Qt's scroll bar does.
    std::optional<Reglage> Effet(const QEvent& evenement) const;
    void Applique(const Reglage& reglage);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    std::optional<Reglage> EffetTouche(const QKeyEvent& touche) const;
    std::optional<Reglage> EffetMolette(const QWheelEvent& molette) const;
    std::optional<Reglage> EffetClic(const QMouseEvent& clic) const;
    Reglage Pas(int ajout) const { return {ajout, minimum(), maximum()}; }
    int PasDuCran(Qt::KeyboardModifiers modificateurs) const;

    int resteMolette_ = 0;  // the part of a notch a touchpad has scrolled so far
};

}  // namespace tir
