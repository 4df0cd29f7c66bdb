// The noises of the battle: the turning cannon, the two launches, the explosion, the fire.
#include "Bruitages.h"

#include <algorithm>

#include "Synthe.h"

namespace fabrique {

Echantillons Servo() {
    constexpr double kDuree = 0.35;
    Hasard hasard(0x5E2B0);
    Phase moteur;
    Phase engrenage;
    PasseBas filtre;
    Echantillons son(NbEchantillons(kDuree));
    for (std::size_t i = 0; i < son.size(); ++i) {
        const double t = Instant(static_cast<int>(i));
        // The motor spins up, holds, and winds down at the end.
        const double elan = std::min(1.0, t / 0.07) * std::min(1.0, (kDuree - t) / 0.08 + 0.4);
        const double f = 90 + 150 * elan + 6 * std::sin(kDeuxPi * 23 * t);
        const double p = moteur.avance(f);
        double v = 0;
        for (int k = 1; k <= 7; ++k) v += std::sin(kDeuxPi * k * p) / k;
        const double whine = 0.35 * std::sin(kDeuxPi * engrenage.avance(f * 7.5));
        const double frottement =
            0.25 * filtre(Bruit(hasard), 2500) * (0.6 + 0.4 * std::sin(kDeuxPi * p));
        son[i] = (0.5 * v + whine + frottement) * (0.3 + 0.7 * elan);
    }
    Fondu(son, 8, 25);
    return son;
}

Echantillons Trnmurax() {
    constexpr double kDuree = 0.6;
    Hasard hasard(0xB00F);
    Phase corps;
    PasseBas souffle;
    PasseBas grondement1;
    PasseBas grondement2;
    Echantillons son(NbEchantillons(kDuree));
    for (std::size_t i = 0; i < son.size(); ++i) {
        const double t = Instant(static_cast<int>(i));
        // A deep thump whose pitch falls, the crack of the charge, and the rumble after it. The
        // thump is driven into saturation so that its overtones carry on small speakers.
        const double f = 42 + 100 * std::exp(-t / 0.05);
        const double coup =
            std::tanh(2.5 * std::sin(kDeuxPi * corps.avance(f))) * Percussion(t, 0.003, 0.17);
        const double claque = souffle(Bruit(hasard), 250 + 2500 * std::exp(-t / 0.025));
        const double roule = grondement2(grondement1(Bruit(hasard), 160), 160);
        son[i] = coup + 1.2 * claque * Percussion(t, 0.002, 0.04) +
                 6.0 * roule * Percussion(t, 0.01, 0.2);
    }
    Fondu(son, 2, 60);
    return son;
}

Echantillons Photon() {
    constexpr double kDuree = 0.6;
    Phase porteuse;
    Phase modulante;
    Phase double_;
    Echantillons son(NbEchantillons(kDuree));
    for (std::size_t i = 0; i < son.size(); ++i) {
        const double t = Instant(static_cast<int>(i));
        // A bright tone that dives from high to low, rippled by a fast vibrato.
        const double f = 150 + 1300 * std::exp(-t / 0.12);
        const double vibrato = 1 + 0.04 * std::sin(kDeuxPi * 38 * t);
        const double indice = 1.8 * std::exp(-t / 0.2);
        const double m = indice * std::sin(kDeuxPi * modulante.avance(f * 1.5 * vibrato));
        const double a = std::sin(kDeuxPi * porteuse.avance(f * vibrato) + m);
        const double b = std::sin(kDeuxPi * double_.avance(f * 1.007 * vibrato) + 0.5 * m);
        son[i] = (a + 0.6 * b) * Percussion(t, 0.006, 0.22);
    }
    Fondu(son, 3, 40);
    return son;
}

Echantillons Explosion() {
    constexpr double kDuree = 1.2;
    constexpr double kCorps = 0.85;
    constexpr double kSaturation = 1.0;
    Hasard hasard(0xE4B105);
    PasseBas eclat1;
    PasseBas eclat2;
    PasseBas sourd1;
    PasseBas sourd2;
    Phase sub;
    Echantillons son(NbEchantillons(kDuree));
    for (std::size_t i = 0; i < son.size(); ++i) {
        const double t = Instant(static_cast<int>(i));
        // The blast: noise whose brightness falls fast, over a low rumble that holds for most
        // of a second before it dies away. The sum is driven softly into saturation, as a
        // loudspeaker would be, so the rumble's body stays loud next to the crack.
        const double coupure = 250 + 5000 * std::exp(-t / 0.07);
        const double souffle = eclat2(eclat1(Bruit(hasard), coupure), coupure);
        const double roule = sourd2(sourd1(Bruit(hasard), 140), 140);
        const double basse = std::sin(kDeuxPi * sub.avance(30 + 40 * std::exp(-t / 0.1)));
        const double tenue =
            t < kCorps ? 1 - 0.35 * t / kCorps : 0.65 * std::exp(-(t - kCorps) / 0.12);
        const double melange = 1.6 * souffle * Percussion(t, 0.003, 0.18) +
                               9.0 * roule * std::min(1.0, t / 0.02) * tenue +
                               0.6 * basse * Percussion(t, 0.004, 0.3);
        son[i] = std::tanh(kSaturation * melange);
    }
    Fondu(son, 2, 150);
    return son;
}

Echantillons Flammes() {
    constexpr double kDuree = 3.0;
    constexpr double kCrepitementsParSeconde = 32;
    Hasard hasard(0xF1A3E5);
    PasseBas feu1;
    PasseBas feu2;
    PasseBas clic;
    Echantillons son(NbEchantillons(kDuree));
    double eclat = 0;
    for (std::size_t i = 0; i < son.size(); ++i) {
        const double t = Instant(static_cast<int>(i));
        // The roar of the fire, breathing slowly, with sharp crackles scattered over it.
        const double souffle =
            1 + 0.35 * std::sin(kDeuxPi * 0.9 * t) + 0.2 * std::sin(kDeuxPi * 2.3 * t);
        const double roar = feu2(feu1(Bruit(hasard), 500), 500) * souffle;
        if (hasard.tirage() < kCrepitementsParSeconde / kFrequence) eclat = hasard.entre(0.2, 1.0);
        eclat *= 0.9;
        const double n = Bruit(hasard);
        const double crepite = (n - clic(n, 1500)) * eclat;
        son[i] = 3.5 * roar + 0.9 * crepite;
    }
    Fondu(son, 80, 300);
    return son;
}

}  // namespace fabrique
