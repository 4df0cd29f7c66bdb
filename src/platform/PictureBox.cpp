// The field as a widget: a sunken frame around the display, enlarged without smoothing.
#include "platform/PictureBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

namespace tir {

namespace {
constexpr int kEpaisseurCadre = 2;
constexpr int kBordures = 2 * kEpaisseurCadre;
constexpr double kFrequenceParDefaut = 60.0;
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
    p.drawImage(zone, Affichage(), zone.translated(-interieur.topLeft()));
    EcranAJour(event->region().translated(-interieur.topLeft()));
}

void PictureBox::AffichageChange() {
    update(EcranEnRetard().translated(contentsRect().topLeft()));
}

}  // namespace tir
