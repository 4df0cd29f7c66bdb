// The record file at its largest: the game's section followed by blank lines up to the 1 MiB a
// record file may take, read and written as the record check does.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/Record.h"

namespace {

constexpr qsizetype kLignesBlanches = 500'000;  // "\r\n" each: just under 1 MiB

std::string PrepareFichier(const QTemporaryDir& dossier) {
    const QString fichier = dossier.filePath("Tir.ini");
    QFile f(fichier);
    if (f.open(QIODevice::WriteOnly)) {
        f.write("[Tir_au_Murax]\r\nScoreMaxi= 120\r\nNomJoueur=Pilote\r\n");
        f.write(QByteArray("\r\n").repeated(kLignesBlanches));
    }
    return QFile::encodeName(fichier).toStdString();
}

void LitRecordEnorme(benchmark::State& state) {
    const QTemporaryDir dossier;
    const std::string fichier = PrepareFichier(dossier);
    for (auto _ : state) benchmark::DoNotOptimize(tir::LitRecord(fichier));
}
BENCHMARK(LitRecordEnorme)->Unit(benchmark::kMillisecond);

void EcritRecordEnorme(benchmark::State& state) {
    const QTemporaryDir dossier;
    const std::string fichier = PrepareFichier(dossier);
    int score = 100;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            tir::EcritRecord(fichier, {' ' + std::to_string(++score), "Pilote"}, {}));
    }
}
BENCHMARK(EcritRecordEnorme)->Unit(benchmark::kMillisecond);

}  // namespace
