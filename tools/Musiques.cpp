// The two tunes: a brass fanfare for the winner and a peal of bells for a new record.
#include <algorithm>
#include <vector>

#include "Bruitages.h"
#include "Synthe.h"

namespace fabrique {

namespace {

// A note of a tune: start and length in seconds, pitch in hertz.
struct Note {
    double debut;
    double duree;
    double frequence;
};

// A brass-like voice: a sawtooth whose upper harmonics open with the breath, a slight rise into
// the pitch at the start, and a vibrato that comes in late.
Echantillons Cuivre(double duree, double frequence) {
    constexpr double kRelache = 0.08;
    Phase phase;
    Echantillons son(NbEchantillons(duree + kRelache));
    for (std::size_t i = 0; i < son.size(); ++i) {
        const double t = Instant(static_cast<int>(i));
        const double souffle =
            std::min(1.0, t / 0.03) *
            (t < duree ? 0.85 + 0.15 * std::exp(-t / 0.1) : std::exp(-(t - duree) / 0.025));
        const double vibrato = 1 + 0.006 * std::min(1.0, t / 0.3) * std::sin(kDeuxPi * 5.5 * t);
        const double attaque = 1 - 0.03 * std::exp(-t / 0.03);
        const double p = phase.avance(frequence * vibrato * attaque);
        double v = 0;
        for (int k = 1; k * frequence < kFrequence / 2.5; ++k) {
            v += std::sin(kDeuxPi * k * p) / k * std::exp(-k / (1.0 + 9.0 * souffle));
        }
        son[i] = v * souffle;
    }
    return son;
}

// A bell: a frequency-modulated tone whose brightness dies faster than its body.
Echantillons Cloche(double duree, double frequence) {
    Phase porteuse;
    Phase modulante;
    Echantillons son(NbEchantillons(duree));
    for (std::size_t i = 0; i < son.size(); ++i) {
        const double t = Instant(static_cast<int>(i));
        const double indice = 3.0 * std::exp(-t / 0.12);
        const double m = indice * std::sin(kDeuxPi * modulante.avance(frequence * 3.5));
        son[i] = std::sin(kDeuxPi * porteuse.avance(frequence) + m) * Percussion(t, 0.002, 0.35);
    }
    Fondu(son, 1, 20);
    return son;
}

// Pitches of the tunes (equal temperament, A = 440 Hz).
constexpr double kSol4 = 392.00;
constexpr double kDo5 = 523.25;
constexpr double kMi5 = 659.26;
constexpr double kSol5 = 783.99;
constexpr double kRe5 = 587.33;
constexpr double kFad5 = 739.99;
constexpr double kLa5 = 880.00;
constexpr double kSi5 = 987.77;
constexpr double kRe6 = 1174.66;
constexpr double kFad6 = 1479.98;
constexpr double kLa6 = 1760.00;

}  // namespace

Echantillons Fanfare() {
    const std::vector<Note> notes{{0.00, 0.13, kSol4}, {0.16, 0.13, kDo5}, {0.32, 0.13, kMi5},
                                  {0.48, 0.40, kSol5}, {0.94, 0.13, kMi5}, {1.10, 1.25, kSol5},
                                  {1.10, 1.25, kMi5},  {1.10, 1.25, kDo5}, {1.10, 1.25, kSol4}};
    Echantillons son;
    for (const Note& n : notes) Mixe(son, Cuivre(n.duree, n.frequence), n.debut, 1.0);
    Fondu(son, 2, 40);
    return son;
}

Echantillons Alleluia() {
    const std::vector<double> montee{kRe5, kFad5, kLa5, kRe6, kFad6, kLa6};
    Echantillons son;
    for (std::size_t i = 0; i < montee.size(); ++i) {
        Mixe(son, Cloche(0.6, montee[i]), 0.08 * static_cast<double>(i), 1.0);
    }
    // A quick trill at the top, then the whole chord rings out.
    for (int i = 0; i < 6; ++i) {
        Mixe(son, Cloche(0.3, i % 2 == 0 ? kLa5 : kSi5), 0.55 + 0.06 * i, 0.6);
    }
    for (double f : {kRe5, kFad5, kLa5, kRe6, kFad6}) Mixe(son, Cloche(1.05, f), 0.95, 0.8);
    son.resize(NbEchantillons(2.0), 0.0);
    Fondu(son, 1, 120);
    return son;
}

}  // namespace fabrique
