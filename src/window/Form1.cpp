// Start-up, new game, quit and the sound switch; the guard every handler runs under.
#include "window/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <cmath>
#include <utility>

namespace tir {

namespace {

constexpr std::int16_t kCoupsParPartie = 10;

}  // namespace

// Start-up: sound on, the field's coordinates (origin at the bottom left, y up, one unit a
// pixel), the record file's path, then a fresh game. Nothing is drawn yet.
void Form1::Form_Load() {
    SonActif = true;
    Pi = 4.0 * std::atan(1.0);
    const auto h = static_cast<float>(Dessin->ScaleHeight());
    const auto w = static_cast<float>(Dessin->ScaleWidth());
    Dessin->Scale(0, h, w, 0);
    Largeur = static_cast<std::int16_t>(Arrondi(Dessin->ScaleWidth()));
    Hauteur = static_cast<std::int16_t>(Arrondi(-Dessin->ScaleHeight()));
    FichierIni = services.dossier.Chemin() + "/Tir.ini";
    RetourLigne = "\r\n";
    InitPartie();
}

// The first landscape and both cannons, once the window is on the screen.
void Form1::Form_Activate() {
    DessinePaysage();
}

// A new game: ten hits to score, A to shoot, aims back to 45 and 50 (a bar that moved runs its
// handler), scores zeroed, a new wind. Draws no landscape and keeps the sound setting.
void Form1::InitPartie() {
    NbCoups = kCoupsParPartie;
    Joueur = 0;
    Nouveau->setVisible(false);
    CadreVent->setVisible(true);
    const QScopedValueRollback<bool> parLeJeu(reglageParLeJeu_, true);
    for (int i = 0; i < 2; ++i) {
        NbEssais[i] = 0;
        BHAngle[i]->setValue(kAngleDepart);
        BHForce[i]->setValue(kForceDepart);
        Scores[i] = 0;
        Score[i]->SetCaption("0");
    }
    CoupsRestants->SetCaption(TexteSimple(kCoupsParPartie));
    Vent_Click();
    Feu[0]->setEnabled(true);
}

void Form1::Nouveau_Click() {
    InitPartie();
    DessinePaysage();
}

// Ends the program at once; the game in progress is lost.
void Form1::Quitter_Click() {
    close();
    qApp->quit();
}

// Sound is on exactly while the loudspeaker with notes is down, whichever button was pressed.
void Form1::Son_Click(int, bool) {
    SonActif = Son[0]->Value();
}

// The first show posts the first landscape, so that the window is mapped before it is drawn;
// later shows and activations draw nothing.
void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (activee_) return;
    activee_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            Gestionnaire g(*this);
            Form_Activate();
        },
        Qt::QueuedConnection);
}

// The window is never destroyed under a running handler: a close asked meanwhile waits for it.
void Form1::closeEvent(QCloseEvent* event) {
    if (gestionnairesEnCours_ > 0) {
        fermetureDemandee_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

void Form1::QuandClic(QWidget* controle, const std::function<void()>& gestionnaire) {
    if (gestionnairesEnCours_ > 0) {
        clicsDifferes_.push_back({controle, gestionnaire});
        return;
    }
    Gestionnaire g(*this);
    gestionnaire();
}

void Form1::QuandReglage(QWidget* barre, const std::function<void()>& gestionnaire) {
    if (gestionnairesEnCours_ > 0 && !reglageParLeJeu_) {
        clicsDifferes_.push_back({barre, gestionnaire});
        return;
    }
    Gestionnaire g(*this);
    gestionnaire();
}

// In the order they came; each one sees the window as the clicks before it left it.
void Form1::RejoueClics(const std::vector<ClicDiffere>& clics) {
    for (const ClicDiffere& clic : clics) {
        if (clic.controle->isEnabled() && clic.controle->isVisibleTo(this)) {
            QuandClic(clic.controle, clic.gestionnaire);
        }
    }
}

Gestionnaire::Gestionnaire(Form1& form) : form_(form) {
    ++form_.gestionnairesEnCours_;
}

Gestionnaire::~Gestionnaire() {
    if (--form_.gestionnairesEnCours_ > 0) return;
    if (form_.fermetureDemandee_) {
        form_.fermetureDemandee_ = false;
        // The window goes: a click that waited for the handler has nothing left to act on.
        form_.clicsDifferes_.clear();
        QMetaObject::invokeMethod(
            &form_, [f = &form_] { f->close(); }, Qt::QueuedConnection);
    }
    if (!form_.clicsDifferes_.empty()) {
        QMetaObject::invokeMethod(
            &form_,
            [f = &form_, clics = std::exchange(form_.clicsDifferes_, {})] {
                f->RejoueClics(clics);
            },
            Qt::QueuedConnection);
    }
    // Input held back while the handler waited is delivered only at the next event: make one.
    QMetaObject::invokeMethod(
        qApp, [] {}, Qt::QueuedConnection);
}

}  // namespace tir
