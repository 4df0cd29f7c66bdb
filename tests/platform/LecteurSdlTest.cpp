// The sound player through SDL's disk driver: what reaches the output, and silence on failure.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
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

// The header of a 16-bit wave of `canaux` channels at `frequence` announcing `donnees` bytes of
// samples after a format chunk of `fmt` bytes.
QByteArray Entete(int frequence, int canaux, quint32 donnees, quint32 fmt = 16) {
    QByteArray wave;
    QDataStream w(&wave, QIODevice::WriteOnly);
    w.setByteOrder(QDataStream::LittleEndian);
    const auto octetsParTrame = static_cast<quint16>(2 * canaux);
    w.writeRawData("RIFF", 4);
    w << static_cast<quint32>(36 + donnees);
    w.writeRawData("WAVEfmt ", 8);
    w << fmt << quint16(1) << static_cast<quint16>(canaux) << static_cast<quint32>(frequence)
      << static_cast<quint32>(frequence) * octetsParTrame << octetsParTrame << quint16(16);
    w.writeRawData("data", 4);
    w << donnees;
    return wave;
}

// A 16-bit wave file holding `trames` frames of one constant sample value.
void EcritWave(const QString& chemin, qint16 valeur, int trames, int frequence = kFrequence,
               int canaux = kCanaux) {
    QByteArray donnees;
    QDataStream d(&donnees, QIODevice::WriteOnly);
    d.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < trames * canaux; ++i) d << valeur;
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Entete(frequence, canaux, static_cast<quint32>(donnees.size())) + donnees);
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
    lecteur.Joue(QFile::encodeName(dossier.filePath("Son.wav")));
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
    lecteur.Joue(QFile::encodeName(dossier.filePath("Stereo.wav")));
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
    lecteur.Joue(QFile::encodeName(dossier.filePath("Explosion")));
    const auto e =
        AttendsQue([](const auto& s) { return Compte(s, [](qint16 v) { return v == 4321; }) > 0; });
    EXPECT_GT(Compte(e, [](qint16 v) { return v == 4321; }), 0);
}

TEST_F(LecteurSdlTest, ASecondSoundCutsTheFirst) {
    // Guards against sounds queuing up or mixing: the explosion must cut the launch sound, also
    // when it is asked for while the launch sound is still being read, and never be overtaken.
    constexpr int kLongue = kFrequence * 5;  // 5 s, far longer than the test takes to cut it
    constexpr int kCourte = kFrequence / 20;
    EcritWave(dossier.filePath("Long.wav"), 1000, kLongue);
    EcritWave(dossier.filePath("Court.wav"), -2000, kCourte);
    auto premier = [](qint16 v) { return v == 1000; };
    auto second = [](qint16 v) { return v == -2000; };
    for (const bool entendu : {true, false}) {
        QFile::remove(sortie);
        LecteurSdl lecteur;
        lecteur.Joue(QFile::encodeName(dossier.filePath("Long.wav")));
        if (entendu) AttendsQue([&](const auto& s) { return Compte(s, premier) > 0; });
        lecteur.Joue(QFile::encodeName(dossier.filePath("Court.wav")));
        const auto e = AttendsQue([&](const auto& s) {
            const auto debut = std::find_if(s.begin(), s.end(), second);
            return debut != s.end() && s.end() - debut > 3 * kCourte * kCanaux;
        });
        const auto debut = std::find_if(e.begin(), e.end(), second);
        ASSERT_NE(debut, e.end()) << entendu;
        EXPECT_LT(Compte(e, premier), kLongue * kCanaux);
        EXPECT_EQ(std::count_if(debut, e.end(), premier), 0) << entendu;
        EXPECT_EQ(std::count_if(debut, e.end(), second), kCourte * kCanaux) << entendu;
    }
}

// The most memory this process has held at once, in KiB.
long PicMemoireKio() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& ligne : f.readAll().split('\n')) {
        if (ligne.startsWith("VmHWM:")) return ligne.mid(6).trimmed().split(' ').front().toLong();
    }
    return 0;
}

TEST_F(LecteurSdlTest, DamagedWavesPlayNothingAndCostLittle) {
    // Guards against a wave whose header asks for gigabytes (a 1 Hz rate over 7 MB of samples
    // aborted the game on bad_alloc), a pipe or a device that would hold the player up for good,
    // and a damaged file that stops the sounds after it or makes any noise.
    const QByteArray bruit(7 * 1024 * 1024, '\x11');
    struct Cas {
        const char* nom;
        QByteArray octets;
    };
    const Cas cas[] = {
        {"UnHertz.wav", Entete(1, 1, quint32(bruit.size())) + bruit},
        {"UnHertzCourt.wav", Entete(1, 1, 20000) + bruit.left(20000)},
        {"TropLong.wav", Entete(kFrequence, 1, 0xFFFFFFFF) + bruit.left(6 * 1024 * 1024)},
        {"MentSurSaLongueur.wav", Entete(kFrequence, 1, 0xFFFFFFF0) + bruit.left(1000)},
        {"FormatEnorme.wav", Entete(kFrequence, 1, 1000, 0xFFFFFFF0) + bruit.left(1000)},
        {"SansCanal.wav", Entete(kFrequence, 0, 1000) + bruit.left(1000)},
        {"DeuxGigahertz.wav", Entete(0x7FFFFFFF, 2, 1000) + bruit.left(1000)},
        {"Coupe.wav", Entete(kFrequence, 1, 1000).left(30)},
        {"Vide.wav", {}},
        {"Texte.wav", "ceci n'est pas un son"},
    };
    for (const Cas& c : cas) {
        QFile f(dossier.filePath(c.nom));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.octets);
    }
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dossier.filePath("Zero.wav")));
    ASSERT_EQ(mkfifo(QFile::encodeName(dossier.filePath("Tube.wav")).constData(), 0600), 0);
    EcritWave(dossier.filePath("Bon.wav"), 777, kFrequence / 10);
    QStringList noms{"Absent.wav", "Absent", "", ".", "Tube", "Tube.wav", "Zero.wav"};
    for (const Cas& c : cas) noms << c.nom;
    const long picAvant = PicMemoireKio();
    LecteurSdl lecteur;
    for (const QString& nom : noms) {
        QElapsedTimer t;
        t.start();
        lecteur.Joue(QFile::encodeName(dossier.filePath(nom)));
        EXPECT_LT(t.elapsed(), 40) << nom.toStdString();
        EXPECT_TRUE(lecteur.Attends(5)) << nom.toStdString();
    }
    EXPECT_LT(PicMemoireKio() - picAvant, 32 * 1024);
    // The player still works, and nothing but the good sound was ever heard.
    lecteur.Joue(QFile::encodeName(dossier.filePath("Bon.wav")));
    auto bon = [](qint16 v) { return v == 777; };
    const auto e = AttendsQue([&](const auto& s) { return Compte(s, bon) >= kFrequence / 10; });
    EXPECT_EQ(Compte(e, bon), kFrequence / 10);
    EXPECT_EQ(Compte(e, [](qint16 v) { return v != 0 && v != 777; }), 0);
}

TEST_F(LecteurSdlTest, ReturnsAtOnceWhileTheSoundServerDoesNotAnswer) {
    // Guards against the first shot frozen for 30 s, and the program's end after it, by a
    // sound server that takes the connection and never answers: a socket no one reads.
    const QByteArray adresse = QFile::encodeName(dossier.filePath("serveur"));
    const int serveur = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    ASSERT_LT(adresse.size(), static_cast<qsizetype>(sizeof a.sun_path));
    std::memcpy(a.sun_path, adresse.constData(), static_cast<std::size_t>(adresse.size()));
    ASSERT_EQ(bind(serveur, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(listen(serveur, 4), 0);
    qputenv("SDL_AUDIODRIVER", "pulseaudio");
    qputenv("PULSE_SERVER", "unix:" + adresse);
    EcritWave(dossier.filePath("Son.wav"), 1, 100);
    QElapsedTimer t;
    t.start();
    {
        LecteurSdl lecteur;
        lecteur.Joue(QFile::encodeName(dossier.filePath("Son.wav")));
        lecteur.Joue(QFile::encodeName(dossier.filePath("Son.wav")));
        EXPECT_LT(t.elapsed(), 40);
        if (lecteur.Attends(0.2)) GTEST_SKIP() << "no PulseAudio client library to try";
        t.restart();
    }
    EXPECT_LT(t.elapsed(), 1000);
    // The server hangs up at last, which sets the player's thread free.
    pollfd attente{serveur, POLLIN, 0};
    ASSERT_EQ(poll(&attente, 1, kAttenteMaxiMs), 1);
    close(accept(serveur, nullptr, nullptr));
    close(serveur);
    qunsetenv("PULSE_SERVER");
}

TEST_F(LecteurSdlTest, LeavesTheSignalsToTheGameAndTheTerminalQuiet) {
    // Guards against SDL taking SIGINT and SIGTERM once a sound has played (the game then
    // ignored the end of the session), and ALSA's lines on the terminal without a sound card.
    struct sigaction avant[2], apres[2];
    sigaction(SIGINT, nullptr, &avant[0]);
    sigaction(SIGTERM, nullptr, &avant[1]);
    EcritWave(dossier.filePath("Son.wav"), 2468, kFrequence / 20);
    {
        LecteurSdl lecteur;
        lecteur.Joue(QFile::encodeName(dossier.filePath("Son.wav")));
        AttendsQue([](const auto& s) { return Compte(s, [](qint16 v) { return v == 2468; }) > 0; });
        sigaction(SIGINT, nullptr, &apres[0]);
        sigaction(SIGTERM, nullptr, &apres[1]);
    }
    for (int i : {0, 1}) EXPECT_EQ(apres[i].sa_handler, avant[i].sa_handler) << i;
    // No card here, or a card that opens without a word: either way, nothing on stderr.
    qputenv("SDL_AUDIODRIVER", "alsa");
    QFile journal(dossier.filePath("stderr"));
    ASSERT_TRUE(journal.open(QIODevice::ReadWrite));
    fflush(stderr);
    const int stderrAvant = dup(STDERR_FILENO);
    dup2(journal.handle(), STDERR_FILENO);
    {
        LecteurSdl lecteur;
        lecteur.Joue(QFile::encodeName(dossier.filePath("Son.wav")));
        lecteur.Attends(5);
    }
    fflush(stderr);
    dup2(stderrAvant, STDERR_FILENO);
    close(stderrAvant);
    journal.close();  // it shared its offset with stderr: read it afresh
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    EXPECT_EQ(journal.readAll(), QByteArray());
}

TEST_F(LecteurSdlTest, ReturnsAtOnceWhenTheAudioDriverDoesNotExist) {
    // Guards against a game that hangs or crashes on a machine without sound.
    qputenv("SDL_AUDIODRIVER", "pilote_qui_n_existe_pas");
    EcritWave(dossier.filePath("Son.wav"), 1, 100);
    QElapsedTimer t;
    t.start();
    {
        LecteurSdl lecteur;
        lecteur.Joue(QFile::encodeName(dossier.filePath("Son.wav")));
        lecteur.Joue(QFile::encodeName(dossier.filePath("Son.wav")));
    }
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_FALSE(QFile::exists(sortie));
}

}  // namespace
}  // namespace tir
