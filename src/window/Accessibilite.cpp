// What a screen reader says of each control, the order in which Tab visits the controls, and
// where the focus goes when the control that had it is taken away by the game.
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <vector>

#include "window/Form1.h"

namespace tir {

namespace {

const std::array<QString, 2> kDuJoueur{QStringLiteral("du joueur A"),
                                       QStringLiteral("du joueur B")};

// The wind's row of arrows in words: the side it blows to, or no side at all.
QString LectureDirection(const QString& fleches) {
    if (fleches.startsWith(QChar('<'))) return QStringLiteral("vers la gauche");
    if (fleches.startsWith(QChar('>'))) return QStringLiteral("vers la droite");
    return QStringLiteral("aucune, le vent est nul");
}

// A plain top-level widget reaches screen readers as a filler; the game's window is a window,
// announced by its name when it comes up.
QAccessibleInterface* InterfaceFenetre(const QString& classe, QObject* objet) {
    auto* fenetre = qobject_cast<Form1*>(objet);
    if (classe != QLatin1String(Form1::staticMetaObject.className()) || !fenetre) return nullptr;
    return new QAccessibleWidget(fenetre, QAccessible::Window);
}

void Nomme(QWidget* controle, const QString& nom) {
    controle->setAccessibleName(nom);
}

}  // namespace

// Every control gets a French name. Panels whose caption changes are read "<name> : <caption>"
// and follow the caption. What a control does is its help bubble's (window/Bulles.cpp).
void Form1::NommeControles() {
    static const bool fabriqueInstallee = (QAccessible::installFactory(InterfaceFenetre), true);
    Q_UNUSED(fabriqueInstallee);
    Nomme(this, QStringLiteral("Tir au Murax"));
    Nomme(Dessin, QStringLiteral("Champ de bataille"));
    Nomme(Son[0], QStringLiteral("Son activé"));
    Nomme(Son[1], QStringLiteral("Son coupé"));
    Nomme(Panneau1, QStringLiteral("Titre du score du joueur A"));
    Nomme(Panneau2, QStringLiteral("Titre du score du joueur B"));
    // A frame is read by its title, as a group box is.
    Nomme(CadreVent, CadreVent->Caption());
    FlecheVent->SetNomAccessible(QStringLiteral("Direction du vent"), LectureDirection);
    Vent->SetNomAccessible(QStringLiteral("Force du vent"));
    Gain->SetNomAccessible(QStringLiteral("Points du coup"));
    Nomme(Nouveau, QStringLiteral("Nouvelle partie"));
    Nomme(Quitter, QStringLiteral("Quitter"));
    CoupsRestants->SetNomAccessible(QStringLiteral("Coups restants"));
    for (int i = 0; i < 2; ++i) {
        const QString& du = kDuJoueur[i];
        Score[i]->SetNomAccessible(QStringLiteral("Score ") + du);
        Nomme(Frame1[i], QStringLiteral("Réglage de l'angle ") + du);
        Nomme(BHAngle[i], QStringLiteral("Angle de tir ") + du);
        Angle[i]->SetNomAccessible(QStringLiteral("Valeur de l'angle ") + du);
        Nomme(Frame2[i], QStringLiteral("Réglage de la force ") + du);
        Nomme(BHForce[i], QStringLiteral("Force de tir ") + du);
        Force[i]->SetNomAccessible(QStringLiteral("Valeur de la force ") + du);
        Nomme(Feu[i], QStringLiteral("Feu ! joueur ") + QChar(i == 0 ? 'A' : 'B'));
    }
}

// Tab reads the window as the players see it: the upper row from left to right (sound, wind
// or new game in the middle, quit), then each player's path in the lower row, A's first: angle,
// force, fire. Tab skips what is hidden or disabled, so the wind's value and the new-game
// button, which share one spot, never both come up, and the fire button only on its player's
// turn. A aims first.
void Form1::OrdonneTabulation() {
    const std::vector<QWidget*> ordre{Son[0],     Son[1],     Vent,       Nouveau,
                                      Quitter,    BHAngle[0], BHForce[0], Feu[0],
                                      BHAngle[1], BHForce[1], Feu[1]};
    for (std::size_t k = 1; k < ordre.size(); ++k) setTabOrder(ordre[k - 1], ordre[k]);
    BHAngle[0]->setFocus(Qt::OtherFocusReason);
}

// Fires. When the turn passes from the fire button that had the focus, the focus goes to the
// new shooter's angle bar rather than to his fire button, where the next Space or Enter would
// fire for him before he aims. When the game is over, it goes to "Nouvelle Partie", wherever
// it was.
void Form1::FeuEtFocus(int index) {
    const bool avaitLeFocus = focusWidget() == Feu[index];
    const int champ = Dessin->Champs();
    Feu_Click(index);
    MarqueLaTrace(index, champ);
    if (!Nouveau->isHidden()) {
        Nouveau->setFocus(Qt::OtherFocusReason);
    } else if (avaitLeFocus && Joueur != index && !entrees_->FocusDeplace()) {
        // Unless the player put the focus somewhere himself during the shot: it stays there.
        if (QScrollBar* barre = AngleAuClavier(Joueur)) barre->setFocus(Qt::OtherFocusReason);
    }
}

// The angle bar the focus goes to for `joueur`: his own, or, when the computer plays him, the
// one of the player at the keyboard; none in a demonstration. The computer's bars never take
// the keyboard: keys there would move its aim.
QScrollBar* Form1::AngleAuClavier(int joueur) const {
    for (const int j : {joueur, 1 - joueur}) {
        if (BHAngle[j]->focusPolicy() != Qt::NoFocus) return BHAngle[j];
    }
    return nullptr;
}

// A new game hides its own button; the focus it had would pass on to Quitter, where the next
// Enter would end the program. It goes to A's angle bar instead, as at start-up.
void Form1::NouveauEtFocus() {
    const bool avaitLeFocus = focusWidget() == Nouveau;
    Nouveau_Click();
    if (QScrollBar* barre = AngleAuClavier(0); avaitLeFocus && barre) {
        barre->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace tir
