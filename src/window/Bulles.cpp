// The French help bubbles: what each control a player can act on or read does or shows, and the
// keys that work on it. The texts never change while the game runs, and a bubble never moves or
// resizes anything.
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocumentFragment>

#include "window/Form1.h"

namespace tir {

namespace {

// French typography: a no-break space (U+00A0) before « : ; ! ? », between a number and its
// unit, and inside a formula, so that no line breaks there.
const QString kPoints = QStringLiteral(
    "Un coup au but sur le canon adverse rapporte (10\u00A0−\u00A0essais)\u00A0×\u00A0précision."
    "<br>La précision va de 1 à 10\u00A0: 9 quand l'obus tombe à 3,4\u00A0pixels au plus du "
    "milieu du canon, à 34\u00A0pixels du bord du champ, un point de moins tous les "
    "3,4\u00A0pixels d'écart en plus, 1 au moins\u00A0; 10 demande l'obus pile au milieu.<br>"
    "Les essais comptent les tirs du joueur depuis le dernier paysage, celui qui touche "
    "compris\u00A0"
    ": 81\u00A0points au mieux du premier coup, rien au dixième, des points perdus au-delà.<br>"
    "Toucher son propre canon coûte la précision en points.");

QString Bulle(const QString& titre, const QString& texte) {
    return QStringLiteral("<b>") + titre + QStringLiteral("</b><br>") + texte;
}

// What a screen reader says a control does: its bubble as plain text, without the title, which
// repeats the control's name.
QString Description(const QString& bulle) {
    QStringList lignes =
        QTextDocumentFragment::fromHtml(bulle).toPlainText().split(QChar('\n'), Qt::SkipEmptyParts);
    if (!lignes.isEmpty()) lignes.removeFirst();
    return lignes.join(QChar(' ')).trimmed();
}

}  // namespace

void Form1::PoseBulles() {
    const QString tab = QStringLiteral("Tab passe d'une commande à l'autre.");
    Dessin->setToolTip(Bulle(
        QStringLiteral("Champ de bataille"),
        QStringLiteral(
            "Le canon du joueur A à gauche, celui du joueur B à droite\u00A0: deux chars "
            "verts pareils\u00A0; le jaune et le vert sont les couleurs des panneaux des "
            "joueurs.<br>L'obus éclate où il touche le sol ou un canon.") +
            (options.traces ? QStringLiteral("<br>Une petite croix, à la couleur du joueur, "
                                             "marque où son dernier obus est tombé sur ce champ.")
                            : QString())));
    Son[0]->setToolTip(Bulle(
        QStringLiteral("Son activé"),
        QStringLiteral("Met les bruitages en marche.<br>Espace ou Entrée le choisit. ") + tab));
    Son[1]->setToolTip(
        Bulle(QStringLiteral("Son coupé"),
              QStringLiteral("Coupe les bruitages.<br>Espace ou Entrée le choisit. ") + tab));
    const QString vent = Bulle(
        QStringLiteral("Force du vent"),
        QStringLiteral("Le nombre rouge est la force du vent (de 0 à 10), les flèches sa "
                       "direction\u00A0: il pousse chaque obus de côté. Un nouveau vent vient à "
                       "chaque coup au but."
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
                             "Espace ou Entrée l'actionne. ") +
                  tab));
    Quitter->setToolTip(
        Bulle(QStringLiteral("Quitter"),
              QStringLiteral("Ferme le jeu aussitôt\u00A0; la partie en cours est perdue.<br>"
                             "Espace ou Entrée l'actionne. ") +
                  tab));
    CoupsRestants->setToolTip(Bulle(
        QStringLiteral("Coups restants"),
        QStringLiteral("Le nombre bleu\u00A0: les coups au but qui restent à marquer dans la "
                       "partie. Après le dixième, le score du gagnant clignote\u00A0; à égalité, "
                       "B gagne.")));
    const std::array<QString, 2> lettre{QStringLiteral("A"), QStringLiteral("B")};
    for (int i = 0; i < 2; ++i) {
        const QString du = QStringLiteral(" du joueur ") + lettre[i];
        const QString score = Bulle(QStringLiteral("Score") + du, kPoints);
        Score[i]->setToolTip(score);
        (i == 0 ? Panneau1 : Panneau2)->setToolTip(score);
        // The angle is masculine, the force feminine.
        const auto barre = [&tab](QScrollBar* b, const QString& pronom) {
            return QStringLiteral(
                       "<br>Gauche et Droite, ou la molette, %1 changent de %2, et "
                       "de 1 avec Maj\u00A0; un clic dans la barre, d'un grand pas. "
                       "Le réglage peut changer à tout moment. ")
                       .arg(pronom)
                       .arg(b->singleStep()) +
                   tab;
        };
        const QString angle =
            Bulle(QStringLiteral("Angle de tir") + du,
                  QStringLiteral("De %1 à %2\u00A0degrés, vers l'adversaire\u00A0; 0 tire à "
                                 "l'horizontale.")
                          .arg(BHAngle[i]->minimum())
                          .arg(BHAngle[i]->maximum()) +
                      barre(BHAngle[i], QStringLiteral("le")));
        Frame1[i]->setToolTip(angle);
        BHAngle[i]->setToolTip(angle);
        Angle[i]->setToolTip(angle);
        const QString force =
            Bulle(QStringLiteral("Force de tir") + du,
                  QStringLiteral("De %1 à %2\u00A0: plus elle est grande, plus l'obus va loin.")
                          .arg(BHForce[i]->minimum())
                          .arg(BHForce[i]->maximum()) +
                      barre(BHForce[i], QStringLiteral("la")));
        Frame2[i]->setToolTip(force);
        BHForce[i]->setToolTip(force);
        Force[i]->setToolTip(force);
        Feu[i]->setToolTip(
            Bulle(QStringLiteral("Feu !") + du,
                  QStringLiteral("Tire un obus avec l'angle et la force") + du +
                      QStringLiteral(". Seul le bouton du joueur dont c'est le tour "
                                     "s'enfonce\u00A0; dès que l'obus éclate, au but ou non, la "
                                     "main passe à l'autre joueur.<br>Espace ou Entrée tire. ") +
                      tab));
    }
    // Qt gives a screen reader the bubble itself, markup and all, where no description is set.
    for (QWidget* controle : findChildren<QWidget*>()) {
        if (!controle->toolTip().isEmpty()) {
            controle->setAccessibleDescription(Description(controle->toolTip()));
        }
    }
}

}  // namespace tir
