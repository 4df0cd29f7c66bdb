// The two tunes: a brass fanfare for the winner and a peal of bells for a new record.
#include <algorithm>
#include <array>
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

// Loudness of a brass note: a quick swell, a small accent that settles, and a smooth release
// after the note's length, so no step in the level is ever heard as a click.
double Souffle(double t, double duree) {
    constexpr double kMontee = 0.03;
    constexpr double kRelache = 0.025;
    const double tenue = std::min(1.0, t / kMontee) * (0.85 + 0.15 * std::exp(-t / 0.1));
    if (t < duree) return tenue;
    return (0.85 + 0.15 * std::exp(-duree / 0.1)) * std::exp(-(t - duree) / kRelache);
}

// A brass-like voice: a sawtooth whose upper harmonics open with the breath, a slight rise into
// the pitch at the start, and a vibrato that comes in late.
Echantillons Cuivre(double duree, double frequence) {
    constexpr double kQueue = 0.12;
    Phase phase;
    Echantillons son(NbEchantillons(duree + kQueue));
    for (std::size_t i = 0; i < son.size(); ++i) {
        const double t = Instant(static_cast<int>(i));
        const double souffle = Souffle(t, duree);
        const double vibrato = 1 + 0.006 * std::min(1.0, t / 0.3) * std::sin(kDeuxPi * 5.5 * t);
        const double attaque = 1 - 0.03 * std::exp(-t / 0.03);
        const double p = phase.avance(frequence * vibrato * attaque);
        double v = 0;
        for (int k = 1; k * frequence < kFrequence / 2.5; ++k) {
            v += std::sin(kDeuxPi * k * p) / k * std::exp(-k / (1.0 + 9.0 * souffle));
        }
        son[i] = v * souffle;
    }
    Fondu(son, 0, 10);
    return son;
}

// A bell: a few partials, the upper ones slightly stretched and dying sooner than the body.
// Partials that would pass half the sampling rate are left out, so nothing folds back.
Echantillons Cloche(double duree, double frequence) {
    struct Partiel {
        double rapport;
        double niveau;
        double constante;
    };
    constexpr std::array<Partiel, 5> kPartiels{
        {{1.0, 1.0, 0.45}, {2.0, 0.5, 0.3}, {3.0, 0.3, 0.2}, {4.2, 0.2, 0.12}, {5.4, 0.12, 0.08}}};
    Echantillons son(NbEchantillons(duree));
    for (const Partiel& p : kPartiels) {
        const double f = frequence * p.rapport;
        if (f > kFrequence * 0.45) continue;
        for (std::size_t i = 0; i < son.size(); ++i) {
            const double t = Instant(static_cast<int>(i));
            son[i] += p.niveau * std::sin(kDeuxPi * f * t) * Percussion(t, 0.002, p.constante);
        }
    }
    Fondu(son, 1, 30);
    return son;
}

// A soft organ chord that swells under the bells: pure harmonics, slow attack.
Echantillons Orgue(double duree, double frequence) {
    Echantillons son(NbEchantillons(duree));
    for (std::size_t i = 0; i < son.size(); ++i) {
        const double t = Instant(static_cast<int>(i));
        double v = 0;
        for (int k = 1; k <= 4; ++k) v += std::sin(kDeuxPi * k * frequence * t) / (k * k);
        son[i] = v * std::min(1.0, t / 0.15) * std::exp(-t / 0.8);
    }
    Fondu(son, 0, 60);
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
    for (double f : {kRe5 / 2, kLa5 / 2, kRe5, kFad5}) Mixe(son, Orgue(1.05, f), 0.95, 0.35);
    son.resize(NbEchantillons(2.0), 0.0);
    Fondu(son, 1, 120);
    return son;
}

}  // namespace fabrique
