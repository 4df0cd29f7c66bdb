// The landscape on a real window: three layers with their fills, both cannons, and the repaint
// that puts the new field on the screen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "BancDeTir.h"
#include "window/Form1.h"

namespace {

// A shown window whose first landscape is drawn, as the player sees it at start-up.
struct FenetreMontree {
    tir::test::BancDeTir banc;
    tir::Form1& fenetre = *banc.form;
    FenetreMontree() {
        fenetre.show();
        QApplication::processEvents();
    }
};

void DessinePaysage(benchmark::State& state) {
    FenetreMontree f;
    for (auto _ : state) {
        f.fenetre.DessinePaysage();
        benchmark::DoNotOptimize(f.fenetre.Dessin->Garde().constBits());
    }
}
BENCHMARK(DessinePaysage)->Unit(benchmark::kMicrosecond);

// The same drawing with the window hidden: what the repaint of the whole window adds.
void DessinePaysageSansEcran(benchmark::State& state) {
    FenetreMontree f;
    f.fenetre.hide();
    for (auto _ : state) {
        f.fenetre.DessinePaysage();
        benchmark::DoNotOptimize(f.fenetre.Dessin->Garde().constBits());
    }
}
BENCHMARK(DessinePaysageSansEcran)->Unit(benchmark::kMicrosecond);

}  // namespace
