// The French help bubbles: what each control a player can act on or read does or shows, and the
// keys that work on it. The texts never change while the game runs, and a bubble never moves or
// resizes anything.
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

#include "window/Form1.h"

namespace tir {

namespace {

const QString kPoints = QStringLiteral(
    "Un coup au but sur le canon adverse rapporte (10 − essais) × précision.<br>"
    "La précision va de 1 à 10 : 10 quand l'obus tombe à 34 pixels du bord du champ, au milieu "
    "du canon, un de moins tous les 3,4 pixels d'écart, 1 au moins.<br>"
    "Les essais comptent les tirs du joueur depuis le dernier paysage, celui qui touche compris : "
    "90 points au plus du premier coup, rien au dixième, des points perdus au-delà.<br>"
    "Toucher son propre canon coûte la précision en points.");

QString Bulle(const QString& titre, const QString& texte) {
    return QStringLiteral("<b>") + titre + QStringLiteral("</b><br>") + texte;
}

}  // namespace

void Form1::PoseBulles() {
    const QString tab = QStringLiteral("Tab passe d'une commande à l'autre.");
    Dessin->setToolTip(Bulle(
        QStringLiteral("Champ de bataille"),
        QStringLiteral("Le canon jaune du joueur A à gauche, le vert du joueur B à droite.<br>"
                       "L'obus éclate où il touche le sol ou un canon.")));
    Son[0]->setToolTip(Bulle(
        QStringLiteral("Son activé"),
        QStringLiteral("Met les bruitages en marche.<br>Espace ou Entrée l'enfonce. ") + tab));
    Son[1]->setToolTip(
        Bulle(QStringLiteral("Son coupé"),
              QStringLiteral("Coupe les bruitages.<br>Espace ou Entrée l'enfonce. ") + tab));
    const QString vent = Bulle(
        QStringLiteral("Force du vent"),
        QStringLiteral("Le nombre rouge est la force du vent (0 à 10), les flèches sa direction : "
                       "il pousse chaque obus de côté. Un nouveau vent vient à chaque coup au but."
                       "<br>Un clic sur le nombre, ou Espace ou Entrée quand il a le focus, tire "
                       "un nouveau vent au hasard. ") +
            tab);
    CadreVent->setToolTip(vent);
    FlecheVent->setToolTip(vent);
    Vent->setToolTip(vent);
    Gain->setToolTip(Bulle(QStringLiteral("Points du coup au but"), kPoints));
    Nouveau->setToolTip(
        Bulle(QStringLiteral("Nouvelle partie"),
              QStringLiteral("Recommence une partie de dix coups au but, scores à zéro.<br>"
                             "Espace ou Entrée l'appuie. ") +
                  tab));
    Quitter->setToolTip(
        Bulle(QStringLiteral("Quitter"),
              QStringLiteral("Ferme le jeu aussitôt ; la partie en cours est perdue.<br>"
                             "Espace ou Entrée l'appuie. ") +
                  tab));
    CoupsRestants->setToolTip(Bulle(
        QStringLiteral("Coups restants"),
        QStringLiteral("Le nombre bleu : les coups au but qui restent à marquer dans la partie. "
                       "Après le dixième, le score du gagnant clignote ; à égalité, B gagne.")));
    const std::array<QString, 2> lettre{QStringLiteral("A"), QStringLiteral("B")};
    for (int i = 0; i < 2; ++i) {
        const QString du = QStringLiteral(" du joueur ") + lettre[i];
        const QString score = Bulle(QStringLiteral("Score") + du, kPoints);
        Score[i]->setToolTip(score);
        (i == 0 ? Panneau1 : Panneau2)->setToolTip(score);
        const QString barre =
            QStringLiteral(
                "<br>Gauche et Droite, ou la molette, la changent de %1 ; un clic "
                "dans la barre, d'un grand pas. Le réglage peut changer à tout moment. ")
                .arg(BHAngle[i]->singleStep()) +
            tab;
        const QString angle =
            Bulle(QStringLiteral("Angle de tir") + du,
                  QStringLiteral("De %1 à %2 degrés, vers l'adversaire ; 0 tire à "
                                 "l'horizontale.")
                          .arg(BHAngle[i]->minimum())
                          .arg(BHAngle[i]->maximum()) +
                      barre);
        Frame1[i]->setToolTip(angle);
        BHAngle[i]->setToolTip(angle);
        Angle[i]->setToolTip(angle);
        const QString force =
            Bulle(QStringLiteral("Force de tir") + du,
                  QStringLiteral("De %1 à %2 : plus elle est grande, plus l'obus va loin.")
                          .arg(BHForce[i]->minimum())
                          .arg(BHForce[i]->maximum()) +
                      barre);
        Frame2[i]->setToolTip(force);
        BHForce[i]->setToolTip(force);
        Force[i]->setToolTip(force);
        Feu[i]->setToolTip(
            Bulle(QStringLiteral("Feu !") + du,
                  QStringLiteral("Tire un obus avec l'angle et la force") + du +
                      QStringLiteral(". Seul le bouton du joueur dont c'est le tour s'enfonce ; "
                                     "un tir manqué passe la main.<br>Espace ou Entrée tire. ") +
                      tab));
    }
}

}  // namespace tir
