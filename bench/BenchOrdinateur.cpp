// The computer opponent: the cost of choosing a shot, and its strength per level measured on
// seeded battlefields with the rules alone (the window draws the fields; no animation runs).
//
//   bench_tir --benchmark_filter=Ordinateur
#include <benchmark/benchmark.h>

#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "BancDeTir.h"
#include "opponent/Cerveau.h"
#include "scoring/Points.h"

namespace {

using tir::Cerveau;
using tir::Choix;
using tir::Issue;
using tir::Niveau;

constexpr int kChamps = 1000;
constexpr int kParties = 200;
constexpr int kCoupsMaxi = 40;  // a level that needs more has failed on this field

// A fresh battlefield and wind from `graine`, drawn by the window's own procedures.
void NouveauChamp(tir::Form1& f, tir::test::FauxHasard& hasard, unsigned graine) {
    hasard.generateur.seed(graine);
    f.DessinePaysage();
    f.Vent_Click();
}

tir::Vue VueDe(const tir::Form1& f, int j) {
    tir::Vue v;
    v.terrain = f.TerrainDuCoup();
    v.joueur = j;
    v.vent = f.ForceVent;
    v.scores = {f.Scores[0], f.Scores[1]};
    v.essai = f.NbEssais[j] + 1;
    v.coupsRestants = f.NbCoups;
    return v;
}

// One shot of side j by `cerveau`, aimed through the bar (the cannon turns) and flown by the
// rules; the shooter's count goes up as the fire button's does.
tir::Impact Coup(tir::Form1& f, Cerveau& cerveau, int j) {
    const tir::Vue vue = VueDe(f, j);
    const Choix choix = cerveau.Choisis(vue);
    f.BHAngle[j]->setValue(choix.angle);
    ++f.NbEssais[j];
    const tir::Visee visee{j, f.EnRadians(choix.angle), static_cast<std::int16_t>(choix.force),
                           f.ForceVent};
    const tir::Impact impact = tir::Tire(f.TerrainDuCoup(), visee);
    cerveau.Observe(vue, choix, impact);
    return impact;
}

// Mean shots to the first hit on the other cannon, side B, per level.
void OrdinateurCoupsAvantTouche(benchmark::State& state) {
    const auto niveau = static_cast<Niveau>(state.range(0));
    tir::test::BancDeTir banc;
    tir::Form1& f = *banc.form;
    double total = 0;
    for (auto _ : state) {
        total = 0;
        for (int champ = 1; champ <= kChamps; ++champ) {
            NouveauChamp(f, banc.hasard, static_cast<unsigned>(champ));
            Cerveau cerveau(niveau, static_cast<std::uint64_t>(champ));
            f.NbEssais = {0, 0, 0};
            int coups = 1;
            while (coups < kCoupsMaxi && Coup(f, cerveau, 1).issue != Issue::ToucheA) ++coups;
            total += coups;
        }
    }
    state.counters["coups_moyens"] = total / kChamps;
}
BENCHMARK(OrdinateurCoupsAvantTouche)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kSecond);

// A whole game by the rules: a simulated player of `niveau` plays A, the computer at `auto`
// plays B. Returns whether the final scores lie within 20 % of each other.
bool PartieSerree(tir::test::BancDeTir& banc, Niveau niveau, unsigned graine) {
    tir::Form1& f = *banc.form;
    std::array<Cerveau, 2> cerveaux{Cerveau(niveau, graine), Cerveau(Niveau::Auto, graine + 1)};
    f.Scores = {0, 0, 0};
    f.NbEssais = {0, 0, 0};
    unsigned champ = graine * 100;
    NouveauChamp(f, banc.hasard, champ);
    int j = 0;
    for (int touches = 0, coups = 0; touches < 10 && coups < 1000; ++coups) {
        const tir::Impact impact = Coup(f, cerveaux[j], j);
        if (impact.issue == Issue::Disparu) continue;
        if (impact.issue == Issue::ToucheA || impact.issue == Issue::ToucheB) {
            const int cote = impact.issue == Issue::ToucheA ? 0 : 1;
            f.Scores[j] = static_cast<std::int16_t>(
                f.Scores[j] + tir::Points(cote, j, impact.x, f.Largeur, f.NbEssais[j]));
            f.NbEssais = {0, 0, 0};
            ++touches;
            for (Cerveau& c : cerveaux) c.NouveauChamp();
            NouveauChamp(f, banc.hasard, ++champ);
        }
        j = 1 - j;
    }
    const double a = f.Scores[0], b = f.Scores[1];
    return std::fabs(a - b) <= 0.2 * std::max(std::fabs(a), std::fabs(b));
}

// The share of close games for `auto` against simulated players of three skills.
void OrdinateurAutoPartiesSerrees(benchmark::State& state) {
    const auto niveau = static_cast<Niveau>(state.range(0));
    tir::test::BancDeTir banc;
    int serrees = 0;
    for (auto _ : state) {
        serrees = 0;
        for (unsigned partie = 1; partie <= kParties; ++partie) {
            serrees += PartieSerree(banc, niveau, partie) ? 1 : 0;
        }
    }
    state.counters["parties_serrees_pct"] = 100.0 * serrees / kParties;
}
BENCHMARK(OrdinateurAutoPartiesSerrees)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kSecond);

// The cost of an expert's first choice on a new battlefield (the longest: it picks an angle),
// as a median and a maximum over the seeded battlefields.
void OrdinateurChoixExpert(benchmark::State& state) {
    tir::test::BancDeTir banc;
    tir::Form1& f = *banc.form;
    std::vector<double> durees;
    for (auto _ : state) {
        durees.clear();
        for (int champ = 1; champ <= kChamps; ++champ) {
            NouveauChamp(f, banc.hasard, static_cast<unsigned>(champ));
            Cerveau cerveau(Niveau::Expert, 1);
            const tir::Vue vue = VueDe(f, 1);
            const auto debut = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(cerveau.Choisis(vue));
            const std::chrono::duration<double, std::milli> d =
                std::chrono::steady_clock::now() - debut;
            durees.push_back(d.count());
        }
    }
    std::sort(durees.begin(), durees.end());
    state.counters["mediane_ms"] = durees[durees.size() / 2];
    state.counters["p99_ms"] = durees[durees.size() * 99 / 100];
    state.counters["max_ms"] = durees.back();
}
BENCHMARK(OrdinateurChoixExpert)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
