// The playing field's pictures: kept image, display, logical coordinates and change tracking.
#include "platform/Surface.h"

#include <QPainter>
#include <cmath>
#include <cstring>

#include "platform/Gdi.h"

namespace tir {

namespace {

QImage ImageUnie(int largeur, int hauteur, Couleur fond) {
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    image.fill(static_cast<quint32>(fond) | kOpaque);
    return image;
}

// The device pixel that holds a mapped point.
QPoint PixelDe(QPointF p) {
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

}  // namespace

Surface::Surface(int largeur, int hauteur, Couleur fond)
    : garde_(ImageUnie(largeur, hauteur, fond)),
      affichage_(ImageUnie(largeur, hauteur, fond)),
      x2_(largeur),
      y2_(hauteur),
      fond_(fond) {}

void Surface::SetAutoRedraw(bool on) {
    const bool coupe = autoRedraw_ && !on;
    autoRedraw_ = on;
    if (coupe) {
        Rattrape();
        AffichageChange();
    }
}

void Surface::Scale(double x1, double y1, double x2, double y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
}

// The game only ever draws in copy-pen mode (13); other modes are not supported and ignored.
void Surface::SetDrawMode(int /*mode*/) {}

QImage& Surface::Cible() {
    return autoRedraw_ ? garde_ : affichage_;
}
const QImage& Surface::Cible() const {
    return autoRedraw_ ? garde_ : affichage_;
}

void Surface::MarqueChange(const QRect& zone) {
    const QRect utile = zone & garde_.rect();
    if (utile.isEmpty()) return;
    QRect& suivi = autoRedraw_ ? gardeChange_ : affichageChange_;
    suivi |= utile;
    if (!autoRedraw_) ecranEnRetard_ |= utile;
}

QPoint Repere::Pixel(double x, double y) const {
    return PixelDe(VersPixels(x, y));
}

Couleur CouleurAu(const QImage& image, const Repere& repere, double x, double y) {
    const QPoint p = repere.Pixel(x, y);
    if (p.x() < 0 || p.y() < 0 || p.x() >= image.width() || p.y() >= image.height()) {
        return kAucune;
    }
    const auto* ligne = reinterpret_cast<const quint32*>(image.constScanLine(p.y()));
    return static_cast<Couleur>(ligne[p.x()] & kMasqueRgb);
}

QPointF Surface::VersPixels(double x, double y) const {
    return Reperage().VersPixels(x, y);
}

void Surface::Cls() {
    Cible().fill(static_cast<quint32>(fond_) | kOpaque);
    MarqueChange(garde_.rect());
    currentX_ = 0;
    currentY_ = 0;
}

void Surface::Line(double x1, double y1, double x2, double y2, Couleur c) {
    const QPoint a = PixelDe(VersPixels(x1, y1));
    const QPoint b = PixelDe(VersPixels(x2, y2));
    {
        QPainter p(&Cible());
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(VersQColor(c), drawWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        // Through the centres of the end pixels, so a thin line passes through the very pixels
        // that Point() reads at its ends.
        constexpr double kCentre = 0.5;
        p.drawLine(QPointF(a) + QPointF(kCentre, kCentre), QPointF(b) + QPointF(kCentre, kCentre));
    }
    const int marge = drawWidth_ + 1;
    MarqueChange(QRect(a, b).normalized().adjusted(-marge, -marge, marge, marge));
    currentX_ = x2;
    currentY_ = y2;
}

void Surface::LineTo(double x2, double y2, Couleur c) {
    Line(currentX_, currentY_, x2, y2, c);
}

void Surface::PSet(double x, double y, Couleur c) {
    const QPoint centre = PixelDe(VersPixels(x, y));
    const int d = drawWidth_;
    // The dot's centre: the pixel's centre for an odd width, its top-left corner for an even one,
    // so the dot is exactly d pixels across. A pixel belongs when its centre lies inside.
    const double decalage = (d % 2) ? 0.5 : 0.0;
    const double rayon2 = d * d / 4.0;
    const int premier = -(d / 2);
    QImage& image = Cible();
    const QRect bornes = image.rect();
    const quint32 couleur = static_cast<quint32>(c) | kOpaque;
    for (int dy = premier; dy < premier + d; ++dy) {
        const int r = centre.y() + dy;
        if (r < 0 || r >= image.height()) continue;
        auto* ligne = reinterpret_cast<quint32*>(image.scanLine(r));
        for (int dx = premier; dx < premier + d; ++dx) {
            const double ex = dx + 0.5 - decalage;
            const double ey = dy + 0.5 - decalage;
            const int col = centre.x() + dx;
            if (ex * ex + ey * ey <= rayon2 && bornes.contains(col, r)) ligne[col] = couleur;
        }
    }
    MarqueChange(QRect(centre.x() + premier, centre.y() + premier, d, d));
    currentX_ = x;
    currentY_ = y;
}

void Surface::PaintPicture(const QImage& picture, double x, double y,
                           std::optional<double> largeur) {
    if (picture.isNull()) return;
    const QPointF coin = VersPixels(x, y);
    const int col = static_cast<int>(Arrondi(coin.x()));
    const int ligne = static_cast<int>(Arrondi(coin.y()));
    // A logical width becomes a device width; its sign (after the scale's own direction) says
    // whether the picture is mirrored and extends leftwards.
    const int w = largeur ? static_cast<int>(Arrondi(*largeur * garde_.width() / (x2_ - x1_)))
                          : picture.width();
    if (w == 0) return;
    StretchBlt(Cible(), col, ligne, w, picture.height(), picture, 0, 0, picture.width(),
               picture.height(), Rop::SrcCopy);
    const QRect zone(w < 0 ? col + w : col, ligne, std::abs(w), picture.height());
    MarqueChange(zone);
}

Couleur Surface::Point(double x, double y) const {
    ++lecturesCouleur_;
    return CouleurAu(Cible(), Reperage(), x, y);
}

bool Surface::FloodFill(int colonne, int ligne, Couleur bord) {
    return tir::FloodFill(hDC(), colonne, ligne, bord, fillColor_);
}

QImage& Surface::hDC() {
    MarqueChange(garde_.rect());
    return Cible();
}

void Surface::Rattrape() {
    const QRect zone = (gardeChange_ | affichageChange_) & garde_.rect();
    gardeChange_ = QRect();
    affichageChange_ = QRect();
    if (zone.isEmpty()) return;
    ecranEnRetard_ |= zone;
    const std::size_t octets = static_cast<std::size_t>(zone.width()) * sizeof(quint32);
    for (int r = zone.top(); r <= zone.bottom(); ++r) {
        const auto* s = reinterpret_cast<const quint32*>(garde_.constScanLine(r)) + zone.left();
        auto* d = reinterpret_cast<quint32*>(affichage_.scanLine(r)) + zone.left();
        std::memcpy(d, s, octets);
    }
}

void Surface::EcranAJour(const QRegion& peint) {
    if ((QRegion(ecranEnRetard_) - peint).isEmpty()) ecranEnRetard_ = QRect();
}

void Surface::Refresh() {
    Rattrape();
    AffichageChange();
}

}  // namespace tir
