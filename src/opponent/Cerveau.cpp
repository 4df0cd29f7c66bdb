// The computer's aim: a flight estimated on the field as drawn, an angle kept for a battlefield,
// and a force corrected after each miss, as well or as badly as its level plays.
#include "opponent/Cerveau.h"

#include <algorithm>
#include <cmath>

#include "battlefield/Bouche.h"

namespace tir {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDemiGravite = 4.905;
constexpr double kPasEstime = 0.8;  // pixels between two looks along an estimated path
constexpr int kForceMaxi = 120;
constexpr double kCentreCible = 34;  // from the struck side's edge: the best precision
constexpr double kPasPrecision = 3.4;
constexpr double kHorsZone = 100;  // from the edge: short of the cannon, a miss that looks honest
constexpr int kBaseEssais = 10;
constexpr long kPrecisionMaxi = 10;
constexpr long kPrecisionSure = 5;  // a band well inside the hit zone
// The angles a player tries, the likeliest first: high enough to clear hills, low enough to be
// quick.
constexpr std::array<int, 14> kAngles{45, 50, 40, 55, 35, 60, 30, 65, 70, 25, 75, 80, 20, 85};

// How a level plays: its first force is off by about `erreur` (standard deviation, in force
// units); after a miss it corrects `gain` of the error it reads from its impact, and adds
// `bruit` of new error.
struct Style {
    double erreur, gain, bruit;
};

Style StyleDe(Niveau niveau) {
    switch (niveau) {
        case Niveau::Debutant:
            return {20, 0.3, 2.5};
        case Niveau::Moyen:
            return {10, 0.45, 1.5};
        case Niveau::Expert:
        case Niveau::Auto:
            break;
    }
    return {0.3, 1.0, 0.2};
}

}  // namespace

Cerveau::Cerveau(Niveau niveau, std::uint64_t graine) : niveau_(niveau), des_(graine) {}

Impact Cerveau::Estime(const Vue& vue, int angle, int force) {
    const Terrain& t = vue.terrain;
    const int j = vue.joueur;
    const double a = (kPi + kPi) * angle / 360;
    const QPointF bouche = Bouche(j, a, t.niveauSol[j], t.largeur);
    const double sens = j == 0 ? 1 : -1;
    const double vx = force * std::cos(a) + sens * vue.vent;
    const double vy = force * std::sin(a);
    const QRect canon = t.RectCanon(j);
    const double sol = t.niveauSol[j];
    bool sorti = false;
    for (double temps = 0;;) {
        const double x = bouche.x() + sens * vx * temps;
        const double y = vy * temps + bouche.y() - kDemiGravite * temps * temps;
        sorti = sorti || x < canon.left() || x > canon.left() + canon.width() || y < sol ||
                y > sol + canon.height();
        if (sorti && y < t.hauteur && CouleurAu(*t.garde, t.repere, x, y) != kCiel) {
            return {CoteTouche(x, t.largeur), x, y};
        }
        if (y <= 0) return {Issue::Disparu, x, y};
        const double vitesse = std::hypot(vx, vy - 2 * kDemiGravite * temps);
        temps += kPasEstime / std::max(vitesse, 1.0);
    }
}

// The smallest force that carries the shell to `x` or beyond, or the one just short of it,
// whichever lands nearer: the range grows with the force on every field but a wall.
std::pair<int, double> Cerveau::ForcePour(const Vue& vue, int angle, double x) const {
    const double sens = vue.joueur == 0 ? 1 : -1;
    const auto portee = [&](int force) { return Estime(vue, angle, force).x; };
    int bas = 0, haut = kForceMaxi;
    while (bas < haut) {
        const int milieu = (bas + haut) / 2;
        if ((portee(milieu) - x) * sens >= 0) {
            haut = milieu;
        } else {
            bas = milieu + 1;
        }
    }
    const double ici = portee(bas);
    if (bas == 0) return {bas, ici};
    const double avant = portee(bas - 1);
    if (std::fabs(avant - x) < std::fabs(ici - x)) return {bas - 1, avant};
    return {bas, ici};
}

// The first angle, in the order a player tries them, whose best force lands within a pixel or
// two of `x`; else the one that came nearest.
Choix Cerveau::Meilleur(const Vue& vue, double x) const {
    Choix meilleur;
    double ecart = 1e9;
    for (const int angle : kAngles) {
        const auto [force, impact] = ForcePour(vue, angle, x);
        const double e = std::fabs(impact - x);
        if (e < ecart) {
            ecart = e;
            meilleur = {angle, force};
        }
        if (ecart < kPasPrecision / 2) break;
    }
    return meilleur;
}

// Where to bring the shell down: on the other cannon at its best precision; for `auto`, a hit
// worth about what it lacks to draw level with the other player, or a near miss when it leads.
double Cerveau::CibleDuCoup(const Vue& vue) const {
    const int autre = 1 - vue.joueur;
    const auto depuisLeBord = [&](double d) { return autre == 0 ? d : vue.terrain.largeur - d; };
    if (niveau_ != Niveau::Auto) return depuisLeBord(kCentreCible);
    const long retard = vue.scores[autre] - vue.scores[vue.joueur];
    const long parPoint = kBaseEssais - vue.essai;  // what one point of precision is worth now
    long precision = 0;
    long reste = std::labs(retard);
    for (long p = 1; p <= kPrecisionMaxi; ++p) {
        if (std::labs(retard - parPoint * p) < reste) {
            reste = std::labs(retard - parPoint * p);
            precision = p;
        }
    }
    // Past its tenth shot a hit no longer gains: it hits all the same, so that a battlefield
    // neither player can win ends, at the least cost.
    if (precision == 0 && vue.essai >= kBaseEssais) precision = kPrecisionSure;
    if (precision == 0) return depuisLeBord(kHorsZone);
    // The middle of the band that gives this precision, on the side facing the shooter.
    const double d = std::max(0.0, kCentreCible - kPasPrecision * (double(precision) + 0.5));
    return depuisLeBord(kCentreCible + d);
}

Choix Cerveau::Choisis(const Vue& vue) {
    const double cible = CibleDuCoup(vue);
    if (!champConnu_) erreur_ = std::normal_distribution<double>(0, StyleDe(niveau_).erreur)(des_);
    int ideale = 0;
    // `auto` picks its angle anew at each shot: the aims it can take at one angle land about
    // fifteen pixels apart, too coarse to choose the points of a hit.
    if (!champConnu_ || niveau_ == Niveau::Auto) {
        const Choix m = Meilleur(vue, cible);
        angle_ = m.angle;
        ideale = m.force;
    } else {
        ideale = ForcePour(vue, angle_, cible).first;
    }
    champConnu_ = true;
    const int force = static_cast<int>(std::lround(ideale + erreur_));
    return {angle_, std::clamp(force, 0, kForceMaxi)};
}

void Cerveau::Observe(const Vue& vue, const Choix& choix, const Impact& impact) {
    if (impact.issue == (vue.joueur == 0 ? Issue::ToucheB : Issue::ToucheA)) return;
    const Style style = StyleDe(niveau_);
    const double cible = CibleDuCoup(vue);
    // The force that would have brought the shell where it came down, against the one that
    // brings it to the cannon: what its aim was off by, as its impact shows it.
    const int ideale = ForcePour(vue, choix.angle, cible).first;
    if (impact.issue != Issue::Disparu) {
        erreur_ -= style.gain * (ForcePour(vue, choix.angle, impact.x).first - ideale);
    }
    erreur_ += std::normal_distribution<double>(0, style.bruit)(des_);
}

void Cerveau::NouveauChamp() {
    champConnu_ = false;
}

}  // namespace tir
