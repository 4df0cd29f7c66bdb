// Start-up, new game, quit and the sound switch; the guard every handler runs under.
#include "window/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <cmath>

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
    FichierIni = services.dossier.Record() + "/Tir.ini";
    RetourLigne = "\r\n";
    InitPartie();
}

// The first landscape and both cannons, once the window is on the screen.
void Form1::Form_Activate() {
    DessinePaysage();
    AppelleOrdinateur();
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
    AppelleOrdinateur();
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

// Every sound of the game, by the rule of sound/Sons.cpp.
void Form1::JoueSon(tir::Son son) {
    tir::JoueSon(son, SonActif, services.dossier, services.lecteur);
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
    if (entrees_->EnCours()) {
        entrees_->RetiensFermeture();
        event->ignore();
        return;
    }
    event->accept();
}

void Form1::QuandClic(QWidget* controle, const std::function<void()>& gestionnaire) {
    if (entrees_->EnCours()) {
        entrees_->Retiens(controle, gestionnaire);
        return;
    }
    Gestionnaire g(*this);
    gestionnaire();
}

void Form1::QuandReglage(QWidget* barre, const std::function<void()>& gestionnaire) {
    if (entrees_->EnCours() && !reglageParLeJeu_) {
        entrees_->Retiens(barre, gestionnaire);
        return;
    }
    Gestionnaire g(*this);
    gestionnaire();
}

Gestionnaire::Gestionnaire(Form1& form) : form_(form) {
    form_.entrees_->Commence();
}

Gestionnaire::~Gestionnaire() {
    form_.entrees_->Termine();
}

}  // namespace tir
