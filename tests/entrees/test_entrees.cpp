// The input model: input at the worst moments of a shot. Clicks, keys and wheel notches made
// while the shell flies, the explosion grows, the cannon burns, the winner flashes or the record
// dialog waits are handled after the shot, in order, and a press on a fire button never fires
// afterwards. Some clicks go through a real X server (Xvfb and xdotool). A close asked at any of
// these moments ends the game cleanly after it.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "AuxAguets.h"
#include "Partie.h"
#include "ProfilInvariants.h"
#include "platform/Arret.h"
#include "platform/ServicesReels.h"

namespace tir::test {
namespace {

constexpr int kAttenteMaxiMs = 5000;
// Long enough for the X server's events to reach the game's queue while a shot is running.
constexpr int kLaisseArriverMs = 40;

// Every new value of the four aiming bars, noted as "angle 0", "force 1"...
void NoteLesBarres(Form1& f, const std::function<void(const QString&)>& note) {
    for (const int j : {0, 1}) {
        QObject::connect(f.BHAngle[j], &QScrollBar::valueChanged,
                         [note, j] { note(QString("angle %1").arg(j)); });
        QObject::connect(f.BHForce[j], &QScrollBar::valueChanged,
                         [note, j] { note(QString("force %1").arg(j)); });
    }
}

qsizetype Lancements(const FauxLecteur& l) {
    return l.joues.filter("Trnmurax").size() + l.joues.filter("Photon").size();
}

TEST(ModeleDEntrees, APressOnAFireButtonDuringAShotNeverFiresAfterItForEitherPlayer) {
    // Guards against a shell that leaves by itself, unaimed, on the next field: a press on the
    // greyed button of the player whose turn comes, or on the shooter's own button, held until
    // the shot ends and then taken by a button enabled by then.
    using Appui = std::function<void(Form1&, int)>;
    const std::vector<std::pair<const char*, Appui>> appuis{
        {"clic sur le bouton grisé", [](Form1& f, int t) { Clique(f.Feu[1 - t]); }},
        {"double clic sur le bouton grisé", [](Form1& f, int t) { DoubleClique(f.Feu[1 - t]); }},
        {"clic sur le bouton du tireur", [](Form1& f, int t) { Clique(f.Feu[t]); }},
        {"Entrée", [](Form1& f, int t) { QTest::keyClick(f.Feu[t], Qt::Key_Return); }},
        {"Espace", [](Form1& f, int t) { QTest::keyClick(f.Feu[t], Qt::Key_Space); }},
        {"lecteur d'écran", [](Form1& f, int t) { f.Feu[t]->click(); }}};
    for (const int tireur : {0, 1}) {
        for (const Moment moment : {Moment::Vol, Moment::Explosion, Moment::Flammes}) {
            for (const auto& [nom, appui] : appuis) {
                BancAuxAguets banc;
                Form1& f = *banc.t.form;
                JoueJusquA(banc.t, kCoupsParPartie - tireur);
                ASSERT_EQ(f.Joueur, tireur);
                banc.horloge.plan[moment] = [&, a = appui] { a(f, tireur); };
                const qsizetype avant = Lancements(banc.lecteur);
                TireSansBoucle(banc.t);
                QCoreApplication::processEvents();
                const std::string cas = std::string(nom) + ", joueur " + std::to_string(tireur) +
                                        ", moment " + std::to_string(static_cast<int>(moment));
                EXPECT_EQ(banc.horloge.vus.count(moment), 1u) << cas;
                EXPECT_EQ(Lancements(banc.lecteur), avant + 1) << cas;
                EXPECT_EQ(f.Joueur, 1 - tireur) << cas;
            }
        }
    }
}

TEST(ModeleDEntrees, InputOnEveryKindOfControlDuringEachMomentIsHandledAfterTheShotInOrder) {
    // Guards against input handled in the middle of an animation (an aim changed under the
    // flying shell), lost because the shot ends in the record dialog, or handled out of order.
    for (const Moment moment : {Moment::Vol, Moment::Explosion, Moment::Flammes,
                                Moment::Clignotement, Moment::Dialogue}) {
        SaisieAuxAguets saisie;
        BancAuxAguets banc(&saisie);
        Form1& f = *banc.t.form;
        JoueJusquA(banc.t, 1);
        QStringList journal;
        bool enCoup = false;
        auto note = [&](const QString& quoi) { journal << (enCoup ? "pendant " : "") + quoi; };
        NoteLesBarres(f, note);
        for (const int j : {0, 1}) {
            QObject::connect(f.Son[j], &RubanBouton::Click,
                             [&, j] { note(QString("son %1").arg(j)); });
        }
        Prevois(banc, saisie, moment, [&] {
            Clique(f.Son[1]);
            Clique(f.BHForce[0], FlecheDroite(f.BHForce[0]));
            UnCranDeMolette(f.BHAngle[1]);
            QTest::keyClick(f.BHAngle[0], Qt::Key_End);
            Clique(f.Son[0]);
            QTest::keyClick(f.BHAngle[0], Qt::Key_Left);
        });
        saisie.reponses.push_back("Pilote");
        enCoup = true;
        TireSansBoucle(banc.t);
        enCoup = false;
        EXPECT_TRUE(banc.t.Finie());
        EXPECT_EQ(saisie.appels.size(), 1u);
        QCoreApplication::processEvents();
        const int m = static_cast<int>(moment);
        EXPECT_EQ(journal.join(", ").toStdString(),
                  "son 1, force 0, angle 1, angle 0, son 0, angle 0")
            << m;
        EXPECT_TRUE(f.SonActif) << m;
        EXPECT_EQ(f.Force[0]->Caption().toInt(), kForceAuBut + 5) << m;
        EXPECT_EQ(f.Angle[0]->Caption(), "84") << m;
        EXPECT_EQ(std::abs(f.Angle[1]->Caption().toInt() - kAngleAuBut), 5) << m << " one notch";
    }
}

TEST(ModeleDEntrees, ADoubleClickIsTwoClicksOnABarsArrowAndOneWindOnTheWindValue) {
    // Guards against two winds for one double click, or a bar's arrow that takes one step
    // for it (the second press reaches the control as the double click alone).
    for (const bool pendantLeVol : {false, true}) {
        BancAuxAguets banc;
        Form1& f = *banc.t.form;
        JoueJusquA(banc.t, kCoupsParPartie);
        int clics = 0;
        QObject::connect(f.Vent, &Etiquette::Click, [&] { ++clics; });
        const int force = f.BHForce[1]->value();
        const auto gestes = [&] {
            DoubleClique(f.Vent);
            DoubleClique(f.BHForce[1], FlecheDroite(f.BHForce[1]));
        };
        if (pendantLeVol) {
            banc.horloge.plan[Moment::Vol] = gestes;
            TireSansBoucle(banc.t);
            EXPECT_EQ(clics, 0);
            QCoreApplication::processEvents();
        } else {
            gestes();
        }
        EXPECT_EQ(clics, 1) << pendantLeVol;
        EXPECT_EQ(f.BHForce[1]->value(), force + 10) << pendantLeVol;
    }
}

// The middle of a bar's thumb, where the style draws it.
QPoint Pouce(QScrollBar* b) {
    QStyleOptionSlider o;
    o.initFrom(b);
    o.orientation = b->orientation();
    o.state |= QStyle::State_Horizontal;
    o.minimum = b->minimum();
    o.maximum = b->maximum();
    o.sliderPosition = o.sliderValue = b->value();
    o.singleStep = b->singleStep();
    o.pageStep = b->pageStep();
    return b->style()
        ->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarSlider, b)
        .center();
}

TEST(ModeleDEntrees, ADragAndATabDuringAShotCountAfterItAndLeaveNothingPressed) {
    // Guards against a thumb dragged during a shot that does not follow the drag, a bar left
    // pressed for ever because its button came up after the shot, and the focus taken back at
    // the end of the shot from where the player had put it.
    BancAuxAguets banc;
    Form1& f = *banc.t.form;
    JoueJusquA(banc.t, kCoupsParPartie);
    QScrollBar* barre = f.BHForce[0];  // A's, whose shot passes the focus to B's angle
    const int force = barre->value();
    banc.horloge.plan[Moment::Vol] = [&] {
        const QPoint pouce = Pouce(barre);
        QTest::mousePress(barre, Qt::LeftButton, Qt::NoModifier, pouce);
        // The pointer moves as the window system reports it, to the window.
        const QPoint ecran = barre->mapToGlobal(pouce + QPoint(30, 0));
        QMouseEvent glisse(QEvent::MouseMove, f.mapFromGlobal(ecran), ecran, Qt::NoButton,
                           Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.windowHandle(), &glisse);
    };
    TireSansBoucle(banc.t);
    QCoreApplication::processEvents();
    EXPECT_GT(barre->value(), force);
    EXPECT_FALSE(barre->isSliderDown());
    EXPECT_EQ(QApplication::focusWidget(), barre);
}

// ---- Clicks through the X server: run under Xvfb by sous_x.sh (CTest's entrees_xvfb) ----

// Clicks with the real pointer at a point of `w`, then gives the X server's events time to
// reach the game, as a wait does.
// `fois` clicks 150 ms apart make double clicks, as quick hands do.
void CliqueVraiment(QWidget* w, QPoint ou, int fois = 1) {
    const QPoint p = w->mapToGlobal(ou);
    QProcess::execute(
        "xdotool", {"mousemove", "--sync", QString::number(p.x()), QString::number(p.y()), "click",
                    "--repeat", QString::number(fois), "--delay", "150", "1"});
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < kLaisseArriverMs) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TEST(DISABLED_SousXvfb, ClicksDuringEveryMomentOfAShotAreHandledAfterItInOrder) {
    // Guards against input delivered in the middle of an animation (a bar moved under a flying
    // shell, a new wind mid-flight, a quit that destroys the window under the shot) or lost.
    BancAuxAguets banc;
    BancDeTir& t = banc.t;
    HorlogeAuxAguets& horloge = banc.horloge;
    Form1& f = *t.form;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QStringList journal;
    bool enCoup = false;
    auto note = [&](const QString& quoi) { journal << (enCoup ? "pendant " : "") + quoi; };
    NoteLesBarres(f, note);
    QObject::connect(f.Vent, &Etiquette::Click, [&] { note("vent"); });
    QObject::connect(f.Son[0], &RubanBouton::Click,
                     [&](int i, bool v) { note(QString("son %1 %2").arg(i).arg(v)); });
    QObject::connect(f.Son[1], &RubanBouton::Click,
                     [&](int i, bool v) { note(QString("son %1 %2").arg(i).arg(v)); });
    QObject::connect(f.Quitter, &QPushButton::clicked, [&] { note("quitter"); });
    JoueJusquA(t, 2);
    // A double click on an arrow is two steps, at rest as held: Qt hands the control the
    // second press of a double click as the double click alone.
    const int force = f.BHForce[0]->value();
    CliqueVraiment(f.BHForce[0], FlecheDroite(f.BHForce[0]), 2);
    EXPECT_EQ(f.BHForce[0]->value(), force + 10);
    f.BHForce[0]->setValue(force);  // the aim that hits
    journal.clear();
    // The ninth hit: the aim, the wind and the force while the shell flies, explodes and burns.
    horloge.plan = {
        {Moment::Vol, [&] { CliqueVraiment(f.BHAngle[0], PageDroite(f.BHAngle[0])); }},
        {Moment::Explosion,
         [&] {
             CliqueVraiment(f.BHForce[0], FlecheDroite(f.BHForce[0]), 2);
             CliqueVraiment(f.Vent, f.Vent->rect().center());
         }},
        {Moment::Flammes, [&] { CliqueVraiment(f.BHForce[1], PageDroite(f.BHForce[1])); }}};
    const auto attends = [&](int n) {
        QElapsedTimer c;
        c.start();
        while (journal.size() < n && c.elapsed() < kAttenteMaxiMs) QTest::qWait(5);
    };
    // Fired with the real pointer too: during the shot Qt takes the fire button for pressed.
    enCoup = true;
    CliqueVraiment(f.Feu[f.Joueur], f.Feu[f.Joueur]->rect().center());
    enCoup = false;
    attends(3);
    EXPECT_EQ(journal.join(", ").toStdString(), "angle 0, force 0, vent, force 1");
    EXPECT_EQ(f.BHForce[0]->value(), force + 10);
    EXPECT_EQ(f.NbCoups, 1);
    EXPECT_EQ(f.BHAngle[0]->value(), f.BHAngle[0]->maximum());
    // The tenth, from the aim that hits: the force, both sound buttons, the other angle and
    // Quitter, the last while the winner flashes.
    journal.clear();
    horloge.vus.clear();
    horloge.plan = {
        {Moment::Vol, [&] { CliqueVraiment(f.BHForce[0], PageDroite(f.BHForce[0])); }},
        {Moment::Explosion,
         [&] {
             CliqueVraiment(f.Son[1], f.Son[1]->rect().center());
             CliqueVraiment(f.Son[0], f.Son[0]->rect().center());
         }},
        {Moment::Flammes, [&] { CliqueVraiment(f.BHAngle[1], PageDroite(f.BHAngle[1])); }},
        {Moment::Clignotement, [&] { CliqueVraiment(f.Quitter, f.Quitter->rect().center()); }}};
    // The clicks changed B's force and the wind: back to the aim that hits.
    f.BHForce[1]->setValue(kForceAuBut);
    f.ForceVent = 0;
    journal.clear();
    t.saisie.reponses.push_back("Pilote");
    // Fired with the real pointer too: during the shot Qt takes the fire button for pressed.
    enCoup = true;
    CliqueVraiment(f.Feu[f.Joueur], f.Feu[f.Joueur]->rect().center());
    enCoup = false;
    EXPECT_EQ(horloge.vus.size(), 4u) << "a moment of the last shot was never reached";
    EXPECT_TRUE(f.isVisible());
    attends(6);
    EXPECT_EQ(journal.join(", ").toStdString(), "force 0, son 1 1, son 0 1, angle 1, quitter");
    EXPECT_TRUE(f.SonActif);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(t.Finie());
}

// ---- The window manager's close button during the last shot: under Xvfb and openbox by
// sous_x.sh (CTest's fermeture_record) ----

// Fake time up to the last shot, then the real clock: the last shot runs at the game's own pace
// while the window manager and the dialog take real input.
class HorlogeDuDernierCoup : public HorlogeAuxAguets {
  public:
    using HorlogeAuxAguets::HorlogeAuxAguets;
    HorlogeReelle reelle;
    bool reel = false;
    double Maintenant() override {
        return reel ? reelle.Maintenant() : FausseHorloge::Maintenant();
    }
    void AttendsJusqua(double echeance) override {
        if (!reel) return HorlogeAuxAguets::AttendsJusqua(echeance);
        while (Maintenant() < echeance) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            Respire();
        }
    }
    void Respire() override {
        if (!reel) return HorlogeAuxAguets::Respire();
        reelle.Respire();
        Guette();
    }
};

TEST(DISABLED_SousOpenbox, TheCloseButtonDuringTheLastShotEndsTheGameAfterTheRecordDialog) {
    // Also asked while the record dialog is open: Qt drops a close aimed at a window a modal
    // dialog blocks, and the game stayed open after the dialog.
    for (const bool pendantLeDialogue : {false, true}) {
        FauxLecteur lecteur;
        HorlogeDuDernierCoup horloge{lecteur};
        FauxDossier dossier;
        SaisieQt saisie;
        BancDeTir t(
            {.horloge = &horloge, .lecteur = &lecteur, .saisie = &saisie, .dossier = &dossier});
        t.Montre();
        Form1& f = *t.form;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        FermetureSousDialogue(f);
        JoueJusquA(t, 1);
        horloge.reel = true;
        // The close button sits at the right end of the title bar, above the window's top
        // right. The click is made while the shell flies on: the flight does not wait for it.
        const auto ferme = [&](bool sansAttendre) {
            const QRect g = f.geometry();
            const int marge = (g.top() - f.frameGeometry().top()) / 2;
            const QStringList clic{"mousemove", QString::number(g.right() - marge),
                                   QString::number(g.top() - marge), "click", "1"};
            sansAttendre ? QProcess::startDetached("xdotool", clic)
                         : QProcess::execute("xdotool", clic) == 0;
        };
        if (!pendantLeDialogue) horloge.plan[Moment::Vol] = [&] { ferme(true); };
        bool visibleAuClignotement = false;
        horloge.plan[Moment::Clignotement] = [&] { visibleAuClignotement = f.isVisible(); };
        // The winner types his name in the real dialog and confirms it.
        QTimer repond;
        QObject::connect(&repond, &QTimer::timeout, [&] {
            if (!QApplication::activeModalWidget()) return;
            repond.stop();
            if (pendantLeDialogue) {
                ferme(false);
                QElapsedTimer attente;
                attente.start();
                while (attente.elapsed() < kLaisseArriverMs) QCoreApplication::processEvents();
            }
            QProcess::execute("xdotool", {"type", "--delay", "20", "Pilote"});
            QProcess::execute("xdotool", {"key", "Return"});
        });
        repond.start(50);
        TireSansBoucle(t);
        EXPECT_TRUE(visibleAuClignotement) << "the window stays for the rest of the shot";
        QTimer garde;
        garde.setSingleShot(true);
        QObject::connect(&garde, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        garde.start(kAttenteMaxiMs);
        EXPECT_EQ(QApplication::exec(), 0) << pendantLeDialogue;
        EXPECT_FALSE(f.isVisible());
        EXPECT_TRUE(fuzz::Contenu(dossier.Chemin() + "/Tir.ini").endsWith("NomJoueur=Pilote\r\n"))
            << pendantLeDialogue;
    }
}

// ---- A screen reader setting a bar, in this process ----

TEST(EntreesPendantUnCoup, AScreenReadersNewAimDuringAShotWaitsForItsEnd) {
    // Guards against the shooter's aim changed under his flying shell: a screen reader sets a
    // bar's value directly, and a wait lets its request through.
    for (const Moment moment :
         {Moment::Vol, Moment::Explosion, Moment::Flammes, Moment::Clignotement}) {
        BancAuxAguets banc;
        BancDeTir& t = banc.t;
        Form1& f = *t.form;
        JoueJusquA(t, 1);
        const int tireur = f.Joueur;
        std::string pendant;
        qsizetype sonsAvant = 0;
        const FauxLecteur& lecteur = banc.lecteur;
        banc.horloge.plan[moment] = [&] {
            QAccessible::queryAccessibleInterface(f.BHAngle[tireur])
                ->valueInterface()
                ->setCurrentValue(70);
            pendant = f.Angle[tireur]->Caption().toStdString();
            sonsAvant = lecteur.joues.size();
        };
        t.saisie.reponses.push_back("Pilote");
        TireSansBoucle(t);
        EXPECT_EQ(pendant, std::to_string(kAngleAuBut)) << static_cast<int>(moment);
        // The last hit landed with the aim it was fired with.
        EXPECT_TRUE(t.Finie()) << static_cast<int>(moment);
        EXPECT_EQ(f.Angle[tireur]->Caption().toStdString(), std::to_string(kAngleAuBut));
        QCoreApplication::processEvents();
        EXPECT_EQ(f.Angle[tireur]->Caption().toStdString(), "70") << static_cast<int>(moment);
        ASSERT_GT(lecteur.joues.size(), sonsAvant);
        EXPECT_TRUE(lecteur.joues.last().endsWith("Murax-déplacé.wav"));
    }
}

// ---- A close asked at the worst moments, in this process ----

// Asks the window to close as the window system does when the player clicks its cross.
void DemandeFermeture(Form1& f) {
    QCoreApplication::postEvent(f.windowHandle(), new QCloseEvent);
}

class SaisieQuiFerme : public FausseSaisie {
  public:
    Form1* form = nullptr;
    bool ferme = false;
    bool visibleApresDemande = false;
    QString InputBox(const QString& t, const QString& i, const QString& d) override {
        if (ferme) {
            DemandeFermeture(*form);
            QCoreApplication::processEvents();
            visibleApresDemande = form->isVisible();
        }
        return FausseSaisie::InputBox(t, i, d);
    }
};

TEST(EntreesPendantUnCoup, ACloseAtAnyMomentOfTheLastShotEndsTheGameCleanlyAfterIt) {
    // Guards against the window destroyed under a running animation or an open record dialog, a
    // lost record, or a program that does not end (or ends with an error) after the close.
    for (const Moment moment :
         {Moment::Vol, Moment::Explosion, Moment::Flammes, Moment::Clignotement, Moment::Aucun}) {
        SaisieQuiFerme saisie;
        BancAuxAguets banc(&saisie);
        BancDeTir& t = banc.t;
        saisie.form = t.form.get();
        saisie.ferme = moment == Moment::Aucun;
        JoueJusquA(t, 1);
        bool visibleApresDemande = false;
        if (moment != Moment::Aucun) {
            banc.horloge.plan[moment] = [&] {
                DemandeFermeture(*t.form);
                QCoreApplication::processEvents();
                visibleApresDemande = t.form->isVisible();
            };
        }
        saisie.reponses.push_back("Pilote");
        TireSansBoucle(t);
        EXPECT_TRUE(visibleApresDemande || saisie.visibleApresDemande) << static_cast<int>(moment);
        EXPECT_TRUE(t.Finie());
        // The program's loop must end by itself once the window is closed.
        QTimer garde;
        garde.setSingleShot(true);
        QObject::connect(&garde, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        garde.start(kAttenteMaxiMs);
        EXPECT_EQ(QApplication::exec(), 0) << static_cast<int>(moment);
        EXPECT_FALSE(t.form->isVisible());
        EXPECT_TRUE(
            fuzz::Contenu(banc.t.dossier.Chemin() + "/Tir.ini").endsWith("NomJoueur=Pilote\r\n"));
    }
}

}  // namespace
}  // namespace tir::test
