// Block copies and flood fill in device pixels, by direct pixel loops on RGB32 images.
#include "platform/Gdi.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tir {

namespace {

// The colour channels are combined; the unused top byte of RGB32 stays opaque.
inline quint32 Combine(quint32 d, quint32 s, Rop rop) {
    switch (rop) {
        case Rop::SrcAnd:
            return d & s;
        case Rop::SrcInvert:
            return (d ^ s) | kOpaque;
        case Rop::SrcCopy:
            break;
    }
    return s;
}

void CombineLigne(quint32* d, const quint32* s, int n, Rop rop) {
    switch (rop) {
        case Rop::SrcCopy:
            std::memmove(d, s, static_cast<std::size_t>(n) * sizeof(quint32));
            return;
        case Rop::SrcAnd:
            for (int i = 0; i < n; ++i) d[i] &= s[i];
            return;
        case Rop::SrcInvert:
            for (int i = 0; i < n; ++i) d[i] = (d[i] ^ s[i]) | kOpaque;
            return;
    }
}

void VersRgb32(QImage& image) {
    if (image.format() != QImage::Format_RGB32) {
        image = image.convertToFormat(QImage::Format_RGB32);
    }
}

// Narrows a run [a, a + n) on one axis so that it lies inside [0, limite), moving the other
// image's start b along with it.
void Rogne(int& a, int& b, int& n, int limite) {
    if (a < 0) {
        b -= a;
        n += a;
        a = 0;
    }
    n = std::min(n, limite - a);
}

// One axis of a stretched copy: the start of the target run (normalised to a positive extent)
// and, for each target pixel, the source offset it samples.
struct Axe {
    int debut = 0;
    std::vector<int> source;
};

Axe Echantillonne(int cible, int etendue, int etendueSource) {
    Axe axe;
    const int t = std::abs(etendue);
    const int s = std::abs(etendueSource);
    const bool miroir = (etendue < 0) != (etendueSource < 0);
    axe.debut = etendue < 0 ? cible + etendue : cible;
    axe.source.resize(static_cast<std::size_t>(t));
    for (int i = 0; i < t; ++i) {
        // Nearest source pixel, ties to the lower one: ceil((i + 0.5) * s / t) - 1. A mirrored
        // copy samples the same pixels as a plain one, read from the other end.
        const long long num = (2LL * i + 1) * s;
        const int k = static_cast<int>((num + 2LL * t - 1) / (2LL * t)) - 1;
        axe.source[static_cast<std::size_t>(i)] = miroir ? s - 1 - k : k;
    }
    return axe;
}

// The scanline fill over one image. `Suivi`: whether reached pixels must be recorded, because
// the fill colour differs from the border's and a filled pixel would not stop the fill by itself.
template <bool Suivi>
class Remplissage {
  public:
    Remplissage(QImage& image, quint32 frontiere, quint32 couleur)
        : bits_(image.bits()),
          ligne_(image.bytesPerLine()),
          w_(image.width()),
          h_(image.height()),
          frontiere_(frontiere),
          couleur_(couleur),
          vu_(Suivi ? static_cast<std::size_t>(w_) * static_cast<std::size_t>(h_) : 0, 0) {}

    void Depuis(int x, int y) {
        graines_.emplace_back(x, y);
        while (!graines_.empty()) {
            const auto [gx, gy] = graines_.back();
            graines_.pop_back();
            quint32* p = Ligne(gy);
            if (!Libre(p, gy, gx)) continue;
            int g = gx;
            int d = gx;
            while (g > 0 && Libre(p, gy, g - 1)) --g;
            while (d < w_ - 1 && Libre(p, gy, d + 1)) ++d;
            std::fill(p + g, p + d + 1, couleur_);
            if constexpr (Suivi) std::fill(Vu(gy) + g, Vu(gy) + d + 1, 1);
            if (gy > 0) Seme(gy - 1, g, d);
            if (gy < h_ - 1) Seme(gy + 1, g, d);
        }
    }

  private:
    quint32* Ligne(int r) const { return reinterpret_cast<quint32*>(bits_ + r * ligne_); }
    unsigned char* Vu(int r) { return vu_.data() + static_cast<std::size_t>(r) * w_; }
    bool Libre(const quint32* p, int r, int c) {
        if ((p[c] & kMasqueRgb) == frontiere_) return false;
        if constexpr (Suivi) return !Vu(r)[c];
        return true;
    }
    // One seed per run of free pixels of row r between columns g and d.
    void Seme(int r, int g, int d) {
        const quint32* p = Ligne(r);
        for (int c = g; c <= d;) {
            while (c <= d && !Libre(p, r, c)) ++c;
            if (c > d) return;
            graines_.emplace_back(c, r);
            while (c <= d && Libre(p, r, c)) ++c;
        }
    }

    uchar* bits_;
    qsizetype ligne_;
    int w_, h_;
    quint32 frontiere_, couleur_;
    std::vector<unsigned char> vu_;
    std::vector<std::pair<int, int>> graines_;
};

}  // namespace

bool BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, Rop rop) {
    if (w <= 0 || h <= 0 || dst.isNull() || src.isNull()) return false;
    VersRgb32(dst);
    Rogne(x, sx, w, dst.width());
    Rogne(sx, x, w, src.width());
    Rogne(y, sy, h, dst.height());
    Rogne(sy, y, h, src.height());
    if (w <= 0 || h <= 0) return false;
    uchar* bits = dst.bits();
    // A copy within one image reads from a snapshot, so overlapping blocks come out whole.
    const QImage source = src.constBits() == bits || src.format() != QImage::Format_RGB32
                              ? src.copy(sx, sy, w, h).convertToFormat(QImage::Format_RGB32)
                              : QImage();
    const QImage& lu = source.isNull() ? src : source;
    const int lx = source.isNull() ? sx : 0;
    const int ly = source.isNull() ? sy : 0;
    for (int r = 0; r < h; ++r) {
        auto* d =
            reinterpret_cast<quint32*>(bits + static_cast<qsizetype>(y + r) * dst.bytesPerLine()) +
            x;
        const auto* s = reinterpret_cast<const quint32*>(lu.constScanLine(ly + r)) + lx;
        CombineLigne(d, s, w, rop);
    }
    return true;
}

bool StretchBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw,
                int sh, Rop rop) {
    if (w == 0 || h == 0 || sw == 0 || sh == 0 || dst.isNull() || src.isNull()) return false;
    VersRgb32(dst);
    const QImage source = src.format() == QImage::Format_RGB32 && src.constBits() != dst.constBits()
                              ? src
                              : src.convertToFormat(QImage::Format_RGB32).copy();
    const Axe colonnes = Echantillonne(x, w, sw);
    const Axe lignes = Echantillonne(y, h, sh);
    const int sx0 = sw < 0 ? sx + sw : sx;
    const int sy0 = sh < 0 ? sy + sh : sy;
    // The columns that fall inside both images, worked out once for every row.
    std::vector<std::pair<int, int>> paires;
    for (std::size_t c = 0; c < colonnes.source.size(); ++c) {
        const int tx = colonnes.debut + static_cast<int>(c);
        const int lx = sx0 + colonnes.source[c];
        if (tx >= 0 && tx < dst.width() && lx >= 0 && lx < source.width())
            paires.emplace_back(tx, lx);
    }
    bool dessine = false;
    for (std::size_t r = 0; r < lignes.source.size() && !paires.empty(); ++r) {
        const int ty = lignes.debut + static_cast<int>(r);
        const int ly = sy0 + lignes.source[r];
        if (ty < 0 || ty >= dst.height() || ly < 0 || ly >= source.height()) continue;
        auto* d = reinterpret_cast<quint32*>(dst.scanLine(ty));
        const auto* s = reinterpret_cast<const quint32*>(source.constScanLine(ly));
        for (const auto& [tx, lx] : paires) d[tx] = Combine(d[tx], s[lx], rop);
        dessine = true;
    }
    return dessine;
}

bool FloodFill(QImage& image, int x, int y, Couleur bord, Couleur remplissage) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return false;
    VersRgb32(image);
    const quint32 frontiere = static_cast<quint32>(bord) & kMasqueRgb;
    const quint32 couleur = (static_cast<quint32>(remplissage) & kMasqueRgb) | kOpaque;
    const auto* graine = reinterpret_cast<const quint32*>(image.constScanLine(y)) + x;
    if ((*graine & kMasqueRgb) == frontiere) return false;
    // When the fill colour is the border's (as for the landscape's layers) a filled pixel stops
    // the fill by itself, and no record of reached pixels is needed.
    if ((couleur & kMasqueRgb) == frontiere) {
        Remplissage<false>(image, frontiere, couleur).Depuis(x, y);
    } else {
        Remplissage<true>(image, frontiere, couleur).Depuis(x, y);
    }
    return true;
}

}  // namespace tir
