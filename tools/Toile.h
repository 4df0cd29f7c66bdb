// Pixel drawing for the game's pictures: shapes are predicates on pixel centres, painted in
// solid colours with no antialiasing, so every edge pixel is a clean colour (the game compares
// colours exactly: the sky is 00FFFF and nothing else).
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

namespace fabrique {

// A shape: true for the points (x right, y down, in pixels) that lie inside it.
using Forme = std::function<bool(double x, double y)>;

struct Point {
    double x;
    double y;
};

Forme Ellipse(double cx, double cy, double rx, double ry);
Forme Disque(double cx, double cy, double r);
Forme Rectangle(double gauche, double haut, double droite, double bas);
Forme Polygone(std::vector<Point> sommets);
// A thick segment with round ends (a capsule) of the given width.
Forme Trait(Point a, Point b, double largeur);

Forme Union(Forme a, Forme b);
Forme Inter(Forme a, Forme b);
Forme Moins(Forme a, Forme b);
Forme Decale(Forme f, double dx, double dy);
// The shape turned by an angle in degrees (clockwise on screen) around a centre.
Forme Tourne(Forme f, Point centre, double degres);
// The shape scaled by a factor around the origin: a drawing made for one size, drawn at another.
Forme Agrandit(Forme f, double facteur);

// Three tones of one material: lit edge, body, shaded edge.
struct Teintes {
    QRgb claire;
    QRgb moyenne;
    QRgb sombre;
};

// A picture being drawn: every pixel opaque, or on a transparent background where nothing is
// painted (the launcher icons, which the desktop shows on its own background).
class Toile {
  public:
    Toile(int largeur, int hauteur, QRgb fond);
    static Toile Transparente(int largeur, int hauteur);

    int largeur() const { return image_.width(); }
    int hauteur() const { return image_.height(); }
    QRgb pixel(int x, int y) const;
    void point(int x, int y, QRgb couleur);
    bool dedans(int x, int y) const;

    // Every pixel whose centre lies in the shape.
    void peindre(const Forme& forme, QRgb couleur);
    // The shape in its body tone, lit along its upper-left edge and shaded along its lower-right
    // edge, as if the light came from the upper left.
    void modeler(const Forme& forme, const Teintes& teintes, int epaisseur = 1);
    // A one-pixel outline just outside the shape (4-neighbours of its pixels).
    void cerner(const Forme& forme, QRgb couleur);

    const QImage& image() const { return image_; }
    bool sauver(const QString& chemin) const;

  private:
    QImage image_;
};

}  // namespace fabrique
