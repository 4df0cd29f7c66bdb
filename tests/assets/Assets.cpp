#include "Assets.h"

#include <QFile>
#include <cstring>

namespace tests_assets {

namespace {

std::uint32_t Lit32(const QByteArray& o, qsizetype i) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<std::uint8_t>(o[i + k]);
    return v;
}

std::uint16_t Lit16(const QByteArray& o, qsizetype i) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(o[i]) |
                                      (static_cast<std::uint8_t>(o[i + 1]) << 8));
}

void LitFormat(const QByteArray& o, qsizetype i, Wav& w) {
    w.format = Lit16(o, i);
    w.voies = Lit16(o, i + 2);
    w.frequence = static_cast<int>(Lit32(o, i + 4));
    w.bits = Lit16(o, i + 14);
}

void LitDonnees(const QByteArray& o, qsizetype i, std::uint32_t taille, Wav& w) {
    w.echantillons.resize(taille / 2);
    std::memcpy(w.echantillons.data(), o.constData() + i, w.echantillons.size() * 2);
}

}  // namespace

QString DossierImages() {
    return QStringLiteral(TIR_SOURCE_DIR "/assets/images/");
}
QString DossierSons() {
    return QStringLiteral(TIR_SOURCE_DIR "/assets/sons/");
}

QImage Image(const QString& nom) {
    return QImage(DossierImages() + nom + ".png").convertToFormat(QImage::Format_RGB32);
}

unsigned Couleur(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

Wav LitWav(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return LitWav(f.readAll());
}

Wav LitWav(const QByteArray& o) {
    Wav w;
    if (o.size() < 12 || !o.startsWith("RIFF") || o.mid(8, 4) != "WAVE") return w;
    bool format = false;
    bool donnees = false;
    for (qsizetype i = 12; i + 8 <= o.size();) {
        const QByteArray id = o.mid(i, 4);
        const std::uint32_t taille = Lit32(o, i + 4);
        if (i + 8 + static_cast<qsizetype>(taille) > o.size()) return w;
        if (id == "fmt " && taille >= 16) {
            LitFormat(o, i + 8, w);
            format = true;
        } else if (id == "data") {
            LitDonnees(o, i + 8, taille, w);
            donnees = true;
        }
        i += 8 + taille + (taille & 1);
    }
    w.lisible = format && donnees;
    return w;
}

}  // namespace tests_assets
