// The French help bubbles: every control a player can act on or read has one, saying what it
// does and the keys that work on it; the score and points panels say how points are counted.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>

#include "BancDeTir.h"

namespace tir {
namespace {

TEST(Bulles, EveryControlAPlayerUsesOrReadsExplainsItselfAndItsKeys) {
    // Guards against a control left without help, help that names the wrong keys or limits, and
    // a scoring rule told differently from the game's.
    test::BancDeTir f;
    Form1& w = *f.form;
    const QStringList points{"(10\u00A0−\u00A0essais)\u00A0×\u00A0précision", "34\u00A0pixels",
                             "de 1 à 10", "81\u00A0points au mieux", "propre canon"};
    const QStringList bouton{"Espace", "Entrée", "Tab"};
    struct Bulle {
        QWidget* controle;
        QStringList mots;
    };
    std::vector<Bulle> bulles{{w.Dessin, {"chars verts", "joueur A", "joueur B"}},
                              {w.Son[0], bouton + QStringList{"Met les bruitages"}},
                              {w.Son[1], bouton + QStringList{"Coupe les bruitages"}},
                              {w.CadreVent, {"nombre rouge", "0 à 10", "Un clic"}},
                              {w.Vent, {"Un clic", "Espace", "nouveau vent"}},
                              {w.FlecheVent, {"flèches sa direction"}},
                              {w.Gain, points},
                              {w.Nouveau, bouton},
                              {w.Quitter, bouton + QStringList{"perdue"}},
                              {w.CoupsRestants, {"nombre bleu", "coups au but", "B gagne"}},
                              {w.Panneau1, points},
                              {w.Panneau2, points}};
    for (int i = 0; i < 2; ++i) {
        const QString du = i == 0 ? "du joueur A" : "du joueur B";
        const QStringList barre{"Gauche et Droite", "molette", "de 5", "de 1 avec Maj", "Tab", du};
        bulles.push_back({w.Score[i], points + QStringList{du}});
        for (QWidget* angle :
             {static_cast<QWidget*>(w.Frame1[i]), static_cast<QWidget*>(w.BHAngle[i]),
              static_cast<QWidget*>(w.Angle[i])}) {
            bulles.push_back({angle, barre + QStringList{"De 0 à 89\u00A0degrés", "le changent"}});
        }
        for (QWidget* force :
             {static_cast<QWidget*>(w.Frame2[i]), static_cast<QWidget*>(w.BHForce[i]),
              static_cast<QWidget*>(w.Force[i])}) {
            bulles.push_back({force, barre + QStringList{"De 0 à 120", "la changent"}});
        }
        bulles.push_back({w.Feu[i], bouton + QStringList{"Feu !", du, "tour", "au but ou non"}});
    }
    for (const Bulle& b : bulles) {
        const QString texte = b.controle->toolTip();
        for (const QString& mot : b.mots) {
            EXPECT_TRUE(texte.contains(mot))
                << b.controle->accessibleName().toStdString() << " lacks \"" << mot.toStdString()
                << "\": " << texte.toStdString();
        }
        // French typography past the title, which may quote a caption ("Feu !").
        const QString corps = texte.section(QStringLiteral("</b>"), 1);
        EXPECT_FALSE(
            corps.contains(QRegularExpression(QStringLiteral("[ ][:;!?»]|«[ ]|\\.\\.\\."))))
            << corps.toStdString();
    }
}

}  // namespace
}  // namespace tir
