// The shot as the player sees it, on a real window with the real clock: colour tests per pixel of
// shell travel, frames shown per second and the share of a core that the flight takes, and the
// share of a core that the explosion, the flames and the winner's flash take. Meant for a real X
// server (Xvfb): QT_QPA_PLATFORM=xcb.
//
// The flight shows one frame and then sleeps until the next screen refresh, and the sounds mark
// where each phase begins: a clock that watches the waits and a recording sound player see it
// through the game's own services. The field counts its colour reads.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QWindow>
#include <cmath>
#include <ctime>

#include "Faux.h"
#include "platform/ServicesReels.h"
#include "window/Form1.h"

namespace {

constexpr int kForceMaxi = 120;
constexpr int kAngleRasant = 25;     // the highest point stays on the screen
constexpr double kEchelleTemps = 5;  // flight time units per second
constexpr int kAttenteFenetreMs = 5000;
constexpr double kPourCent = 100;

double TempsCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The real clock, watching the flight through its waits: one wait per frame shown, the shell's
// place of that frame in the window's state; the flight ends at the explosion's sound.
class HorlogeComptee : public tir::Horloge {
  public:
    tir::HorlogeReelle reelle;
    const tir::Form1* fenetre = nullptr;
    bool enVol = false;
    long tests = 0, images = 0;
    double trajet = 0, debut = 0, fin = 0;
    double enVue = 0;  // seconds of flight with the shell on the screen

    void Decolle() {
        enVol = true;
        compte_ = false;
        tests = images = 0;
        trajet = enVue = 0;
        debut = reelle.Maintenant();
    }
    // The path from the last frame to the impact counts too, as its tests do.
    void Atterrit() {
        if (!enVol) return;
        Note(false);
        enVol = false;
        fin = reelle.Maintenant();
        if (compte_) tests = fenetre->Dessin->LecturesCouleur() - lectures_;
    }
    double Maintenant() override { return reelle.Maintenant(); }
    void AttendsJusqua(double echeance) override {
        if (enVol) Note(true);
        reelle.AttendsJusqua(echeance);
    }
    void Respire() override { reelle.Respire(); }

  private:
    bool Visible(double y) const { return y > 0 && y < fenetre->Hauteur; }
    // Inside the shooter's own cannon rectangle, where the flight never tests.
    bool DansSonCanon(double x, double y) const {
        const tir::Form1& f = *fenetre;
        const double w = f.SMurax[f.Joueur].ScaleWidth();
        const double gauche = f.Joueur == 0 ? 0 : f.Largeur - w;
        const double sol = f.NiveauSol[f.Joueur];
        return x >= gauche && x <= gauche + w && y >= sol && y <= sol + f.SMurax[0].ScaleHeight();
    }
    // Adds the path since the place noted before, and the frame if one is shown. Path, frames
    // and tests are counted from the first frame out of the shooter's cannon, on the screen.
    void Note(bool image) {
        const double x = fenetre->XObus, y = fenetre->YObus;
        const bool visible = Visible(y);
        if (compte_ && visible && Visible(yAvant_)) {
            trajet += std::hypot(x - xAvant_, y - yAvant_);
            if (image) {
                enVue += (fenetre->Temps - tempsAvant_) / kEchelleTemps;
                ++images;
            }
        }
        if (!compte_ && visible && !DansSonCanon(x, y)) {
            compte_ = true;
            lectures_ = fenetre->Dessin->LecturesCouleur();
        }
        xAvant_ = x;
        yAvant_ = y;
        tempsAvant_ = fenetre->Temps;
    }
    bool compte_ = false;
    long lectures_ = 0;
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
    void Joue(const QByteArray& octets) override {
        const QString chemin = QString::fromUtf8(octets);
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

// CPU time over wall time from one sound to the next, in % of one core.
double PartDuCoeur(const LecteurChronometre::Instant& de, const LecteurChronometre::Instant& a) {
    return kPourCent * (a.cpu - de.cpu) / (a.mur - de.mur);
}

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
    double tests = 0, trajet = 0, images = 0, enVue = 0, cpu = 0;
    for (auto _ : state) {
        tir::Form1& f = p.fenetre;
        if (f.NbCoups <= 1) f.InitPartie();
        f.BHAngle[f.Joueur]->setValue(kAngleRasant);
        f.BHForce[f.Joueur]->setValue(kForceMaxi);
        CielOuvert(f);
        p.lecteur.instants.clear();
        p.horloge.Decolle();
        {
            tir::Gestionnaire g(f);
            f.Feu_Click(f.Joueur);
        }
        p.horloge.Atterrit();
        state.SetIterationTime(p.horloge.fin - p.horloge.debut);
        const auto* depart = p.lecteur.Trouve(QStringLiteral("Trnmurax.wav"));
        if (!depart) depart = p.lecteur.Trouve(QStringLiteral("Photon.wav"));
        const auto* impact = p.lecteur.Trouve(QStringLiteral("Explosion"));
        if (!depart || !impact) {
            state.SkipWithError("the shell did not fly to an impact");
            return;
        }
        cpu += PartDuCoeur(*depart, *impact);
        tests += static_cast<double>(p.horloge.tests);
        trajet += p.horloge.trajet;
        images += static_cast<double>(p.horloge.images);
        enVue += p.horloge.enVue;
    }
    state.counters["tests_par_pixel"] = tests / trajet;
    state.counters["tests_par_s"] = tests / enVue;
    state.counters["images_par_s"] = images / enVue;
    state.counters["hz_ecran"] = 1.0 / p.fenetre.Dessin->IntervalleImage();
    state.counters["cpu_vol_pct"] = cpu / static_cast<double>(state.iterations());
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
        explosion += PartDuCoeur({{}, mur0, cpu0}, *feu);
        flammes += PartDuCoeur(*feu, *fin);
        clignotement += PartDuCoeur(*fin, {{}, mur3, cpu3});
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
