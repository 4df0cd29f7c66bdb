// The input model (summed up in Form1.h): input for the game window that comes while a handler
// runs is taken by the application's event filter, kept with its target and whether that target
// could take it then, and replayed in order once the last handler has ended.
#include "window/Entrees.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QWheelEvent>
#include <QWindow>
#include <utility>

#include "window/Form1.h"

namespace tir {

namespace {

// What a control can take: the enabled and visible one, as Qt delivers input.
bool PeutPrendre(const QWidget* controle) {
    return controle->isEnabled() && controle->isVisible();
}

bool DeplaceLeFocus(const QKeyEvent& touche) {
    return touche.key() == Qt::Key_Tab || touche.key() == Qt::Key_Backtab;
}

bool EstUnRelachement(const QEvent& evenement) {
    return evenement.type() == QEvent::MouseButtonRelease || evenement.type() == QEvent::KeyRelease;
}

// What is held besides the steps of the bars, which fold into one piece per bar. A hand makes
// some ten presses a second, twenty-five with a key's own repeat, and the longest handler (the
// last hit: flames, points, the winner's flash) lasts under ten seconds: four times what a hand
// can make meanwhile. What a machine sends beyond it is dropped, press and release together.
constexpr std::size_t kRetenuesMaxi = 1000;
// A replay hands this many pieces on at least, then stops once a screen refresh has passed, and
// goes on from the event loop: the window repaints and a stop signal is heard in between.
constexpr int kPiecesParTranche = 10;

}  // namespace

Entrees::Entrees(Form1& form) : QObject(&form), form_(form) {
    qApp->installEventFilter(this);
}

Entrees::~Entrees() {
    qApp->removeEventFilter(this);
}

void Entrees::Commence() {
    if (enCours_++ == 0) focusDeplace_ = false;
}

void Entrees::Termine() {
    if (--enCours_ > 0) return;
    RelacheLesBoutons();
    if (fermeture_) {
        fermeture_ = false;
        // The window goes: the held input has nothing left to act on.
        retenues_.clear();
        brutes_ = 0;
        QMetaObject::invokeMethod(
            &form_, [f = &form_] { f->close(); }, Qt::QueuedConnection);
        return;
    }
    // From the event loop, once the handler's own callers have returned. The call also wakes
    // the dispatcher for input that came after the last wait.
    PrevoisRejeu();
}

// One replay waits in the event loop at a time: a replayed click that runs a handler asks for
// another, and several in one pass of the loop would hold the window for as many slices.
void Entrees::PrevoisRejeu() {
    if (std::exchange(rejeuPrevu_, true)) return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            rejeuPrevu_ = false;
            Rejoue();
        },
        Qt::QueuedConnection);
}

// A button whose press was held and that is still down: Qt never saw the press, so it would
// give the release to whatever lies under the pointer then, and the control that gets the press
// would stay pressed (a bar's arrow repeating for ever). Its release is held with it: the press
// counts as a click. A key still down needs nothing: its repeats were held.
void Entrees::RelacheLesBoutons() {
    for (const auto& [bouton, appui] : boutons_) {
        if (!appui.garde || !appui.cible) continue;
        Garde(appui.cible,
              QMouseEvent(QEvent::MouseButtonRelease, appui.ici, appui.ecran,
                          static_cast<Qt::MouseButton>(bouton), Qt::NoButton, Qt::NoModifier));
    }
    boutons_.clear();
    touches_.clear();
}

void Entrees::Retiens(QWidget* controle, std::function<void()> action) {
    if (brutes_ >= kRetenuesMaxi) return;
    ++brutes_;
    Retenue r;
    r.cible = controle;
    r.pouvait = PeutPrendre(controle) && !EstUnFeu(controle);
    r.action = std::move(action);
    retenues_.push_back(std::move(r));
}

// Input is held while a handler runs, and also while held input waits for its turn, so that
// what comes meanwhile follows it.
bool Entrees::eventFilter(QObject* objet, QEvent* evenement) {
    if (enCours_ == 0 && (rejoue_ || retenues_.empty())) return false;
    if (objet == form_.windowHandle()) return FiltreSouris(evenement);
    if (!objet->isWidgetType()) return false;
    auto* cible = static_cast<QWidget*>(objet);
    // The record dialog, a window of its own, takes its input as usual.
    if (cible->window() != &form_) return false;
    return Filtre(cible, *evenement);
}

// The window system's mouse input, taken before Qt picks its control: during a handler started
// by a click Qt would hand every press to the button of that click, still held as pressed. The
// control is the one under the pointer; it takes the focus at once, as Qt would give it.
bool Entrees::FiltreSouris(QEvent* evenement) {
    const QEvent::Type type = evenement->type();
    if (type == QEvent::MouseMove) return FiltreGlisse(static_cast<const QMouseEvent&>(*evenement));
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease && type != QEvent::Wheel) {
        return false;
    }
    const auto& pointeur = static_cast<const QSinglePointEvent&>(*evenement);
    // The second press of a double click: Qt hands the control only the double click that
    // follows it, which the control takes as a press.
    if (type == QEvent::MouseButtonPress &&
        static_cast<const QMouseEvent&>(pointeur).flags().testFlag(
            Qt::MouseEventCreatedDoubleClick)) {
        return true;
    }
    const QPointF ecran = pointeur.globalPosition();
    QWidget* cible = form_.childAt(form_.mapFromGlobal(ecran).toPoint());
    if (!cible) cible = &form_;
    if (type == QEvent::MouseButtonRelease) {
        const auto b = boutons_.find(pointeur.button());
        if (b == boutons_.end()) return false;
        if (b->second.cible) cible = b->second.cible;
    } else if (type == QEvent::MouseButtonPress && !EstUnFeu(cible)) {
        DonneLeFocus(cible);
    }
    const QPointF ici = cible->mapFromGlobal(ecran);
    if (type == QEvent::Wheel) {
        const auto& m = static_cast<const QWheelEvent&>(pointeur);
        return Filtre(cible, QWheelEvent(ici, ecran, m.pixelDelta(), m.angleDelta(), m.buttons(),
                                         m.modifiers(), m.phase(), m.inverted(), m.source()));
    }
    const auto& m = static_cast<const QMouseEvent&>(pointeur);
    return Filtre(cible, QMouseEvent(type, ici, ecran, m.button(), m.buttons(), m.modifiers(),
                                     m.pointingDevice()));
}

// Returns whether the event is taken from Qt (held or dropped). A press on a fire button is
// dropped, with its release: a shot is fired only by a press made between shots. The focus
// moves at once, by Tab or by a click, so that the keys that follow go where the player sees
// the focus.
bool Entrees::Filtre(QWidget* cible, const QEvent& evenement) {
    switch (evenement.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            if (EstUnFeu(cible)) {
                boutons_[static_cast<const QMouseEvent&>(evenement).button()] = {
                    cible, false, {}, {}};
                return true;
            }
            DonneLeFocus(cible);
            const bool garde = Garde(cible, evenement);
            const auto& souris = static_cast<const QMouseEvent&>(evenement);
            boutons_[souris.button()] = {cible, garde, souris.position(), souris.globalPosition()};
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const auto b = boutons_.find(static_cast<const QMouseEvent&>(evenement).button());
            if (b == boutons_.end()) return false;
            if (b->second.garde) Garde(cible, evenement);
            boutons_.erase(b);
            return true;
        }
        case QEvent::KeyPress: {
            const auto& touche = static_cast<const QKeyEvent&>(evenement);
            if (DeplaceLeFocus(touche)) {
                focusDeplace_ = true;
                return false;
            }
            touches_[touche.key()] = !EstUnFeu(cible) && Garde(cible, evenement);
            return true;
        }
        case QEvent::KeyRelease: {
            const auto t = touches_.find(static_cast<const QKeyEvent&>(evenement).key());
            if (t == touches_.end()) return false;
            if (t->second) Garde(cible, evenement);
            touches_.erase(t);
            return true;
        }
        case QEvent::Wheel:
            Garde(cible, evenement);
            return true;
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

// A move of the pointer while a button whose press was held is down: a drag, held for the
// control of that press as Qt would send it there, so that a bar's thumb follows it.
bool Entrees::FiltreGlisse(const QMouseEvent& mouvement) {
    for (auto& [bouton, appui] : boutons_) {
        if (!appui.garde || !appui.cible) continue;
        appui.ecran = mouvement.globalPosition();
        appui.ici = appui.cible->mapFromGlobal(appui.ecran);
        Garde(appui.cible, QMouseEvent(QEvent::MouseMove, appui.ici, appui.ecran, Qt::NoButton,
                                       mouvement.buttons(), mouvement.modifiers()));
        return true;
    }
    return false;
}

// The first control from `cible` outwards that takes the focus from a click, as Qt chooses it.
void Entrees::DonneLeFocus(QWidget* cible) {
    for (QWidget* w = cible; w && w != &form_; w = w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus) {
            focusDeplace_ = true;
            w->setFocus(Qt::MouseFocusReason);
            return;
        }
    }
}

bool Entrees::EstUnFeu(const QWidget* controle) const {
    return controle == form_.Feu[0] || controle == form_.Feu[1];
}

// Holds `evenement` for `cible`; returns whether it was kept as it came, so that its release
// is to follow it. Input that counts for nothing is not kept: aimed at a control that cannot
// take it, a key a bar does not take, the wheel off the bars. A step of a bar folds into the
// bar's piece; the press it came from then needs no release.
bool Entrees::Garde(QWidget* cible, const QEvent& evenement) {
    if (!PeutPrendre(cible)) return false;
    auto* barre = qobject_cast<BarreVisee*>(cible);
    if (barre) {
        if (const auto reglage = barre->Effet(evenement)) {
            Replie(barre, *reglage);
            return false;
        }
        // The bar takes no other key, and no key's release.
        if (evenement.type() == QEvent::KeyPress || evenement.type() == QEvent::KeyRelease) {
            return false;
        }
    } else if (evenement.type() == QEvent::Wheel) {
        return false;
    }
    if (brutes_ >= kRetenuesMaxi && !EstUnRelachement(evenement)) return false;
    ++brutes_;
    Retenue r;
    r.cible = cible;
    r.pouvait = true;
    r.evenement.reset(evenement.clone());
    retenues_.push_back(std::move(r));
    return true;
}

// Steps of the bars that follow one another commute between bars (each bar's handler touches
// its own player's aim), so the step joins the piece of its bar among the last steps held.
void Entrees::Replie(BarreVisee* barre, const Reglage& reglage) {
    for (auto r = retenues_.rbegin(); r != retenues_.rend() && r->reglage; ++r) {
        if (r->cible == barre) {
            r->reglage = r->reglage->Puis(reglage);
            return;
        }
    }
    Retenue r;
    r.cible = barre;
    r.pouvait = true;
    r.reglage = reglage;
    retenues_.push_back(std::move(r));
}

// In the order it was made; each piece sees the window as the pieces before it left it. One
// that starts a handler holds what comes during it behind the pieces still waiting.
void Entrees::Rejoue() {
    QElapsedTimer tranche;
    tranche.start();
    const auto image = static_cast<qint64>(form_.Dessin->IntervalleImage() * 1e9);
    for (int n = 0; enCours_ == 0; ++n) {
        if (retenues_.empty()) RelacheLesBoutons();
        if (retenues_.empty()) return;
        if (n >= kPiecesParTranche && tranche.nsecsElapsed() >= image) {
            PrevoisRejeu();
            return;
        }
        const Retenue r = std::move(retenues_.front());
        retenues_.pop_front();
        if (!r.reglage) --brutes_;
        if (r.pouvait && r.cible && PeutPrendre(r.cible)) Livre(r);
    }
}

void Entrees::Livre(const Retenue& retenue) {
    const QScopedValueRollback<bool> enRejeu(rejoue_, true);
    if (retenue.action) {
        form_.QuandClic(retenue.cible, retenue.action);
    } else if (retenue.reglage) {
        static_cast<BarreVisee*>(retenue.cible.data())->Applique(*retenue.reglage);
    } else {
        QApplication::sendEvent(retenue.cible, retenue.evenement.get());
    }
}

}  // namespace tir
