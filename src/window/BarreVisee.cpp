// The aiming bar, and the steps of its value that the input model folds together.
#include "window/BarreVisee.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <algorithm>

namespace tir {

namespace {

// One notch of a mouse wheel, in Qt's eighths of a degree.
constexpr int kCran = QWheelEvent::DefaultDeltasPerStep;
// Far beyond any bar's range, where adding more changes nothing; keeps a flood's sum in range.
constexpr int kAjoutMaxi = 1 << 20;

}  // namespace

int Reglage::Applique(int valeur) const {
    return std::clamp(valeur + ajout, bas, haut);
}

// Keeping x + a within [b, h], then adding a2 and keeping within [b2, h2], is adding a + a2 and
// keeping within the first bounds moved by a2 and kept within the second ones.
Reglage Reglage::Puis(const Reglage& ensuite) const {
    const auto borne = [&ensuite](int v) {
        return std::clamp(v + ensuite.ajout, ensuite.bas, ensuite.haut);
    };
    return {std::clamp(ajout + ensuite.ajout, -kAjoutMaxi, kAjoutMaxi), borne(bas), borne(haut)};
}

BarreVisee::BarreVisee(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

std::optional<Reglage> BarreVisee::Effet(const QEvent& evenement) const {
    switch (evenement.type()) {
        case QEvent::KeyPress:
            return EffetTouche(static_cast<const QKeyEvent&>(evenement));
        case QEvent::Wheel:
            return EffetMolette(static_cast<const QWheelEvent&>(evenement));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return EffetClic(static_cast<const QMouseEvent&>(evenement));
        default:
            return std::nullopt;
    }
}

void BarreVisee::Applique(const Reglage& reglage) {
    setValue(reglage.Applique(value()));
}

// The keys of Qt's horizontal scroll bar, with controls not inverted (Right and Up give more),
// and Shift with an arrow key for the finest step.
std::optional<Reglage> BarreVisee::EffetTouche(const QKeyEvent& touche) const {
    const int fin = (touche.modifiers() & Qt::ShiftModifier) ? 1 : singleStep();
    switch (touche.key()) {
        case Qt::Key_Left:
            return Pas(-fin);
        case Qt::Key_Right:
            return Pas(fin);
        case Qt::Key_Up:
            return Pas(fin);
        case Qt::Key_Down:
            return Pas(-fin);
        case Qt::Key_PageUp:
            return Pas(pageStep());
        case Qt::Key_PageDown:
            return Pas(-pageStep());
        case Qt::Key_Home:
            return Reglage{0, minimum(), minimum()};
        case Qt::Key_End:
            return Reglage{0, maximum(), maximum()};
        default:
            return std::nullopt;
    }
}

// Whole notches only: a touchpad's parts of a notch add up in the bar (see wheelEvent), and
// Control turns the wheel into page steps, as Qt's scroll bar does.
std::optional<Reglage> BarreVisee::EffetMolette(const QWheelEvent& molette) const {
    const QPoint d = molette.angleDelta();
    const bool horizontale = std::abs(d.x()) > std::abs(d.y());
    // Qt's rule against a touchpad's diagonal strokes: the vertical wheel moves the bar only
    // when there is no horizontal movement with it.
    if ((!horizontale && d.x() != 0) || (molette.modifiers() & Qt::ControlModifier)) {
        return std::nullopt;
    }
    const int delta = (horizontale ? d.x() : d.y()) * (molette.inverted() ? -1 : 1);
    if (delta == 0 || delta % kCran != 0) return std::nullopt;
    return Pas(delta / kCran * PasDuCran(molette.modifiers()));
}

std::optional<Reglage> BarreVisee::EffetClic(const QMouseEvent& clic) const {
    if (clic.button() != Qt::LeftButton || clic.buttons() != Qt::LeftButton ||
        clic.modifiers() != Qt::NoModifier) {
        return std::nullopt;
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QStyle::SubControl partie = style()->hitTestComplexControl(
        QStyle::CC_ScrollBar, &option, clic.position().toPoint(), this);
    if (partie == QStyle::SC_ScrollBarAddLine) return Pas(singleStep());
    if (partie == QStyle::SC_ScrollBarSubLine) return Pas(-singleStep());
    return std::nullopt;
}

int BarreVisee::PasDuCran(Qt::KeyboardModifiers modificateurs) const {
    return (modificateurs & Qt::ShiftModifier) ? 1 : singleStep();
}

void BarreVisee::keyPressEvent(QKeyEvent* event) {
    if (const auto reglage = EffetTouche(*event)) {
        Applique(*reglage);
        event->accept();
        return;
    }
    QScrollBar::keyPressEvent(event);
}

// A notch moves the bar by one small step (by 1 with Shift), however many lines the desktop
// scrolls a notch. A touchpad's strokes count in parts of a notch, kept until they make one.
void BarreVisee::wheelEvent(QWheelEvent* event) {
    if (const auto reglage = EffetMolette(*event)) {
        Applique(*reglage);
        event->accept();
        return;
    }
    const QPoint d = event->angleDelta();
    const bool horizontale = std::abs(d.x()) > std::abs(d.y());
    if ((event->modifiers() & Qt::ControlModifier) || (!horizontale && d.x() != 0)) {
        QScrollBar::wheelEvent(event);
        return;
    }
    const int delta = (horizontale ? d.x() : d.y()) * (event->inverted() ? -1 : 1);
    if ((delta > 0) != (resteMolette_ > 0)) resteMolette_ = 0;
    resteMolette_ += delta;
    const int crans = resteMolette_ / kCran;
    resteMolette_ -= crans * kCran;
    if (crans != 0) Applique(Pas(crans * PasDuCran(event->modifiers())));
    event->accept();
}

}  // namespace tir
