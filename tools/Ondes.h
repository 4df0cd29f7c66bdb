// The game's sound effects: synthesised, then written as 16-bit mono PCM wave files.
#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace fabrique {

// Mono samples in [-1, 1] at kFrequence samples a second.
using Echantillons = std::vector<double>;
inline constexpr int kFrequence = 22050;

// The seven sounds under their file names, in the order of the game's catalogue.
std::vector<std::pair<QString, Echantillons>> Sons();

// Writes a RIFF wave file (PCM, 16 bits, mono, kFrequence) at the loudness common to all the
// sounds. Fails, saying so, when the sound would then peak above -1 dBFS.
bool EcritWav(const QString& chemin, const Echantillons& son);

}  // namespace fabrique
