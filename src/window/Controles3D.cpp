// The bevelled controls of the lower strip, built from Qt's frame shapes and buttons.
#include "window/Controles3D.h"

#include <QColor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPalette>

namespace tir {

namespace {

constexpr int kBiseau = 2;        // width of a panel's raised bevel
constexpr int kLigneCadre = 1;    // width of each line of the frame's etched edge
constexpr int kMargeTitre = 6;    // the frame's title, from its left edge
constexpr int kCotePicture = 32;  // a ribbon button's picture is 32 x 32

constexpr int kAligneGauche = 1;
constexpr int kAligneDroite = 4;

Couleur VersCouleur(const QColor& c) {
    return static_cast<Couleur>(c.rgb() & 0xFFFFFF);
}

QColor VersQColor(Couleur c) {
    return QColor::fromRgb(static_cast<QRgb>(c) | 0xFF000000u);
}

void ChangeCouleur(QWidget& w, QPalette::ColorRole role, Couleur c) {
    QPalette p = w.palette();
    p.setColor(role, VersQColor(c));
    w.setPalette(p);
}

Qt::Alignment AlignementQt(int code) {
    switch (code) {
        case kAligneGauche:
            return Qt::AlignLeft | Qt::AlignVCenter;
        case kAligneDroite:
            return Qt::AlignRight | Qt::AlignVCenter;
        default:
            return Qt::AlignCenter;
    }
}

}  // namespace

// ---- Panneau3D ----

Panneau3D::Panneau3D(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(kBiseau);
    setAutoFillBackground(true);
    setAlignment(AlignementQt(alignement_));
    // A row of arrows longer than the panel is cut, never wrapped onto a second line.
    setWordWrap(false);
}

void Panneau3D::SetCaption(const QString& caption) {
    setText(caption);
}

Couleur Panneau3D::BackColor() const {
    return VersCouleur(palette().color(QPalette::Window));
}

void Panneau3D::SetBackColor(Couleur c) {
    ChangeCouleur(*this, QPalette::Window, c);
}

Couleur Panneau3D::ForeColor() const {
    return VersCouleur(palette().color(QPalette::WindowText));
}

void Panneau3D::SetForeColor(Couleur c) {
    ChangeCouleur(*this, QPalette::WindowText, c);
}

void Panneau3D::SetAlignment(int code) {
    alignement_ = code;
    setAlignment(AlignementQt(code));
}

void Panneau3D::Refresh() {
    repaint();
}

// ---- Cadre3D ----

Cadre3D::Cadre3D(const QString& titre, QWidget* parent) : QFrame(parent), titre_(titre) {
    // The edge: an etched line half-way down the title, as a group box draws it.
    bord_ = new QFrame(this);
    bord_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bord_->setLineWidth(kLigneCadre);
    debut_ = new QLabel(titre, this);
    suite_ = new QLabel(this);
    for (QLabel* morceau : {debut_, suite_}) {
        morceau->setAutoFillBackground(true);
        morceau->setContentsMargins(kLigneCadre, 0, kLigneCadre, 0);
    }
    suite_->hide();
}

void Cadre3D::DegageTitre(int gauche, int droite) {
    gauche_ = gauche;
    droite_ = droite;
    PlaceTitre();
}

void Cadre3D::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    PlaceTitre();
}

// Splits the title between the words that end before the reserved columns and the rest.
void Cadre3D::PlaceTitre() {
    const QStringList mots = titre_.split(' ', Qt::SkipEmptyParts);
    qsizetype avant = mots.size();
    if (gauche_ >= 0) {
        const QFontMetrics mesure(debut_->font());
        const int place = gauche_ - kMargeTitre - 2 * kLigneCadre;
        while (avant > 0 && mesure.horizontalAdvance(mots.first(avant).join(' ')) > place) {
            --avant;
        }
    }
    debut_->setText(mots.first(avant).join(' '));
    suite_->setText(mots.sliced(avant).join(' '));
    debut_->setVisible(avant > 0);
    suite_->setVisible(avant < mots.size());
    debut_->adjustSize();
    suite_->adjustSize();
    debut_->move(kMargeTitre, 0);
    suite_->move(droite_ + 1, 0);
    const int milieuTitre = debut_->sizeHint().height() / 2;
    bord_->setGeometry(0, milieuTitre, width(), height() - milieuTitre);
}

// ---- Bouton3D ----

Bouton3D::Bouton3D(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

// ---- RubanBouton ----

RubanBouton::RubanBouton(int index, const QImage& picture, QWidget* parent)
    : QToolButton(parent), index_(index) {
    setCheckable(true);
    setAutoRaise(false);
    setAutoFillBackground(true);
    setIconSize(QSize(kCotePicture, kCotePicture));
    setIcon(QIcon(QPixmap::fromImage(picture)));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(this, &QToolButton::clicked, this, [this](bool down) { emit Click(index_, down); });
}

// ---- Etiquette ----

Etiquette::Etiquette(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
}

// A click is a press and a release of the left button over the label.
void Etiquette::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit Click();
    }
}

}  // namespace tir
