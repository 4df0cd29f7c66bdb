// The bevelled controls of the lower strip, built from Qt's frame shapes and buttons.
#include "window/Controles3D.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QColor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <utility>

namespace tir {

namespace {

constexpr int kBiseau = 2;        // width of a panel's raised bevel
constexpr int kLigneCadre = 1;    // width of each line of the frame's etched edge
constexpr int kMargeTitre = 6;    // the frame's title, from its left edge
constexpr int kCotePicture = 32;  // a ribbon button's picture is 32 x 32

constexpr int kBordEtiquette = 1;  // a label's plain border
constexpr int kLigneFocus = 1;     // the focus mark's line

void ChangeCouleur(QWidget& w, QPalette::ColorRole role, Couleur c) {
    QPalette p = w.palette();
    p.setColor(role, VersQColor(c));
    w.setPalette(p);
}

Qt::Alignment AlignementQt(Alignement a) {
    switch (a) {
        case Alignement::GaucheCentre:
            return Qt::AlignLeft | Qt::AlignVCenter;
        case Alignement::DroiteCentre:
            return Qt::AlignRight | Qt::AlignVCenter;
        case Alignement::Centre:
            break;
    }
    return Qt::AlignCenter;
}

// Names `w` for a screen reader as "<nom> : <caption>", the caption read in words by `lecture`
// when given. A control given no name keeps Qt's own (its caption).
void NommeSelonCaption(QWidget& w, const QString& nom, const QString& caption,
                       LectureCaption lecture) {
    if (nom.isEmpty()) return;
    const QString lu = lecture ? lecture(caption) : caption.trimmed();
    w.setAccessibleName(lu.isEmpty() ? nom : nom + QStringLiteral("\u00A0: ") + lu);
}

bool EstValidation(int touche) {
    return touche == Qt::Key_Return || touche == Qt::Key_Enter;
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
    NommeSelonCaption(*this, nom_, caption, lecture_);
}

void Panneau3D::SetNomAccessible(const QString& nom, LectureCaption lecture) {
    nom_ = nom;
    lecture_ = lecture;
    NommeSelonCaption(*this, nom_, text(), lecture_);
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

void Panneau3D::SetAlignment(Alignement a) {
    alignement_ = a;
    setAlignment(AlignementQt(a));
}

void Panneau3D::Refresh() {
    repaint();
}

// ---- Cadre3D ----

namespace {

constexpr char kMorceauDeTitre[] = "tirMorceauDeTitre";

// The pieces of a frame's title make one caption, which the frame's name carries: a screen
// reader gets them as unnamed parts, never as labels of their own ("Force du", then "Vent").
QAccessibleInterface* InterfaceMorceauDeTitre(const QString& classe, QObject* objet) {
    if (classe != QLatin1String("QLabel") || !objet->property(kMorceauDeTitre).toBool()) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(objet), QAccessible::Client);
}

}  // namespace

Cadre3D::Cadre3D(const QString& titre, QWidget* parent) : QFrame(parent), titre_(titre) {
    static const bool fabriqueInstallee =
        (QAccessible::installFactory(InterfaceMorceauDeTitre), true);
    Q_UNUSED(fabriqueInstallee);
    // The edge: an etched line half-way down the title, as a group box draws it.
    bord_ = new QFrame(this);
    bord_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bord_->setLineWidth(kLigneCadre);
    // Marked before they get a text, which makes Qt build their screen reader's view.
    debut_ = new QLabel(this);
    suite_ = new QLabel(this);
    for (QLabel* morceau : {debut_, suite_}) {
        morceau->setProperty(kMorceauDeTitre, true);
        morceau->setAutoFillBackground(true);
        morceau->setContentsMargins(kLigneCadre, 0, kLigneCadre, 0);
    }
    debut_->setText(titre);
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
    suite_->move(droite_, 0);
    const int milieuTitre = debut_->sizeHint().height() / 2;
    bord_->setGeometry(0, milieuTitre, width(), height() - milieuTitre);
}

// ---- BoutonCommande ----

BoutonCommande::BoutonCommande(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

void BoutonCommande::keyPressEvent(QKeyEvent* event) {
    if (!EstValidation(event->key())) {
        QPushButton::keyPressEvent(event);
        return;
    }
    // Taken either way, so that a held Enter neither presses again nor reaches the window.
    event->accept();
    if (!event->isAutoRepeat()) click();
}

// ---- Bouton3D ----

Bouton3D::Bouton3D(const QString& caption, QWidget* parent) : BoutonCommande(caption, parent) {}

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
    connect(this, &QToolButton::toggled, this, [this](bool down) {
        if (!down) return;
        for (RubanBouton* autre : autres_) autre->setChecked(false);
    });
}

// Qt's own exclusive groups take the buttons that are up off the Tab path: the keyboard would
// reach only the button already down, where Space does nothing.
void RubanBouton::Groupe(const std::vector<RubanBouton*>& boutons) {
    for (RubanBouton* bouton : boutons) {
        bouton->autres_.clear();
        for (RubanBouton* autre : boutons) {
            if (autre != bouton) bouton->autres_.push_back(autre);
        }
    }
}

void RubanBouton::nextCheckState() {
    setChecked(true);
}

// ---- Etiquette ----

Etiquette::Etiquette(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(kBordEtiquette);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
}

// A click is a press and a release of the left button over the label; the release that ends a
// double click is none.
void Etiquette::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    const bool doubleClic = std::exchange(doubleClic_, false);
    if (event->button() == Qt::LeftButton && !doubleClic &&
        rect().contains(event->position().toPoint())) {
        emit Click();
    }
}

void Etiquette::mouseDoubleClickEvent(QMouseEvent* event) {
    doubleClic_ = event->button() == Qt::LeftButton;
    event->ignore();
}

// Space or Enter on a focused label is a click; a held key clicks once.
void Etiquette::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space && !EstValidation(event->key())) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat()) emit Click();
}

void Etiquette::SetCaption(const QString& caption) {
    setText(caption);
    NommeSelonCaption(*this, nom_, caption, nullptr);
}

void Etiquette::SetNomAccessible(const QString& nom) {
    nom_ = nom;
    NommeSelonCaption(*this, nom_, text(), nullptr);
}

// ---- The focus mark ----

namespace {

// Always shown, and drawn only while its control has the focus: a focus moving among the
// controls then costs one repaint of the window, never a posted event per move (a flood of
// clicks during a shot moves it tens of thousands of times before the window repaints).
class Focus : public QFrame {
  public:
    Focus(QWidget* controle, int retrait, Couleur couleur) : QFrame(controle), retrait_(retrait) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(kLigneFocus);
        // Inside a button the frame would take the button's text colour.
        setForegroundRole(QPalette::WindowText);
        ChangeCouleur(*this, QPalette::WindowText, couleur);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        Place();
        controle->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* objet, QEvent* event) override {
        if (objet == parent()) {
            if (event->type() == QEvent::FocusIn) {
                Place();
                if (parent()->children().constLast() != this) raise();
                update();
            }
            if (event->type() == QEvent::FocusOut) update();
            if (event->type() == QEvent::Resize) Place();
        }
        return false;
    }
    void paintEvent(QPaintEvent* event) override {
        if (parentWidget()->hasFocus()) QFrame::paintEvent(event);
    }

  private:
    void Place() {
        setGeometry(parentWidget()->rect().adjusted(retrait_, retrait_, -retrait_, -retrait_));
    }
    int retrait_;
};

}  // namespace

void MarqueFocus(QWidget* controle, int retrait, Couleur couleur) {
    new Focus(controle, retrait, couleur);
}

}  // namespace tir
