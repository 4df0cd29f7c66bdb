// The record file at its worst shape: the game's section followed by 20 MB of blank lines, read
// and written as the record check does (both keys in one reading, both in one replacement).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/Profil.h"

namespace {

const QByteArray kSection("Tir_au_Murax");
constexpr qsizetype kLignesBlanches = 10'000'000;  // "\r\n" each: 20 MB

// With `avecNom` both keys sit at the top of the section; without, the name is missing, so the
// reading and the writing must scan the whole section for its last non-blank line.
QString PrepareFichier(const QTemporaryDir& dossier, bool avecNom) {
    const QString fichier = dossier.filePath("Tir.ini");
    QFile f(fichier);
    if (f.open(QIODevice::WriteOnly)) {
        f.write("[Tir_au_Murax]\r\nScoreMaxi= 120\r\n");
        if (avecNom) f.write("NomJoueur=Pilote\r\n");
        const QByteArray blancs = QByteArray("\r\n").repeated(kLignesBlanches / 10);
        for (int i = 0; i < 10; ++i) f.write(blancs);
    }
    return fichier;
}

void LitRecordEnorme(benchmark::State& state) {
    const QTemporaryDir dossier;
    const QString fichier = PrepareFichier(dossier, state.range(0) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            tir::LitProfil(kSection, {"ScoreMaxi", "NomJoueur"}, {}, 255, fichier));
    }
}
BENCHMARK(LitRecordEnorme)->ArgName("avecNom")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void EcritRecordEnorme(benchmark::State& state) {
    const QTemporaryDir dossier;
    const QString fichier = PrepareFichier(dossier, state.range(0) != 0);
    int score = 0;
    for (auto _ : state) {
        if (state.range(0) == 0) {
            state.PauseTiming();
            PrepareFichier(dossier, false);
            state.ResumeTiming();
        }
        tir::ProfilVerrouille profil(fichier);
        benchmark::DoNotOptimize(profil.Ecrit(
            kSection, {{"ScoreMaxi", QByteArray::number(++score)}, {"NomJoueur", "Pilote"}}));
    }
}
BENCHMARK(EcritRecordEnorme)->ArgName("avecNom")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
