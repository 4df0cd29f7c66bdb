#include "Toile.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace fabrique {

namespace {

// Pixel (x, y) is taken at its centre.
constexpr double kCentre = 0.5;

bool DansLePolygone(const std::vector<Point>& s, double x, double y) {
    bool dedans = false;
    for (std::size_t i = 0, j = s.size() - 1; i < s.size(); j = i++) {
        const bool croise = (s[i].y > y) != (s[j].y > y);
        if (croise && x < (s[j].x - s[i].x) * (y - s[i].y) / (s[j].y - s[i].y) + s[i].x) {
            dedans = !dedans;
        }
    }
    return dedans;
}

double DistanceAuSegment(Point a, Point b, double x, double y) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / l2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

}  // namespace

Forme Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double u = (x - cx) / rx;
        const double v = (y - cy) / ry;
        return u * u + v * v <= 1.0;
    };
}

Forme Disque(double cx, double cy, double r) {
    return Ellipse(cx, cy, r, r);
}

Forme Rectangle(double gauche, double haut, double droite, double bas) {
    return [=](double x, double y) { return x >= gauche && x < droite && y >= haut && y < bas; };
}

Forme Polygone(std::vector<Point> sommets) {
    return [s = std::move(sommets)](double x, double y) { return DansLePolygone(s, x, y); };
}

Forme Trait(Point a, Point b, double largeur) {
    return [=](double x, double y) { return DistanceAuSegment(a, b, x, y) <= largeur / 2; };
}

Forme Union(Forme a, Forme b) {
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Forme Inter(Forme a, Forme b) {
    return [=](double x, double y) { return a(x, y) && b(x, y); };
}

Forme Moins(Forme a, Forme b) {
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

Forme Decale(Forme f, double dx, double dy) {
    return [=](double x, double y) { return f(x - dx, y - dy); };
}

Forme Tourne(Forme f, Point centre, double degres) {
    const double a = -degres * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    return [=](double x, double y) {
        const double u = x - centre.x;
        const double v = y - centre.y;
        return f(centre.x + u * c - v * s, centre.y + u * s + v * c);
    };
}

Forme Agrandit(Forme f, double facteur) {
    return [=](double x, double y) { return f(x / facteur, y / facteur); };
}

Toile::Toile(int largeur, int hauteur, QRgb fond) : image_(largeur, hauteur, QImage::Format_RGB32) {
    image_.fill(fond);
}

Toile Toile::Transparente(int largeur, int hauteur) {
    Toile t(largeur, hauteur, 0);
    t.image_ = QImage(largeur, hauteur, QImage::Format_ARGB32);
    t.image_.fill(Qt::transparent);
    return t;
}

bool Toile::dedans(int x, int y) const {
    return x >= 0 && y >= 0 && x < largeur() && y < hauteur();
}

QRgb Toile::pixel(int x, int y) const {
    return image_.pixel(x, y) & RGB_MASK;
}

void Toile::point(int x, int y, QRgb couleur) {
    if (dedans(x, y)) image_.setPixel(x, y, couleur | ~RGB_MASK);
}

void Toile::peindre(const Forme& forme, QRgb couleur) {
    for (int y = 0; y < hauteur(); ++y) {
        for (int x = 0; x < largeur(); ++x) {
            if (forme(x + kCentre, y + kCentre)) point(x, y, couleur);
        }
    }
}

void Toile::modeler(const Forme& forme, const Teintes& teintes, int epaisseur) {
    for (int y = 0; y < hauteur(); ++y) {
        for (int x = 0; x < largeur(); ++x) {
            const double cx = x + kCentre;
            const double cy = y + kCentre;
            if (!forme(cx, cy)) continue;
            QRgb c = teintes.moyenne;
            if (!forme(cx + epaisseur, cy + epaisseur) || !forme(cx, cy + epaisseur)) {
                c = teintes.sombre;
            } else if (!forme(cx - epaisseur, cy - epaisseur) || !forme(cx, cy - epaisseur)) {
                c = teintes.claire;
            }
            point(x, y, c);
        }
    }
}

void Toile::cerner(const Forme& forme, QRgb couleur) {
    for (int y = 0; y < hauteur(); ++y) {
        for (int x = 0; x < largeur(); ++x) {
            const double cx = x + kCentre;
            const double cy = y + kCentre;
            if (forme(cx, cy)) continue;
            if (forme(cx + 1, cy) || forme(cx - 1, cy) || forme(cx, cy + 1) || forme(cx, cy - 1)) {
                point(x, y, couleur);
            }
        }
    }
}

bool Toile::sauver(const QString& chemin) const {
    return image_.save(chemin, "PNG");
}

}  // namespace fabrique
