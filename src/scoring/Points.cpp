// The precision of a hit and the points it brings.
#include "scoring/Points.h"

#include <cmath>

namespace tir {

namespace {

constexpr double kCentreCible = 34;    // pixels from the outer edge where a hit scores best
constexpr double kPasPrecision = 3.4;  // one point of precision less per 3.4 pixels off
constexpr int kBaseEssais = 10;        // the gain multiplier is 10 less the shots fired

}  // namespace

int Precision(double x) {
    const double d = std::fabs(kCentreCible - x);
    const double p = std::floor((kCentreCible - d) / kPasPrecision);
    return p < 1 ? 1 : static_cast<int>(p);
}

long Points(int cote, int joueur, double xImpact, int largeur, int nbEssais) {
    const double x = cote == 0 ? xImpact : largeur - xImpact;
    const long p = Precision(x);
    return joueur == cote ? -p : (kBaseEssais - nbEssais) * p;
}

}  // namespace tir
