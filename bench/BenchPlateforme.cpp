// Figures for the platform layer: the landscape's flood fill, the flight's dot and Refresh, and
// the sprite copies of the explosion and the flames.
#include <benchmark/benchmark.h>

#include <QPainter>

#include "platform/Gdi.h"
#include "platform/Surface.h"

namespace {

constexpr int kLargeur = 627;
constexpr int kHauteur = 334;
constexpr int kCoteExplosion = 72;

QImage Unie(int w, int h, QRgb c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

// The whole field filled from its middle, as a landscape layer over an empty sky would be.
void FloodFillDuChamp(benchmark::State& state) {
    QImage champ = Unie(kLargeur, kHauteur, 0xFF00FFFF);
    tir::Couleur couleur = 0x808000;
    for (auto _ : state) {
        tir::FloodFill(champ, kLargeur / 2, kHauteur - 10, 0x000000, couleur);
        couleur ^= 0x00FF00;  // alternate, so each pass really repaints the whole field
        benchmark::DoNotOptimize(champ.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kLargeur * kHauteur);
}
BENCHMARK(FloodFillDuChamp);

// A landscape layer's fill: the fill colour is the outline's, drawn over an earlier layer.
void FloodFillCoucheDuPaysage(benchmark::State& state) {
    QImage champ = Unie(kLargeur, kHauteur, 0xFF00FFFF);
    tir::Couleur couleur = 0x800080;
    for (auto _ : state) {
        tir::FloodFill(champ, kLargeur / 2, kHauteur - 10, couleur ^ 0x808080, couleur ^ 0x808080);
        couleur ^= 0x808080;
        benchmark::DoNotOptimize(champ.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kLargeur * kHauteur);
}
BENCHMARK(FloodFillCoucheDuPaysage);

// One pass of the flight: a 4-pixel dot on the display, then the Refresh that wipes it.
void RefreshApresUnPoint(benchmark::State& state) {
    tir::Surface champ(kLargeur, kHauteur, tir::kCiel);
    champ.Scale(0, kHauteur, kLargeur, 0);
    champ.SetDrawWidth(4);
    double x = 10;
    for (auto _ : state) {
        champ.PSet(x, 200, 0x000000);
        benchmark::DoNotOptimize(champ.Point(x, 200));
        champ.Refresh();
        x = x > 600 ? 10 : x + 0.7;
    }
}
BENCHMARK(RefreshApresUnPoint);

// For comparison: a Refresh after hDC() marked the whole field changed.
void RefreshDuChampEntier(benchmark::State& state) {
    tir::Surface champ(kLargeur, kHauteur, tir::kCiel);
    for (auto _ : state) {
        benchmark::DoNotOptimize(champ.hDC().constBits());
        champ.Refresh();
    }
}
BENCHMARK(RefreshDuChampEntier);

void BitBlt72(benchmark::State& state) {
    const auto rop = static_cast<tir::Rop>(state.range(0));
    QImage champ = Unie(kLargeur, kHauteur, 0xFF00FFFF);
    const QImage sprite = Unie(kCoteExplosion, kCoteExplosion, 0xFF804020);
    for (auto _ : state) {
        tir::BitBlt(champ, 300, 150, kCoteExplosion, kCoteExplosion, sprite, 0, 0, rop);
        benchmark::DoNotOptimize(champ.constBits());
    }
}
BENCHMARK(BitBlt72)->ArgName("rop")->Arg(0)->Arg(1)->Arg(2);

// The same copies through QPainter's raster operations, the alternative to the pixel loops.
void BitBlt72ParQPainter(benchmark::State& state) {
    const QPainter::CompositionMode modes[] = {QPainter::CompositionMode_Source,
                                               QPainter::RasterOp_SourceAndDestination,
                                               QPainter::RasterOp_SourceXorDestination};
    QImage champ = Unie(kLargeur, kHauteur, 0xFF00FFFF);
    const QImage sprite = Unie(kCoteExplosion, kCoteExplosion, 0xFF804020);
    for (auto _ : state) {
        QPainter p(&champ);
        p.setCompositionMode(modes[state.range(0)]);
        p.drawImage(QPoint(300, 150), sprite);
        p.end();
        benchmark::DoNotOptimize(champ.constBits());
    }
}
BENCHMARK(BitBlt72ParQPainter)->ArgName("rop")->Arg(0)->Arg(1)->Arg(2);

void StretchBlt70Vers36(benchmark::State& state) {
    const auto rop = static_cast<tir::Rop>(state.range(0));
    QImage champ = Unie(kLargeur, kHauteur, 0xFF00FFFF);
    const QImage sprite = Unie(kCoteExplosion, kCoteExplosion, 0xFF804020);
    for (auto _ : state) {
        tir::StretchBlt(champ, 300, 150, 36, 36, sprite, 0, 0, 70, 70, rop);
        benchmark::DoNotOptimize(champ.constBits());
    }
}
BENCHMARK(StretchBlt70Vers36)->ArgName("rop")->Arg(0)->Arg(1)->Arg(2);

}  // namespace
