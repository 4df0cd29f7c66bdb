// Figures for the sound player: what a wave costs the player's thread from the request to the
// start of the sound (or its refusal), and what Joue costs the game's thread while the sound
// server takes the connection and never answers. Peak memory: run one benchmark under
// /usr/bin/time -v and compare with the "Absente" one.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "platform/ServicesReels.h"

namespace {

// A wave of `octets` bytes of samples in PCM (format 1) or float (format 3).
QByteArray Wave(quint16 format, quint16 canaux, quint32 frequence, quint16 bits, int octets) {
    QByteArray wave;
    QDataStream w(&wave, QIODevice::WriteOnly);
    w.setByteOrder(QDataStream::LittleEndian);
    const auto bloc = static_cast<quint16>(canaux * bits / 8);
    w.writeRawData("RIFF", 4);
    w << static_cast<quint32>(36 + octets);
    w.writeRawData("WAVEfmt ", 8);
    w << quint32(16) << format << canaux << frequence << frequence * bloc << bloc << bits;
    w.writeRawData("data", 4);
    w << static_cast<quint32>(octets);
    return wave + QByteArray(octets, '\x10');
}

// One player per round, on SDL's dummy driver, its device opened before the clock runs.
void ChargeUneWave(benchmark::State& state, QByteArray wave) {
    qputenv("SDL_AUDIODRIVER", "dummy");
    QTemporaryDir dossier;
    QFile f(dossier.filePath("Son.wav"));
    if (!wave.isEmpty() && (!f.open(QIODevice::WriteOnly) || f.write(wave) != wave.size())) {
        state.SkipWithError("cannot write the wave");
        return;
    }
    f.close();
    for (auto _ : state) {
        state.PauseTiming();
        {
            tir::LecteurSdl lecteur;
            lecteur.Joue(QFile::encodeName(dossier.filePath("Rien.wav")));  // opens the device
            lecteur.Attends(30);
            state.ResumeTiming();
            lecteur.Joue(QFile::encodeName(dossier.filePath("Son.wav")));
            if (!lecteur.Attends(30)) state.SkipWithError("the player did not answer");
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}
constexpr int kHuitMo = 8 * 1024 * 1024 - 44;
// The largest wave taken: 8 MB of 32-bit float stereo at 104,858 Hz, ten seconds.
BENCHMARK_CAPTURE(ChargeUneWave, FlottanteDixSecondes, Wave(3, 2, 104858, 32, kHuitMo))
    ->Iterations(20);
// 7 MB at 1 Hz: refused from its header.
BENCHMARK_CAPTURE(ChargeUneWave, UnHertzSeptMo, Wave(1, 1, 1, 16, 7 * 1024 * 1024))->Iterations(20);
// Ten seconds at 8 kHz, 8-bit mono: the widest conversion taken.
BENCHMARK_CAPTURE(ChargeUneWave, HuitKiloHertzDixSecondes, Wave(1, 1, 8000, 8, 80000))
    ->Iterations(20);
BENCHMARK_CAPTURE(ChargeUneWave, Absente, QByteArray())->Iterations(20);

// Joue with PulseAudio's client talking to a socket that takes the connection and never reads.
void JoueServeurMuet(benchmark::State& state) {
    QTemporaryDir dossier;
    const QByteArray adresse = QFile::encodeName(dossier.filePath("serveur"));
    const int serveur = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::memcpy(a.sun_path, adresse.constData(), static_cast<std::size_t>(adresse.size()));
    if (bind(serveur, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(serveur, 4) != 0) {
        state.SkipWithError("no socket");
        return;
    }
    qputenv("SDL_AUDIODRIVER", "pulseaudio");
    qputenv("PULSE_SERVER", "unix:" + adresse);
    QElapsedTimer fin;
    {
        tir::LecteurSdl lecteur;
        for (auto _ : state) lecteur.Joue(QFile::encodeName(dossier.filePath("Son.wav")));
        state.counters["attente"] = lecteur.Attends(0) ? 0 : 1;  // 1: the device was still opening
        fin.start();
    }
    state.counters["fin_ms"] = static_cast<double>(fin.elapsed());  // the player's destructor
    pollfd attente{serveur, POLLIN, 0};
    if (poll(&attente, 1, 5000) == 1) close(accept(serveur, nullptr, nullptr));
    close(serveur);
    qunsetenv("PULSE_SERVER");
}
BENCHMARK(JoueServeurMuet);
BENCHMARK(JoueServeurMuet)->Iterations(1);  // the first sound, which starts the player's thread

}  // namespace
