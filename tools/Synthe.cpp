#include "Synthe.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "Sonie.h"

namespace fabrique {

namespace {

// Every sound is written at one integrated loudness, so that none drowns the others; its peak
// must then stay at -1 dBFS or below, which the sounds are shaped for.
constexpr double kSonie = -20.0;
constexpr double kCreteMaxi = 0.89125094;
constexpr std::int16_t kPcm = 1;
constexpr std::int16_t kVoies = 1;
constexpr std::int16_t kBits = 16;

void Ajoute32(QByteArray& o, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) o.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Ajoute16(QByteArray& o, std::uint16_t v) {
    o.append(static_cast<char>(v & 0xFF));
    o.append(static_cast<char>(v >> 8));
}

QByteArray EnTete(std::uint32_t octetsDeDonnees) {
    constexpr std::uint32_t kOctetsParEchantillon = kVoies * kBits / 8;
    QByteArray o;
    o.append("RIFF");
    Ajoute32(o, 36 + octetsDeDonnees);
    o.append("WAVEfmt ");
    Ajoute32(o, 16);
    Ajoute16(o, kPcm);
    Ajoute16(o, kVoies);
    Ajoute32(o, kFrequence);
    Ajoute32(o, kFrequence * kOctetsParEchantillon);
    Ajoute16(o, kOctetsParEchantillon);
    Ajoute16(o, kBits);
    o.append("data");
    Ajoute32(o, octetsDeDonnees);
    return o;
}

}  // namespace

void Fondu(Echantillons& son, double entreeMs, double sortieMs) {
    const auto n = static_cast<int>(son.size());
    const int entree = std::min(n, NbEchantillons(entreeMs / 1000));
    const int sortie = std::min(n, NbEchantillons(sortieMs / 1000));
    for (int i = 0; i < entree; ++i) son[i] *= static_cast<double>(i) / entree;
    for (int i = 0; i < sortie; ++i) son[n - 1 - i] *= static_cast<double>(i) / sortie;
}

void Mixe(Echantillons& dans, const Echantillons& son, double debut, double gain) {
    const auto depart = static_cast<std::size_t>(NbEchantillons(debut));
    if (dans.size() < depart + son.size()) dans.resize(depart + son.size(), 0.0);
    for (std::size_t i = 0; i < son.size(); ++i) dans[depart + i] += gain * son[i];
}

bool EcritWav(const QString& chemin, const Echantillons& son) {
    double crete = 0;
    for (double v : son) crete = std::max(crete, std::abs(v));
    if (crete <= 0) return false;
    const double gain = std::pow(10.0, (kSonie - Sonie(son, kFrequence)) / 20.0);
    if (gain * crete > kCreteMaxi) {
        std::fprintf(stderr, "%s: peak at %.1f dBFS at the common loudness\n", qPrintable(chemin),
                     20 * std::log10(gain * crete));
        return false;
    }
    const double echelle = gain * 32767.0;
    QByteArray donnees;
    for (double v : son) {
        Ajoute16(donnees,
                 static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * echelle))));
    }
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QByteArray tout = EnTete(static_cast<std::uint32_t>(donnees.size())) + donnees;
    return f.write(tout) == tout.size();
}

}  // namespace fabrique
