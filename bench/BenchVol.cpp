// The shot as the player sees it, on a real window with the real clock: colour tests per pixel of
// shell travel and frames shown per second during the flight, and the share of a core that the
// explosion, the flames and the winner's flash take. Meant for a real X server (Xvfb):
// QT_QPA_PLATFORM=xcb.
//
// Nothing is added to the game to count: the flight reads the clock once per pass and lets the
// window system breathe once per frame shown, and the sounds mark where each phase begins. A
// counting clock and a recording sound player see all of it through the game's own services.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QWindow>
#include <cmath>
#include <ctime>

#include "../tests/support/Faux.h"
#include "platform/ServicesReels.h"
#include "window/Form1.h"

namespace {

constexpr int kPassesSansTest = 16;  // the flight's first passes never test a colour
constexpr int kForceMaxi = 120;
constexpr int kAngleRasant = 25;     // the highest point stays on the screen
constexpr double kEchelleTemps = 5;  // flight time units per second
constexpr int kAttenteFenetreMs = 5000;

double TempsCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The real clock, watching the flight through its reads: one read per pass, the shell's place
// of the pass before already in the window's state.
class HorlogeComptee : public tir::Horloge {
  public:
    tir::HorlogeReelle reelle;
    const tir::Form1* fenetre = nullptr;
    bool enVol = false;
    long lectures = 0, tests = 0, images = 0;
    double trajet = 0, debut = 0, fin = 0;
    double enVue = 0;  // seconds of flight with the shell on the screen

    void Decolle() {
        enVol = true;
        lectures = tests = images = 0;
        trajet = enVue = 0;
        debut = reelle.Maintenant();
    }
    void Atterrit() {
        if (!enVol) return;
        Note();
        enVol = false;
        fin = reelle.Maintenant();
    }
    double Maintenant() override {
        if (enVol) Note();
        return reelle.Maintenant();
    }
    void AttendsJusqua(double echeance) override {
        Atterrit();
        reelle.AttendsJusqua(echeance);
    }
    void Respire() override {
        if (enVol) ++images;
        reelle.Respire();
    }

  private:
    bool Visible(double y) const { return y > 0 && y < fenetre->Hauteur; }
    // Read k (k >= 2) finds the place of pass k - 2 in XObus, YObus; read 0 is the launch time.
    void Note() {
        const long passe = lectures - 2;
        ++lectures;
        if (passe < 0) return;
        const double x = fenetre->XObus, y = fenetre->YObus;
        if (passe >= kPassesSansTest && Visible(y)) ++tests;
        if (passe > 0 && Visible(y) && Visible(yAvant_)) {
            trajet += std::hypot(x - xAvant_, y - yAvant_);
            enVue += (fenetre->Temps - tempsAvant_) / kEchelleTemps;
        }
        xAvant_ = x;
        yAvant_ = y;
        tempsAvant_ = fenetre->Temps;
    }
    double xAvant_ = 0, yAvant_ = 0, tempsAvant_ = 0;
};

// Records when each sound starts, in wall and CPU time; the explosion's sound ends the flight.
class LecteurChronometre : public tir::Lecteur {
  public:
    HorlogeComptee* horloge = nullptr;
    struct Instant {
        QString son;
        double mur, cpu;
    };
    std::vector<Instant> instants;
    void Joue(const QString& chemin) override {
        if (chemin.endsWith(QStringLiteral("Explosion"))) horloge->Atterrit();
        instants.push_back(
            {chemin.section(QLatin1Char('/'), -1), horloge->reelle.Maintenant(), TempsCpu()});
    }
    const Instant* Trouve(const QString& son) const {
        for (const Instant& i : instants)
            if (i.son == son) return &i;
        return nullptr;
    }
};

// A real window on the screen, its first landscape drawn, the real clock counting.
struct Partie {
    HorlogeComptee horloge;
    LecteurChronometre lecteur;
    tir::test::FauxHasard hasard;
    tir::test::FausseSaisie saisie;
    tir::test::FauxDossier dossier;
    tir::Form1 fenetre{tir::Services{horloge, hasard, lecteur, saisie, dossier}};

    Partie() {
        horloge.fenetre = &fenetre;
        lecteur.horloge = &horloge;
        fenetre.show();
        QElapsedTimer attente;
        attente.start();
        while (!(fenetre.windowHandle() && fenetre.windowHandle()->isExposed()) &&
               attente.elapsed() < kAttenteFenetreMs) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        QApplication::processEvents();
        fenetre.SonActif = true;
    }
};

// Sky over the whole field but the two cannons on their ground levels: the shell flies its
// whole course across the screen, which gives the frame rate enough frames to be measured.
void CielOuvert(tir::Form1& f) {
    f.Dessin->SetAutoRedraw(true);
    f.Dessin->Cls();
    f.CalculeMurax(0);
    f.CalculeMurax(1);
    f.Dessin->SetAutoRedraw(false);
    f.Dessin->Refresh();
}

// One shell at force 120 and the starting angle, from whichever side is to play. The time
// reported is the flight's, from launch to impact.
void VolForce120(benchmark::State& state) {
    Partie p;
    double tests = 0, trajet = 0, images = 0, duree = 0, lectures = 0, enVue = 0;
    for (auto _ : state) {
        tir::Form1& f = p.fenetre;
        if (f.NbCoups <= 1) f.InitPartie();
        f.BHAngle[f.Joueur]->setValue(kAngleRasant);
        f.BHForce[f.Joueur]->setValue(kForceMaxi);
        CielOuvert(f);
        p.horloge.Decolle();
        {
            tir::Gestionnaire g(f);
            f.Feu_Click(f.Joueur);
        }
        p.horloge.Atterrit();
        const double d = p.horloge.fin - p.horloge.debut;
        state.SetIterationTime(d);
        tests += static_cast<double>(p.horloge.tests);
        trajet += p.horloge.trajet;
        images += static_cast<double>(p.horloge.images);
        lectures += static_cast<double>(p.horloge.lectures);
        duree += d;
        enVue += p.horloge.enVue;
    }
    state.counters["tests_par_pixel"] = tests / trajet;
    state.counters["tests_par_s"] = tests / enVue;
    state.counters["images_par_s"] = images / enVue;
    state.counters["hz_ecran"] = 1.0 / p.fenetre.Dessin->IntervalleImage();
}
BENCHMARK(VolForce120)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);

// A shell that strikes A's cannon and ends the game: the explosion, the flames of the wreck and
// the winner's flash, each as CPU time over wall time of its phase (one core = 100 %).
void ExplosionFlammesClignotement(benchmark::State& state) {
    Partie p;
    double explosion = 0, flammes = 0, clignotement = 0;
    for (auto _ : state) {
        tir::Form1& f = p.fenetre;
        f.InitPartie();
        f.NbCoups = 1;
        f.XObus = 50;  // inside A's hit zone
        f.YObus = f.NiveauSol[0] + 40;
        p.lecteur.instants.clear();
        const double mur0 = p.horloge.reelle.Maintenant(), cpu0 = TempsCpu();
        {
            tir::Gestionnaire g(f);
            f.Explose();
        }
        const double mur3 = p.horloge.reelle.Maintenant(), cpu3 = TempsCpu();
        state.SetIterationTime(mur3 - mur0);
        const auto* feu = p.lecteur.Trouve(QStringLiteral("Flammes.wav"));
        const auto* fin = p.lecteur.Trouve(QStringLiteral("YouWin.wav"));
        if (!feu || !fin) {
            state.SkipWithError("the shell did not strike and end the game");
            return;
        }
        explosion += 100.0 * (feu->cpu - cpu0) / (feu->mur - mur0);
        flammes += 100.0 * (fin->cpu - feu->cpu) / (fin->mur - feu->mur);
        clignotement += 100.0 * (cpu3 - fin->cpu) / (mur3 - fin->mur);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["cpu_explosion_pct"] = explosion / n;
    state.counters["cpu_flammes_pct"] = flammes / n;
    state.counters["cpu_clignotement_pct"] = clignotement / n;
}
BENCHMARK(ExplosionFlammesClignotement)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

}  // namespace
