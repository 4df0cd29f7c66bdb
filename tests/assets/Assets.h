// Reading the committed assets for the tests: pictures as RGB32 images, wave files as samples.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

namespace tests_assets {

QString DossierImages();
QString DossierSons();

// The picture assets/images/<nom>.png, converted to RGB32 (null when missing or unreadable).
QImage Image(const QString& nom);
// The colour of a pixel as 0xRRGGBB.
unsigned Couleur(const QImage& image, int x, int y);

// What a wave file holds, as far as the game's player cares.
struct Wav {
    bool lisible = false;  // RIFF/WAVE with a fmt chunk and a data chunk
    int format = 0;        // 1 for PCM
    int voies = 0;
    int frequence = 0;
    int bits = 0;
    std::vector<std::int16_t> echantillons;

    double duree() const { return frequence > 0 ? double(echantillons.size()) / frequence : 0; }
};

Wav LitWav(const QString& chemin);
Wav LitWav(const QByteArray& octets);

}  // namespace tests_assets
