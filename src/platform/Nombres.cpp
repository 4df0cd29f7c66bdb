// Numbers and text as the game writes and reads them, and the 16-colour palette.
#include "platform/Nombres.h"

#include <array>
#include <cmath>
#include <limits>

namespace tir {

namespace {

constexpr int kCouleursPalette = 16;
constexpr std::array<Couleur, kCouleursPalette> kPalette = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

constexpr long kScoreMini = std::numeric_limits<std::int16_t>::min();
constexpr long kScoreMaxi = std::numeric_limits<std::int16_t>::max();

bool EstChiffre(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Index just past the digits that start at i.
qsizetype SauteChiffres(const QString& t, qsizetype i) {
    while (i < t.size() && EstChiffre(t[i])) ++i;
    return i;
}

// Index just past an exponent starting at i ("E+12"), or i itself when none follows.
qsizetype SauteExposant(const QString& t, qsizetype i) {
    if (i >= t.size() || (t[i] != QLatin1Char('E') && t[i] != QLatin1Char('e'))) return i;
    qsizetype j = i + 1;
    if (j < t.size() && (t[j] == QLatin1Char('+') || t[j] == QLatin1Char('-'))) ++j;
    const qsizetype fin = SauteChiffres(t, j);
    return fin > j ? fin : i;
}

}  // namespace

long Arrondi(double v) {
    // Out of range values are held at the limits rather than left undefined.
    constexpr double kMaxi = static_cast<double>(std::numeric_limits<long>::max());
    constexpr double kMini = static_cast<double>(std::numeric_limits<long>::min());
    if (std::isnan(v)) return 0;
    const double r = std::nearbyint(v);
    if (r >= kMaxi) return std::numeric_limits<long>::max();
    if (r <= kMini) return std::numeric_limits<long>::min();
    return static_cast<long>(r);
}

double Int(double v) {
    return std::floor(v);
}

double Val(const QString& texte) {
    qsizetype i = 0;
    while (i < texte.size() && (texte[i] == QLatin1Char(' ') || texte[i] == QLatin1Char('\t'))) {
        ++i;
    }
    const qsizetype debut = i;
    if (i < texte.size() && (texte[i] == QLatin1Char('+') || texte[i] == QLatin1Char('-'))) ++i;
    const qsizetype chiffres = i;
    i = SauteChiffres(texte, i);
    bool mantisse = i > chiffres;
    if (i < texte.size() && texte[i] == QLatin1Char('.')) {
        const qsizetype fraction = i + 1;
        const qsizetype fin = SauteChiffres(texte, fraction);
        if (fin > fraction || mantisse) i = fin;
        mantisse = mantisse || fin > fraction;
    }
    if (!mantisse) return 0.0;
    i = SauteExposant(texte, i);
    bool ok = false;
    const double v = texte.mid(debut, i - debut).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

QString TexteSimple(long n) {
    return QString::number(n);
}

QString TexteSigne(long n) {
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

Couleur QBColor(int i) {
    return kPalette[static_cast<std::size_t>(((i % kCouleursPalette) + kCouleursPalette) %
                                             kCouleursPalette)];
}

std::int16_t AjouteSature(std::int16_t valeur, long delta) {
    // Compared before adding so that a huge delta cannot overflow the sum itself.
    if (delta > kScoreMaxi - valeur) return static_cast<std::int16_t>(kScoreMaxi);
    if (delta < kScoreMini - valeur) return static_cast<std::int16_t>(kScoreMini);
    return static_cast<std::int16_t>(valeur + delta);
}

}  // namespace tir
