// The end of every shot that exploded: the turn passes, or the game is over and the winner's
// panel flashes through the palette before the record check.
#include <QPushButton>

#include "window/Form1.h"

namespace tir {

namespace {

// Dark blue to white: black is never shown.
constexpr int kPremiereCouleur = static_cast<int>(Teinte::BleuSombre);
constexpr int kDerniereCouleur = static_cast<int>(Teinte::Blanc);
constexpr double kDureeCouleur = 0.2;  // seconds per colour of the flash

// Flashes the winner's score panel through palette colours 1 to 15, then gives it back its
// own colour.
void FaitClignoter(Form1& f, int gagnant) {
    Panneau3D* panneau = f.Score[gagnant];
    const Couleur couleur = panneau->BackColor();
    for (int i = kPremiereCouleur; i <= kDerniereCouleur; ++i) {
        // The deadline is taken before the colour changes, so the repaint counts in the 0.2 s.
        const double echeance = f.services.horloge.Maintenant() + kDureeCouleur;
        panneau->SetBackColor(QBColor(i));
        panneau->Refresh();
        f.services.horloge.AttendsJusqua(echeance);
    }
    panneau->SetBackColor(couleur);
}

// No hits left: the wind goes, the fanfare plays, the winner flashes, the record is checked
// and a new game is offered. A tie goes to player B.
void FinDePartie(Form1& f) {
    f.CadreVent->setVisible(false);
    f.repaint();
    f.JoueSon(Son::YouWin);
    const int gagnant = f.Scores[0] > f.Scores[1] ? 0 : 1;
    FaitClignoter(f, gagnant);
    f.VerifieScoreMaxi(gagnant);
    f.Nouveau->setVisible(true);
}

}  // namespace

// Takes the fire button from the player who just shot, then passes the turn or ends the game.
// Changes Joueur when the game goes on.
void Form1::FinDuCoup() {
    Feu[Joueur]->setEnabled(false);
    if (NbCoups > 0) {
        Joueur = Joueur == 0 ? 1 : 0;
        Feu[Joueur]->setEnabled(true);
        AppelleOrdinateur();
        return;
    }
    FinDePartie(*this);
}

}  // namespace tir
