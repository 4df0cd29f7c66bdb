// What a screen reader says of the window: a French name for every control, names that follow
// the captions they read, and a word for what each control that takes input does.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>

#include "BancDeTir.h"

namespace tir {
namespace {

QString NomLu(QWidget* controle) {
    QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(controle);
    return interface ? interface->text(QAccessible::Name) : QString();
}

QString DescriptionLue(QWidget* controle) {
    QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(controle);
    return interface ? interface->text(QAccessible::Description) : QString();
}

struct Nom {
    QWidget* controle;
    QString attendu;
};

// A wind of -8 at start-up: floor(0.1 x 20) - 10.
struct VentDeMoinsHuit : test::FauxHasard {
    VentDeMoinsHuit() { valeurs = {0.1}; }
};
struct FenetreAVentDeMoinsHuit {
    VentDeMoinsHuit hasard;
    test::BancDeTir banc{{.hasard = &hasard}};
};

TEST(Accessibilite, EveryControlIsReadUnderItsOwnFrenchName) {
    // Guards against a control read by its bare caption ("Feu !" twice, "<<<<<", "45"), a
    // name swapped between the players, or a panel that hides its value behind its name.
    FenetreAVentDeMoinsHuit f;
    Form1& w = *f.banc.form;
    const std::vector<Nom> noms{
        {&w, "Tir au Murax"},
        {w.Dessin, "Champ de bataille"},
        {w.Son[0], "Son activé"},
        {w.Son[1], "Son coupé"},
        {w.Panneau1, "Titre du score du joueur A"},
        {w.Score[0], "Score du joueur A\u00A0: 0"},
        {w.CadreVent, "Force du Vent"},
        {w.FlecheVent, "Direction du vent\u00A0: vers la gauche"},
        {w.Vent, "Force du vent\u00A0: 8"},
        {w.Gain, "Points du coup\u00A0: 200 points"},
        {w.Nouveau, "Nouvelle partie"},
        {w.Score[1], "Score du joueur B\u00A0: 0"},
        {w.Panneau2, "Titre du score du joueur B"},
        {w.Quitter, "Quitter"},
        {w.Frame1[0], "Réglage de l'angle du joueur A"},
        {w.BHAngle[0], "Angle de tir du joueur A"},
        {w.Angle[0], "Valeur de l'angle du joueur A\u00A0: 45"},
        {w.Frame2[0], "Réglage de la force du joueur A"},
        {w.BHForce[0], "Force de tir du joueur A"},
        {w.Force[0], "Valeur de la force du joueur A\u00A0: 50"},
        {w.Feu[0], "Feu ! joueur A"},
        {w.CoupsRestants, "Coups restants\u00A0: 10"},
        {w.Feu[1], "Feu ! joueur B"},
        {w.Frame1[1], "Réglage de l'angle du joueur B"},
        {w.BHAngle[1], "Angle de tir du joueur B"},
        {w.Angle[1], "Valeur de l'angle du joueur B\u00A0: 45"},
        {w.Frame2[1], "Réglage de la force du joueur B"},
        {w.BHForce[1], "Force de tir du joueur B"},
        {w.Force[1], "Valeur de la force du joueur B\u00A0: 50"},
    };
    QSet<QString> differents;
    for (const Nom& n : noms) {
        EXPECT_EQ(NomLu(n.controle), n.attendu) << n.attendu.toStdString();
        differents.insert(NomLu(n.controle));
    }
    EXPECT_EQ(differents.size(), static_cast<qsizetype>(noms.size())) << "no two alike";
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&w)->role(), QAccessible::Window)
        << "the game's window is announced as a window";
}

TEST(Accessibilite, EveryControlTheKeyboardReachesHasANameAndSaysWhatItDoes) {
    // Guards against a control added later that a screen reader would announce as nothing.
    test::BancDeTir f;
    Form1& w = *f.form;
    int atteints = 0;
    for (QWidget* controle : w.findChildren<QWidget*>()) {
        if (!(controle->focusPolicy() & Qt::TabFocus)) continue;
        ++atteints;
        const std::string quoi = controle->metaObject()->className();
        EXPECT_FALSE(NomLu(controle).isEmpty()) << quoi;
        EXPECT_FALSE(DescriptionLue(controle).isEmpty())
            << quoi << " " << NomLu(controle).toStdString();
    }
    EXPECT_EQ(atteints, 11) << "two sound buttons, the wind, new game, quit, and per player "
                               "two bars and a fire button";
    // Qt hands a screen reader the bubble itself, markup and all, where no description is
    // set; and the wind frame's title, split around the wind's value, is one caption.
    for (QWidget* controle : w.findChildren<QWidget*>()) {
        EXPECT_FALSE(DescriptionLue(controle).contains(QChar('<')))
            << NomLu(controle).toStdString();
        EXPECT_NE(NomLu(controle), "Force du");
        EXPECT_NE(NomLu(controle), "Vent");
    }
    EXPECT_TRUE(DescriptionLue(w.Vent).contains("nouveau vent"));
    EXPECT_TRUE(DescriptionLue(w.BHAngle[0]).contains("De 0 à 89 degrés"));
    EXPECT_TRUE(DescriptionLue(w.BHForce[1]).contains("De 0 à 120"));
}

TEST(Accessibilite, NamesFollowTheCaptionsTheGameSets) {
    // Guards against a screen reader that keeps announcing the score, wind or aim the game
    // started with.
    test::BancDeTir f;
    Form1& w = *f.form;
    w.BHAngle[0]->setValue(70);
    EXPECT_EQ(NomLu(w.Angle[0]), "Valeur de l'angle du joueur A\u00A0: 70");
    w.BHForce[1]->setValue(115);
    EXPECT_EQ(NomLu(w.Force[1]), "Valeur de la force du joueur B\u00A0: 115");

    f.hasard.valeurs = {0.95, 0.5};
    w.Vent_Click();
    EXPECT_EQ(NomLu(w.Vent), "Force du vent\u00A0: 9");
    EXPECT_EQ(NomLu(w.FlecheVent), "Direction du vent\u00A0: vers la droite");
    w.Vent_Click();
    EXPECT_EQ(NomLu(w.Vent), "Force du vent\u00A0: 0");
    EXPECT_EQ(NomLu(w.FlecheVent), "Direction du vent\u00A0: aucune, le vent est nul");

    // Captions as the hit sequence writes them: a signed number leaves a blank before it.
    w.Gain->SetCaption(" 150 points");
    EXPECT_EQ(NomLu(w.Gain), "Points du coup\u00A0: 150 points");
    w.Gain->SetCaption("-50 points");
    EXPECT_EQ(NomLu(w.Gain), "Points du coup\u00A0: -50 points");
    w.Score[1]->SetCaption("-40");
    EXPECT_EQ(NomLu(w.Score[1]), "Score du joueur B\u00A0: -40");
    w.CoupsRestants->SetCaption("3");
    EXPECT_EQ(NomLu(w.CoupsRestants), "Coups restants\u00A0: 3");
    EXPECT_EQ(w.Score[1]->Caption(), "-40") << "the panel itself still shows the bare number";
}

}  // namespace
}  // namespace tir
