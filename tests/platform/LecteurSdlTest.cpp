// The sound player through SDL's disk driver: what reaches the output, and silence on failure.
#include <gtest/gtest.h>

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "platform/ServicesReels.h"

namespace tir {
namespace {

// The device's format: the game's own waves, which reach it sample for sample.
constexpr int kFrequence = 22050;
constexpr int kCanaux = 1;
constexpr int kAttenteMaxiMs = 5000;
// The device's buffer of 512 frames is 23 ms of sound; writing one every 4 ms runs the disk
// driver about six times faster than real time.
constexpr const char* kDelaiDisque = "4";

// A 16-bit wave file holding `trames` frames of one constant sample value.
void EcritWave(const QString& chemin, qint16 valeur, int trames, int frequence = kFrequence,
               int canaux = kCanaux) {
    QByteArray donnees;
    QDataStream d(&donnees, QIODevice::WriteOnly);
    d.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < trames * canaux; ++i) d << valeur;
    QByteArray wave;
    QDataStream w(&wave, QIODevice::WriteOnly);
    w.setByteOrder(QDataStream::LittleEndian);
    const auto octetsParTrame = static_cast<quint16>(2 * canaux);
    w.writeRawData("RIFF", 4);
    w << static_cast<quint32>(36 + donnees.size());
    w.writeRawData("WAVEfmt ", 8);
    w << quint32(16) << quint16(1) << static_cast<quint16>(canaux)
      << static_cast<quint32>(frequence) << static_cast<quint32>(frequence * octetsParTrame)
      << octetsParTrame << quint16(16);
    w.writeRawData("data", 4);
    w << static_cast<quint32>(donnees.size());
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(wave + donnees);
}

// The player with SDL's audio driver chosen for this test; the driver is set back afterwards.
class LecteurSdlTest : public ::testing::Test {
  protected:
    QTemporaryDir dossier;
    QString sortie = dossier.filePath("sortie.raw");

    void SetUp() override {
        ancienPilote_ = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(sortie));
        qputenv("SDL_DISKAUDIODELAY", kDelaiDisque);
    }
    void TearDown() override {
        qputenv("SDL_AUDIODRIVER", ancienPilote_);
        qunsetenv("SDL_DISKAUDIOFILE");
        qunsetenv("SDL_DISKAUDIODELAY");
    }

    // The samples the driver has written so far.
    std::vector<qint16> Echantillons() const {
        QFile f(sortie);
        if (!f.open(QIODevice::ReadOnly)) return {};
        const QByteArray octets = f.readAll();
        std::vector<qint16> e(static_cast<std::size_t>(octets.size()) / 2);
        if (!e.empty()) std::memcpy(e.data(), octets.constData(), e.size() * 2);
        return e;
    }
    static long Compte(const std::vector<qint16>& e, std::function<bool(qint16)> test) {
        return std::count_if(e.begin(), e.end(), test);
    }
    // Polls the output until `fini` holds for it or the time runs out; the audio thread writes
    // in its own time, so this is the one wait the test cannot avoid.
    std::vector<qint16> AttendsQue(
        const std::function<bool(const std::vector<qint16>&)>& fini) const {
        QElapsedTimer t;
        t.start();
        std::vector<qint16> e = Echantillons();
        while (!fini(e) && t.elapsed() < kAttenteMaxiMs) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            e = Echantillons();
        }
        return e;
    }

  private:
    QByteArray ancienPilote_;
};

TEST_F(LecteurSdlTest, PlaysAWaveWholeToItsLastSample) {
    // Guards against a silent player, or one that drops the end of a sound in conversion.
    constexpr int kTrames = kFrequence / 20;  // 50 ms
    EcritWave(dossier.filePath("Son.wav"), 12345, kTrames);
    LecteurSdl lecteur;
    lecteur.Joue(dossier.filePath("Son.wav"));
    const auto e = AttendsQue([&](const auto& s) {
        return Compte(s, [](qint16 v) { return v == 12345; }) >= kTrames * kCanaux &&
               s.size() > static_cast<std::size_t>(3 * kTrames * kCanaux);
    });
    EXPECT_EQ(Compte(e, [](qint16 v) { return v == 12345; }), kTrames * kCanaux);
    EXPECT_EQ(Compte(e, [](qint16 v) { return v != 0 && v != 12345; }), 0);
}

TEST_F(LecteurSdlTest, ConvertsAWaveOfAnotherFormatToTheDevices) {
    // Guards against a wave in another format (one a player put in the folder) played at the
    // wrong speed or not at all.
    constexpr int kTrames = 44100 / 20;  // 50 ms at 44,100 Hz, stereo
    EcritWave(dossier.filePath("Stereo.wav"), -8000, kTrames, 44100, 2);
    LecteurSdl lecteur;
    lecteur.Joue(dossier.filePath("Stereo.wav"));
    auto proche = [](qint16 v) { return std::abs(v + 8000) <= 40; };
    const auto e = AttendsQue([&](const auto& s) {
        return s.size() > static_cast<std::size_t>(4 * kFrequence / 20 * kCanaux) &&
               Compte(s, proche) > 0;
    });
    // Half the frames at half the rate, on one channel: 50 ms of sound, give or take the
    // resampler's edges.
    const long n = Compte(e, proche);
    EXPECT_GT(n, kFrequence / 20 * kCanaux * 9 / 10);
    EXPECT_LT(n, kFrequence / 20 * kCanaux * 11 / 10);
}

TEST_F(LecteurSdlTest, ResolvesANameWithoutEndingByAddingWav) {
    // Guards against the explosion, named without ".wav", never sounding.
    EcritWave(dossier.filePath("Explosion.wav"), 4321, kFrequence / 20);
    LecteurSdl lecteur;
    lecteur.Joue(dossier.filePath("Explosion"));
    const auto e =
        AttendsQue([](const auto& s) { return Compte(s, [](qint16 v) { return v == 4321; }) > 0; });
    EXPECT_GT(Compte(e, [](qint16 v) { return v == 4321; }), 0);
}

TEST_F(LecteurSdlTest, ASecondSoundCutsTheFirst) {
    // Guards against sounds queuing up or mixing: the explosion must cut the launch sound.
    constexpr int kLongue = kFrequence * 5;  // 5 s, far longer than the test takes to cut it
    constexpr int kCourte = kFrequence / 20;
    EcritWave(dossier.filePath("Long.wav"), 1000, kLongue);
    EcritWave(dossier.filePath("Court.wav"), -2000, kCourte);
    LecteurSdl lecteur;
    lecteur.Joue(dossier.filePath("Long.wav"));
    auto premier = [](qint16 v) { return v == 1000; };
    auto second = [](qint16 v) { return v == -2000; };
    AttendsQue([&](const auto& s) { return Compte(s, premier) > 0; });
    lecteur.Joue(dossier.filePath("Court.wav"));
    const auto e = AttendsQue([&](const auto& s) {
        const auto debut = std::find_if(s.begin(), s.end(), second);
        return debut != s.end() && s.end() - debut > 3 * kCourte * kCanaux;
    });
    const auto debut = std::find_if(e.begin(), e.end(), second);
    ASSERT_NE(debut, e.end());
    EXPECT_LT(Compte(e, premier), kLongue * kCanaux);
    EXPECT_EQ(std::count_if(debut, e.end(), premier), 0);
    EXPECT_EQ(std::count_if(debut, e.end(), second), kCourte * kCanaux);
}

TEST_F(LecteurSdlTest, StaysSilentForMissingEmptyAndBrokenFiles) {
    // Guards against a crash or noise when a sound file is missing or damaged.
    EcritWave(dossier.filePath("Bon.wav"), 777, kFrequence / 10);
    QFile bon(dossier.filePath("Bon.wav"));
    ASSERT_TRUE(bon.open(QIODevice::ReadOnly));
    QFile coupe(dossier.filePath("Coupe.wav"));
    ASSERT_TRUE(coupe.open(QIODevice::WriteOnly));
    coupe.write(bon.read(30));
    coupe.close();
    QFile vide(dossier.filePath("Vide.wav"));
    ASSERT_TRUE(vide.open(QIODevice::WriteOnly));
    vide.close();
    QFile texte(dossier.filePath("Texte.wav"));
    ASSERT_TRUE(texte.open(QIODevice::WriteOnly));
    texte.write("ceci n'est pas un son");
    texte.close();
    LecteurSdl lecteur;
    for (const char* nom : {"Absent.wav", "Absent", "Coupe.wav", "Vide.wav", "Texte.wav", ""}) {
        lecteur.Joue(dossier.filePath(nom));
    }
    lecteur.Joue(dossier.path());  // a folder
    const auto e = AttendsQue([](const auto& s) { return s.size() > 8 * 1024; });
    ASSERT_GT(e.size(), 8u * 1024);
    EXPECT_EQ(Compte(e, [](qint16 v) { return v != 0; }), 0);
}

TEST_F(LecteurSdlTest, ReturnsAtOnceWhenTheAudioDriverDoesNotExist) {
    // Guards against a game that hangs or crashes on a machine without sound.
    qputenv("SDL_AUDIODRIVER", "pilote_qui_n_existe_pas");
    EcritWave(dossier.filePath("Son.wav"), 1, 100);
    QElapsedTimer t;
    t.start();
    {
        LecteurSdl lecteur;
        lecteur.Joue(dossier.filePath("Son.wav"));
        lecteur.Joue(dossier.filePath("Son.wav"));
    }
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_FALSE(QFile::exists(sortie));
}

}  // namespace
}  // namespace tir
