// The system's requests to stop, at every moment of a shot and of the record dialog, the file size
// limit, and the window destroyed by another client: each case runs in a child process of its own.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <array>
#include <csignal>
#include <cstdint>

#include "Partie.h"
#include "ProfilInvariants.h"
#include "platform/Arret.h"

namespace tir::test {
namespace {

// Fake time, but every wait and breath lets the window system's non-input events through, as
// the real clock does: that is where a stop request is seen.
struct HorlogeQuiRespire : FausseHorloge {
    void AttendsJusqua(double echeance) override {
        FausseHorloge::AttendsJusqua(echeance);
        Respire();
    }
    void Respire() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
};

// The signal comes as the sound of the chosen moment starts.
struct LecteurQuiSignale : FauxLecteur {
    QByteArray moment;
    int numero = 0;
    void Joue(const QByteArray& chemin) override {
        if (chemin.endsWith(moment)) std::raise(numero);
    }
};

// The record dialog gets the signal while it waits for the name.
struct DialogueQuiSignale : Saisie {
    int numero = 0;
    QString InputBox(const QString&, const QString&, const QString&) override {
        std::raise(numero);
        QCoreApplication::processEvents();
        return QStringLiteral("Jamais");
    }
};

const QByteArray kAncien = "[Tir_au_Murax]\r\nScoreMaxi= 5\r\nNomJoueur=Ancien\r\n";

TEST(Signaux, AStopSignalEndsTheGameAtEveryMomentOfAShotAndLeavesTheRecordWhole) {
    // Guards against a stop request waiting for the shot's end (or never seen, once a sound
    // library took the signals), and against a record file left cut by it.
    const struct {
        const char* moment;  // the sound that starts it; empty: the record dialog
        int numero;
        bool ignore = false;  // the game was started ignoring it ("nohup"): it plays on
    } cas[] = {{"Trnmurax.wav", SIGTERM},
               {"Explosion", SIGTERM},
               {"Flammes.wav", SIGTERM},
               {"YouWin.wav", SIGTERM},
               {"", SIGTERM},
               {"Explosion", SIGINT},
               {"Explosion", SIGHUP},
               {"Explosion", SIGHUP, true}};
    for (const auto& [moment, numero, ignore] : cas) {
        FauxDossier dossier;
        QFile f(dossier.dossier.filePath("Tir.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(kAncien) == kAncien.size());
        f.close();
        const pid_t enfant = fork();
        if (enfant == 0) {
            if (ignore) std::signal(numero, SIG_IGN);
            ArretSurSignal();
            HorlogeQuiRespire horloge;
            LecteurQuiSignale lecteur;
            lecteur.moment = moment;
            lecteur.numero = *moment ? numero : 0;
            DialogueQuiSignale dialogue;
            dialogue.numero = numero;
            BancDeTir t({.horloge = &horloge,
                         .lecteur = &lecteur,
                         .saisie = &dialogue,
                         .dossier = &dossier});
            t.Montre();
            JoueDixTouches(t, "Jamais");
            _exit(0);  // the game went on to its end
        }
        int statut = 0;
        waitpid(enfant, &statut, 0);
        if (ignore) {
            EXPECT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 0) << moment << " " << numero;
            continue;
        }
        EXPECT_TRUE(WIFSIGNALED(statut) && WTERMSIG(statut) == numero) << moment << " " << numero;
        EXPECT_EQ(fuzz::Contenu(f.fileName()), kAncien) << moment;
    }
}

TEST(Signaux, BeyondTheFileSizeLimitOrWithStandardErrorClosedTheGameGoesOn) {
    // Guards against SIGXFSZ killing the game when a record is written under "ulimit -f 0", and
    // SIGPIPE when it writes a warning to a standard error whose reader is gone.
    FauxDossier dossier;
    const pid_t enfant = fork();
    if (enfant == 0) {
        ArretSurSignal();
        std::array<int, 2> tuyau{};
        if (pipe(tuyau.data()) != 0 || close(tuyau[0]) != 0 || dup2(tuyau[1], 2) != 2) _exit(2);
        if (write(2, "?", 1) != -1) _exit(3);  // the game's warnings go there
        const rlimit rien{0, 0};
        setrlimit(RLIMIT_FSIZE, &rien);
        BancDeTir t({.dossier = &dossier});
        t.Montre();
        const Bilan b = JoueDixTouches(t, "Pilote");
        _exit(b.coups == kCoupsParPartie && b.dialogues == 1 ? 0 : 1);
    }
    int statut = 0;
    waitpid(enfant, &statut, 0);
    EXPECT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 0);
    EXPECT_FALSE(QFile::exists(dossier.dossier.filePath("Tir.ini")));
}

TEST(Signaux, TheWindowDestroyedByAnotherClientEndsTheProgramAndNoOtherWindowDoes) {
    // Guards against a game left running without a window after an "xkill"-like destruction.
    for (const bool laNotre : {true, false}) {
        const pid_t enfant = fork();
        if (enfant == 0) {
            BancDeTir banc;
            Form1& f = *banc.form;
            f.show();
            ArretAvecLaFenetre(f);
            // DestroyNotify as the X server sends it: type, pad, sequence, event, window.
            const auto fenetre = static_cast<std::uint32_t>(f.winId()) + (laNotre ? 0 : 1);
            std::array<std::uint32_t, 8> evenement{17, fenetre, fenetre};
            QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t",
                                                                    evenement.data(), nullptr);
            _exit(3);  // still running
        }
        int statut = 0;
        waitpid(enfant, &statut, 0);
        EXPECT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == (laNotre ? 0 : 3)) << laNotre;
    }
}

}  // namespace
}  // namespace tir::test
