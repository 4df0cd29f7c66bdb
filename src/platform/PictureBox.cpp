// The field as a widget: a sunken frame around the display, its pixels enlarged sharp.
#include "platform/PictureBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>

#include "platform/Couleurs.h"

namespace tir {

namespace {
constexpr int kEpaisseurCadre = 2;
constexpr int kBordures = 2 * kEpaisseurCadre;
constexpr double kFrequenceParDefaut = 60.0;
// A trace: a cross of two strokes this many pixels each side of its centre, in the player's
// colour, outlined in black so that the yellow shows on the cyan sky and both on the ground.
constexpr int kBrasTrace = 3;
constexpr int kContourTrace = 1;

// Under a whole scale factor every field pixel is an even square of screen pixels. Under a
// fractional one, plain enlargement would give pixels one or two screen pixels wide in turn
// (the wheels and the antenna of the cannons come out uneven), and smoothing alone would blur
// the whole field. Sharp enlargement: the part to show is first enlarged to the next whole
// factor by repeating pixels, then reduced smoothly to the screen's size, so every field pixel
// keeps a solid core of even width and only its edges are shaded.
bool FacteurEntier(qreal facteur) {
    return std::abs(facteur - std::round(facteur)) < 1e-6;
}

void DessineNet(QPainter& p, const QRect& cible, const QImage& image, const QRect& source,
                qreal facteur) {
    if (FacteurEntier(facteur)) {
        p.drawImage(cible, image, source);
        return;
    }
    // One field pixel more on each side, so that the smooth reduction at the edges of the part
    // shown reads the true neighbours and a partial repaint matches a whole one.
    const QRect large = source.adjusted(-1, -1, 1, 1) & image.rect();
    const int entier = static_cast<int>(std::ceil(facteur));
    const QImage agrandie = image.copy(large).scaled(large.size() * entier, Qt::IgnoreAspectRatio,
                                                     Qt::FastTransformation);
    p.save();
    p.setClipRect(cible, Qt::IntersectClip);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRect(cible.topLeft() + large.topLeft() - source.topLeft(), large.size()),
                agrandie);
    p.restore();
}

}  // namespace

PictureBox::PictureBox(int largeur, int hauteur, Couleur fond, QWidget* parent)
    : QFrame(parent), Surface(largeur, hauteur, fond) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kEpaisseurCadre);
    setFixedSize(largeur + kBordures, hauteur + kBordures);
    // The display covers the whole inner area: nothing underneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::Montre() {
    // Only what changed since the screen last saw the display: during the flight, the shell's
    // old and new places, not the whole field.
    montreAffichage_ = true;
    repaint(EcranEnRetard().translated(contentsRect().topLeft()));
    montreAffichage_ = false;
}

double PictureBox::IntervalleImage() const {
    const QScreen* ecran = screen();
    const double frequence = ecran ? ecran->refreshRate() : 0.0;
    return 1.0 / (frequence > 0.0 ? frequence : kFrequenceParDefaut);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    // A repaint the window system asks for by itself shows the kept image.
    if (!montreAffichage_) Rattrape();
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect interieur = contentsRect();
    // The frame first: under a scale factor its lines reach half a pixel into the inner area,
    // which the field then covers again.
    if (!interieur.contains(event->rect())) drawFrame(&p);
    const QRect zone = event->rect() & interieur;
    if (zone.isEmpty()) return;
    // The painter's own scale is the screen's (or, for a grab, the image's) pixels per pixel.
    DessineNet(p, zone, Affichage(), zone.translated(-interieur.topLeft()),
               p.deviceTransform().m11());
    EcranAJour(event->region().translated(-interieur.topLeft()));
    DessineTraces(p, zone);
}

void PictureBox::Cls() {
    Surface::Cls();
    ++champs_;
    for (auto& trace : traces_) {
        if (trace) update(RectTrace(*trace));
        trace.reset();
    }
}

void PictureBox::PoseTrace(int joueur, double x, double y, Couleur couleur) {
    auto& trace = traces_.at(static_cast<std::size_t>(joueur));
    if (trace) update(RectTrace(*trace));
    const QPointF pixel = VersPixels(x, y);
    trace = Trace{
        QPoint(static_cast<int>(std::floor(pixel.x())), static_cast<int>(std::floor(pixel.y()))),
        couleur};
    update(RectTrace(*trace));
}

QRect PictureBox::RectTrace(const Trace& trace) const {
    constexpr int kDemi = kBrasTrace + kContourTrace;
    return QRect(trace.pixel - QPoint(kDemi, kDemi), QSize(2 * kDemi + 1, 2 * kDemi + 1))
        .translated(contentsRect().topLeft());
}

// Over the field, inside its frame; the painter is clipped to the part being repainted.
void PictureBox::DessineTraces(QPainter& p, const QRect& zone) const {
    p.save();
    p.setClipRect(contentsRect(), Qt::IntersectClip);
    for (const auto& trace : traces_) {
        if (!trace || !RectTrace(*trace).intersects(zone)) continue;
        const QPoint c = trace->pixel + contentsRect().topLeft();
        const auto croix = [&p, c](int bras, int epaisseur, const QColor& couleur) {
            p.fillRect(c.x() - bras, c.y() - epaisseur, 2 * bras + 1, 2 * epaisseur + 1, couleur);
            p.fillRect(c.x() - epaisseur, c.y() - bras, 2 * epaisseur + 1, 2 * bras + 1, couleur);
        };
        croix(kBrasTrace + kContourTrace, kContourTrace, Qt::black);
        croix(kBrasTrace, 0, VersQColor(trace->couleur));
    }
    p.restore();
}

void PictureBox::AffichageChange() {
    update(EcranEnRetard().translated(contentsRect().topLeft()));
}

}  // namespace tir
