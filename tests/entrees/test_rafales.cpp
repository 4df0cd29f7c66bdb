// Quick presses on the aiming bars, at rest and held during a shot, and a flood of input during
// a shot: each press counts once, exactly as on Qt's own scroll bar, whatever the moment.
#include <gtest/gtest.h>
#include <malloc.h>

#include <QElapsedTimer>
#include <optional>

#include "AuxAguets.h"
#include "window/BarreVisee.h"

namespace tir::test {
namespace {

void Molette(QWidget* w, QPoint crans, Qt::KeyboardModifiers m = Qt::NoModifier) {
    const QPointF p = QRectF(w->rect()).center();
    QWheelEvent e(p, w->mapToGlobal(p), {}, crans * QWheelEvent::DefaultDeltasPerStep, Qt::NoButton,
                  m, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

QPoint FlecheGauche(QScrollBar* b) {
    return {b->height() / 2, b->height() / 2};
}

constexpr int kAttenteMaxiMs = 5000;

// A gesture with its modifiers. A fine one is made with Shift on the game's bars, and without
// it on Qt's bar set to a step of 1.
struct Geste {
    std::function<void(QScrollBar*, Qt::KeyboardModifiers)> fais;
    bool fin = false;
};

const std::vector<Geste>& Gestes() {
    using M = Qt::KeyboardModifiers;
    static const std::vector<Geste> gestes{
        {[](QScrollBar* b, M) { Clique(b, FlecheDroite(b)); }},
        {[](QScrollBar* b, M) { DoubleClique(b, FlecheGauche(b)); }},
        {[](QScrollBar* b, M) { DoubleClique(b, FlecheDroite(b)); }},
        {[](QScrollBar* b, M) { Clique(b, FlecheGauche(b)); }},
        {[](QScrollBar* b, M) { QTest::keyClick(b, Qt::Key_Right); }},
        {[](QScrollBar* b, M) { QTest::keyClick(b, Qt::Key_PageUp); }},
        {[](QScrollBar* b, M) { QTest::keyClick(b, Qt::Key_Left); }},
        {[](QScrollBar* b, M) {
            Molette(b, {0, 2});
        }},
        {[](QScrollBar* b, M) {
            Molette(b, {-1, 0});
        }},
        {[](QScrollBar* b, M m) { QTest::keyClick(b, Qt::Key_Right, m); }, true},
        {[](QScrollBar* b, M m) {
             Molette(b, {0, -1}, m);
         },
         true},
        {[](QScrollBar* b, M m) { QTest::keyClick(b, Qt::Key_Left, m); }, true},
        {[](QScrollBar* b, M) { QTest::keyClick(b, Qt::Key_A); }},
        // The one a bar cannot fold: its effect depends on where the thumb is then.
        {[](QScrollBar* b, M) { Clique(b, PageDroite(b)); }},
    };
    return gestes;
}

void Fais(const Geste& g, QScrollBar* b) {
    g.fais(b, g.fin ? Qt::ShiftModifier : Qt::NoModifier);
}

// Qt's own scroll bar, set up as an aiming bar, after the same gestures from `depart`; a notch
// of its wheel scrolls one line, as a notch moves an aiming bar by one step.
int ValeurDUneBarreDeQt(const QScrollBar& modele, int depart) {
    QScrollBar b(Qt::Horizontal);
    b.setGeometry(modele.geometry());
    b.setRange(modele.minimum(), modele.maximum());
    b.setPageStep(modele.pageStep());
    b.setInvertedControls(false);
    b.setTracking(false);
    b.setValue(depart);
    const int lignes = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(1);
    for (const Geste& g : Gestes()) {
        b.setSingleStep(g.fin ? 1 : modele.singleStep());
        g.fais(&b, Qt::NoModifier);
    }
    QApplication::setWheelScrollLines(lignes);
    return b.value();
}

std::vector<QScrollBar*> Barres(Form1& f) {
    return {f.BHAngle[0], f.BHForce[0], f.BHAngle[1], f.BHForce[1]};
}

TEST(Rafales, QuickPressesOnEveryBarCountAsOnQtsOwnScrollBarAtRestAndAtEveryMomentOfAShot) {
    // Guards against the second click of a double click on an arrow lost, and against held
    // clicks that count otherwise than the same clicks at rest.
    const std::vector<std::optional<Moment>> moments{std::nullopt,         Moment::Vol,
                                                     Moment::Explosion,    Moment::Flammes,
                                                     Moment::Clignotement, Moment::Dialogue};
    for (const auto& moment : moments) {
        SaisieAuxAguets saisie;
        BancAuxAguets banc(&saisie);
        Form1& f = *banc.t.form;
        JoueJusquA(banc.t, 1);
        std::vector<int> attendu;
        for (QScrollBar* b : Barres(f)) attendu.push_back(ValeurDUneBarreDeQt(*b, b->value()));
        const auto gestes = [&] {
            for (QScrollBar* b : Barres(f)) {
                for (const Geste& g : Gestes()) Fais(g, b);
            }
        };
        if (moment) {
            Prevois(banc, saisie, *moment, gestes);
            saisie.reponses.push_back("Pilote");
            TireSansBoucle(banc.t);
            RejoueTout(f);
        } else {
            gestes();
        }
        const int m = moment ? static_cast<int>(*moment) : -1;
        for (std::size_t k = 0; k < attendu.size(); ++k) {
            EXPECT_EQ(Barres(f)[k]->value(), attendu[k]) << "bar " << k << ", moment " << m;
        }
    }
}

std::size_t TasOccupe() {
    return mallinfo2().uordblks;
}

// A stand-in for `b` on its own, out of any window: the values presses at rest give.
std::unique_ptr<BarreVisee> Temoin(const QScrollBar& b) {
    auto t = std::make_unique<BarreVisee>();
    t->setGeometry(b.geometry());
    t->setRange(b.minimum(), b.maximum());
    t->setSingleStep(b.singleStep());
    t->setPageStep(b.pageStep());
    t->setInvertedControls(false);
    t->setValue(b.value());
    return t;
}

// What is held after `flot` during the flight, and how long its replay holds the window.
struct Bilan {
    std::size_t octets = 0, pieces = 0;
    double total = 0, plusLongue = 0;  // milliseconds
};

Bilan FloteDansLeVol(BancAuxAguets& banc, const std::function<void()>& flot) {
    Bilan bilan;
    const auto* entrees = banc.t.form->findChild<Entrees*>();
    banc.horloge.plan[Moment::Vol] = [&] {
        const std::size_t avant = TasOccupe();
        flot();
        bilan.octets = TasOccupe() - std::min(avant, TasOccupe());
        bilan.pieces = entrees->Retenues();
    };
    TireSansBoucle(banc.t);
    QElapsedTimer rejeu;
    rejeu.start();
    while (entrees->Retenues() > 0 && rejeu.elapsed() < kAttenteMaxiMs) {
        QElapsedTimer tranche;
        tranche.start();
        QCoreApplication::processEvents();
        bilan.plusLongue = std::max(bilan.plusLongue, tranche.nsecsElapsed() / 1e6);
    }
    bilan.total = rejeu.nsecsElapsed() / 1e6;
    EXPECT_EQ(entrees->Retenues(), 0u);
    std::printf("%zu pieces held in %zu bytes; replayed in %.1f ms, at most %.1f ms at a time\n",
                bilan.pieces, bilan.octets, bilan.total, bilan.plusLongue);
    return bilan;
}

TEST(Rafales, AFloodOfFiftyThousandPressesDuringAShotIsHeldSmallAndCountsAsAtRest) {
    // Guards against a flood that holds memory without bound and freezes the window for
    // seconds once the shot ends, and against steps folded into a wrong value.
    constexpr int kAppuis = 50000;
    constexpr int kEntreDeuxClics = 250;  // a click on a sound button, or in a bar's trough
    BancAuxAguets banc;
    Form1& f = *banc.t.form;
    JoueJusquA(banc.t, kCoupsParPartie);
    std::vector<std::unique_ptr<BarreVisee>> temoins;
    for (QScrollBar* b : Barres(f)) temoins.push_back(Temoin(*b));
    const auto flot = [](const std::vector<QScrollBar*>& barres,
                         const std::function<void(int)>& son) {
        for (int i = 0; i < kAppuis; ++i) {
            QScrollBar* b = barres[static_cast<std::size_t>(i) % barres.size()];
            if (i % kEntreDeuxClics == 0) {
                Clique(b, PageDroite(b));
                son(i / kEntreDeuxClics % 2);
            } else {
                Fais(Gestes()[static_cast<std::size_t>(i) % (Gestes().size() - 1)], b);
            }
        }
    };
    flot({temoins[0].get(), temoins[1].get(), temoins[2].get(), temoins[3].get()}, [](int) {});
    const Bilan bilan =
        FloteDansLeVol(banc, [&] { flot(Barres(f), [&](int j) { Clique(f.Son[j]); }); });
    EXPECT_LT(bilan.octets, 1u << 20);
    for (std::size_t k = 0; k < temoins.size(); ++k) {
        EXPECT_EQ(Barres(f)[k]->value(), temoins[k]->value()) << "bar " << k;
    }
}

TEST(Rafales, AFloodOfFiftyThousandClicksOnAButtonDuringAShotIsCapped) {
    // Guards against held clicks that no folding can shorten growing without bound.
    BancAuxAguets banc;
    JoueJusquA(banc.t, kCoupsParPartie);
    const Bilan bilan = FloteDansLeVol(banc, [&] {
        for (int i = 0; i < 50000; ++i) Clique(banc.t.form->Son[i % 2]);
    });
    EXPECT_LT(bilan.octets, 1u << 20);
}

}  // namespace
}  // namespace tir::test
