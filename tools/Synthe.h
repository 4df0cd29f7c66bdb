// Building blocks of the sound synthesis: time, envelopes, simple filters, noise and mixing.
#pragma once

#include <cmath>
#include <numbers>

#include "Hasard.h"
#include "Ondes.h"

namespace fabrique {

inline constexpr double kDeuxPi = 2 * std::numbers::pi;

inline int NbEchantillons(double secondes) {
    return static_cast<int>(std::lround(secondes * kFrequence));
}
inline double Instant(int i) {
    return static_cast<double>(i) / kFrequence;
}

// A one-pole low-pass filter; its cut-off may change at every sample.
class PasseBas {
  public:
    double operator()(double x, double coupure) {
        const double a = 1 - std::exp(-kDeuxPi * coupure / kFrequence);
        y_ += a * (x - y_);
        return y_;
    }

  private:
    double y_ = 0;
};

// An oscillator that keeps its phase while its frequency glides.
class Phase {
  public:
    // Advances by one sample at the given frequency and returns the phase in turns [0, 1).
    double avance(double frequence) {
        tours_ += frequence / kFrequence;
        tours_ -= std::floor(tours_);
        return tours_;
    }

  private:
    double tours_ = 0;
};

// White noise in [-1, 1).
inline double Bruit(Hasard& h) {
    return h.entre(-1.0, 1.0);
}

// Rises from 0 to 1 over the attack, then falls away with the given time constant.
inline double Percussion(double t, double attaque, double constante) {
    if (t < attaque) return t / attaque;
    return std::exp(-(t - attaque) / constante);
}

// Fades the first and last milliseconds in and out, so the sound starts and ends on silence.
void Fondu(Echantillons& son, double entreeMs, double sortieMs);

// Adds a sound into another from a start time, growing it when needed.
void Mixe(Echantillons& dans, const Echantillons& son, double debut, double gain);

}  // namespace fabrique
