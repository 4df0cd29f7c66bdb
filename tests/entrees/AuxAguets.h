// The window on fake time that watches the moments of a shot, and input as the mouse, the
// keyboard and the wheel make it: shared by the input model's tests.
#pragma once

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <functional>
#include <map>
#include <set>

#include "Partie.h"

namespace tir::test {

// The moments of a shot, told apart by the sound that opens each of them; the record dialog
// comes last.
enum class Moment { Vol, Explosion, Flammes, Clignotement, Aucun, Dialogue };

inline Moment MomentDuSon(const QString& son) {
    if (son.endsWith("Trnmurax.wav") || son.endsWith("Photon.wav")) return Moment::Vol;
    if (son.endsWith("Explosion")) return Moment::Explosion;
    if (son.endsWith("Flammes.wav")) return Moment::Flammes;
    if (son.endsWith("YouWin.wav")) return Moment::Clignotement;
    return Moment::Aucun;
}

// Fake time that, like the real clock, lets the window system's events through at every wait;
// at the first wait of each moment it runs what the test planned for it.
class HorlogeAuxAguets : public FausseHorloge {
  public:
    explicit HorlogeAuxAguets(const FauxLecteur& l) : lecteur(l) {}
    const FauxLecteur& lecteur;  // the moment is told by the last sound played
    std::map<Moment, std::function<void()>> plan;
    std::set<Moment> vus;

    void AttendsJusqua(double echeance) override {
        FausseHorloge::AttendsJusqua(echeance);
        Respire();
    }
    // The flight only breathes between its passes; the animations wait between frames.
    void Respire() override {
        QCoreApplication::processEvents();
        Guette();
    }
    void Guette() {
        const Moment m =
            lecteur.joues.isEmpty() ? Moment::Aucun : MomentDuSon(lecteur.joues.last());
        if (plan.count(m) && vus.insert(m).second) plan[m]();
    }
};

// The window on watched fake time; the clock tells the moments by this player, made first.
struct BancAuxAguets {
    FauxLecteur lecteur;
    HorlogeAuxAguets horloge{lecteur};
    BancDeTir t;
    explicit BancAuxAguets(Saisie* saisie = nullptr)
        : t({.horloge = &horloge, .lecteur = &lecteur, .saisie = saisie}) {
        t.Montre();
    }
};

// A scripted game up to its last hit but `reste`, played by the buttons.
inline void JoueJusquA(BancDeTir& t, int reste) {
    PrepareDixTouches(t);
    while (t.form->NbCoups > reste) t.Tire();
}

// Fires without running the event loop afterwards: what the shot left queued stays for the
// test to watch.
inline void TireSansBoucle(BancDeTir& t) {
    QTest::mouseClick(t.form->Feu[t.form->Joueur], Qt::LeftButton);
}

// ---- The input model on fake time, in this process ----

// The record dialog answered by script, once it has run what the test planned for it.
class SaisieAuxAguets : public FausseSaisie {
  public:
    std::function<void()> pendant;
    QString InputBox(const QString& t, const QString& i, const QString& d) override {
        if (pendant) pendant();
        return FausseSaisie::InputBox(t, i, d);
    }
};

inline void Prevois(BancAuxAguets& banc, SaisieAuxAguets& saisie, Moment moment,
                    std::function<void()> geste) {
    if (moment == Moment::Dialogue) {
        saisie.pendant = std::move(geste);
    } else {
        banc.horloge.plan[moment] = std::move(geste);
    }
}

// Input as the mouse and the keyboard make it, delivered to the control under the pointer or
// with the focus.
inline void Clique(QWidget* w, QPoint ou = {}) {
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, ou);
}

// A double click as Qt hands it to a control: the second press comes as the double click.
inline void DoubleClique(QWidget* w, QPoint ou = {}) {
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, ou);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, ou);
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, ou);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, ou);
}

inline void UnCranDeMolette(QWidget* w) {
    const QPointF p = QRectF(w->rect()).center();
    QWheelEvent cran(p, w->mapToGlobal(p), {}, {0, QWheelEvent::DefaultDeltasPerStep}, Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &cran);
}

inline QPoint FlecheDroite(QScrollBar* b) {
    return {b->width() - b->height() / 2, b->height() / 2};
}

// Right of the thumb, left of the arrow: a page to the right.
inline QPoint PageDroite(QScrollBar* b) {
    return {b->width() - b->height() * 3 / 2, b->height() / 2};
}

// Lets the event loop run until the input held during a shot has all been replayed, a screen
// refresh at a time.
inline void RejoueTout(Form1& f) {
    const auto* entrees = f.findChild<Entrees*>();
    do {
        QCoreApplication::processEvents();
    } while (entrees->Retenues() > 0);
}

}  // namespace tir::test
