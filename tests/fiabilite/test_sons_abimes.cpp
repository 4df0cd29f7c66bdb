// Broken, missing and huge sound files under every name of the catalogue, and no sound device:
// the real SDL player in whole games, which must run as they do with a silent fake player.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <iostream>

#include "Partie.h"
#include "platform/ServicesReels.h"

namespace tir::test {
namespace {

constexpr qint64 kEnorme = 50LL * 1024 * 1024;
constexpr int kEnteteWave = 44;
// A sound may hold up a shot for at most this long; a frame of the explosion is 1/24 s.
constexpr qint64 kBlocageMaxiMs = 40;

enum class Abime { Absent, Vide, Tronque, PasUnSon, EnormeWave, EnormeBruit, UnHertz };

// The 44-byte header of a 16-bit stereo wave announcing `donnees` bytes of samples.
QByteArray EnteteWave(quint32 donnees, quint32 frequence = 44100) {
    QByteArray h;
    QDataStream w(&h, QIODevice::WriteOnly);
    w.setByteOrder(QDataStream::LittleEndian);
    w.writeRawData("RIFF", 4);
    w << static_cast<quint32>(donnees + kEnteteWave - 8);
    w.writeRawData("WAVEfmt ", 8);
    w << quint32(16) << quint16(1) << quint16(2) << frequence << quint32(frequence * 4)
      << quint16(4) << quint16(16);
    w.writeRawData("data", 4);
    w << donnees;
    return h;
}

// Puts a file of the kind asked under `nom` in `dossier`; the huge ones are sparse.
void Pose(const QString& dossier, const QString& nom, Abime abime) {
    if (abime == Abime::Absent) return;
    QFile f(dossier + "/" + nom);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    switch (abime) {
        case Abime::Tronque:
            f.write(EnteteWave(4 * 44100).left(30));
            break;
        case Abime::PasUnSon:
            f.write("ceci n'est pas un son, mais un texte\n");
            break;
        case Abime::EnormeWave:
            f.write(EnteteWave(static_cast<quint32>(kEnorme - kEnteteWave)));
            ASSERT_TRUE(f.resize(kEnorme));
            break;
        case Abime::EnormeBruit:
            ASSERT_TRUE(f.resize(kEnorme));
            break;
        case Abime::UnHertz:  // seven megabytes of samples that would last three weeks
            f.write(EnteteWave(7 << 20, 1) + QByteArray(7 << 20, '\x11'));
            break;
        default:
            break;
    }
}

// A folder where every sound of the catalogue (and the explosion's name without ending) is
// broken in the same way.
struct DossierAbime : Dossier {
    QTemporaryDir dossier;
    explicit DossierAbime(Abime abime) {
        for (const char* nom : {"Murax-déplacé.wav", "Trnmurax.wav", "Photon.wav", "Explosion",
                                "Explosion.wav", "Flammes.wav", "YouWin.wav", "Hallelu1.wav"}) {
            Pose(dossier.path(), QString::fromUtf8(nom), abime);
        }
    }
    QByteArray Chemin() override { return QFile::encodeName(dossier.path()); }
};

Bilan Reference() {
    BancDeTir t;
    t.Montre();
    const Bilan b = JoueDixTouches(t, "Pilote");
    EXPECT_GE(t.lecteur.joues.size(), 20) << "the game played too few sounds to tell anything";
    return b;
}

TEST(SonsAbimes, EveryKindOfBrokenSoundFileLeavesAWholeGameUnchanged) {
    // Guards against a crash, a stall or a changed game when a sound file is missing, empty,
    // truncated, not a sound at all, huge, or asks for gigabytes once converted.
    const Bilan attendu = Reference();
    ASSERT_EQ(attendu.coups, kCoupsParPartie);
    for (const Abime abime : {Abime::Absent, Abime::Vide, Abime::Tronque, Abime::PasUnSon,
                              Abime::EnormeWave, Abime::EnormeBruit, Abime::UnHertz}) {
        LecteurSdl lecteur;
        DossierAbime dossier(abime);
        BancDeTir t({.lecteur = &lecteur, .dossier = &dossier});
        t.Montre();
        QElapsedTimer chrono;
        chrono.start();
        const Bilan b = JoueDixTouches(t, "Pilote");
        std::cout << "game with sound files broken (kind " << static_cast<int>(abime)
                  << "): " << chrono.elapsed() << " ms\n";
        EXPECT_TRUE(b == attendu) << "kind " << static_cast<int>(abime);
        EXPECT_TRUE(QFile::exists(dossier.Chemin() + "/Tir.ini"));
    }
}

TEST(SonsAbimes, AGameWithoutAnySoundDeviceRunsAsWithOne) {
    // Guards against a game that hangs or crashes on a machine without sound.
    const Bilan attendu = Reference();
    const QByteArray pilote = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "pilote_qui_n_existe_pas");
    {
        LecteurSdl lecteur;
        DossierAbime dossier(Abime::Absent);
        for (const QString& son : QDir(TIR_BINARY_DIR).entryList({"*.wav"})) {
            QFile::copy(QStringLiteral(TIR_BINARY_DIR "/") + son, dossier.Chemin() + "/" + son);
        }
        BancDeTir t({.lecteur = &lecteur, .dossier = &dossier});
        t.Montre();
        EXPECT_TRUE(JoueDixTouches(t, "Pilote") == attendu);
    }
    qputenv("SDL_AUDIODRIVER", pilote);
}

TEST(SonsAbimes, AHugeSoundFileOrAPipeHoldsUpTheShotForNoMoreThanAFrame) {
    // Guards against a 50 MB file read and converted on the game's thread, which froze the
    // flight for about 1.5 s, or a pipe that would freeze it for good.
    for (const Abime abime : {Abime::EnormeWave, Abime::EnormeBruit}) {
        DossierAbime dossier(abime);
        LecteurSdl lecteur;
        lecteur.Joue(dossier.Chemin() + "/Photon.wav");  // opens the device
        QElapsedTimer chrono;
        chrono.start();
        lecteur.Joue(dossier.Chemin() + "/Trnmurax.wav");
        lecteur.Joue(dossier.Chemin() + "/Explosion");
        const qint64 ms = chrono.elapsed();
        std::cout << "two plays of 50 MB files (kind " << static_cast<int>(abime) << "): " << ms
                  << " ms\n";
        EXPECT_LT(ms, kBlocageMaxiMs);
    }
    // A pipe under a sound's name would block a reader until something writes into it.
    QTemporaryDir dossier;
    ASSERT_EQ(mkfifo(QFile::encodeName(dossier.filePath("Photon.wav")).constData(), 0600), 0);
    LecteurSdl lecteur;
    QElapsedTimer chrono;
    chrono.start();
    lecteur.Joue(QFile::encodeName(dossier.filePath("Photon.wav")));
    EXPECT_LT(chrono.elapsed(), kBlocageMaxiMs);
}

}  // namespace
}  // namespace tir::test
