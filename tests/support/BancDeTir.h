// A firing range for tests: the real window built on fake services, each of which the test may
// replace by its own, and the helpers to set up a shot, fire it and look at what it left.
#pragma once

#include <QCoreApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "Faux.h"
#include "window/Form1.h"

namespace tir::test {

// The level every layer takes when its random draw is 0: Hauteur / 4.
inline constexpr double kSolPlat = 334.0 / 4;
// Random draws of one landscape: per layer one colour, two levels and eight middle points.
inline constexpr int kTiragesPaysage = 33;
// The draw that gives no wind: floor(0.5 x 20) - 10 = 0.
inline constexpr double kTirageSansVent = 0.5;

// The services a test brings itself; those left null are the range's own fakes.
struct Remplacants {
    FausseHorloge* horloge = nullptr;
    Hasard* hasard = nullptr;
    Lecteur* lecteur = nullptr;
    Saisie* saisie = nullptr;
    Dossier* dossier = nullptr;
};

struct BancDeTir {
    FausseHorloge horloge;
    FauxHasard hasard;
    FauxLecteur lecteur;
    FausseSaisie saisie;
    FauxDossier dossier;
    // The clock the window runs on: `horloge` or the test's own.
    FausseHorloge& horlogeEnJeu;
    std::unique_ptr<Form1> form;

    // `options`: the command line's, who the computer plays and how well.
    explicit BancDeTir(const Remplacants& r = {}, const Options& options = {})
        : horlogeEnJeu(r.horloge ? *r.horloge : horloge) {
        form = std::make_unique<Form1>(
            Services{horlogeEnJeu, r.hasard ? *r.hasard : hasard, r.lecteur ? *r.lecteur : lecteur,
                     r.saisie ? *r.saisie : saisie, r.dossier ? *r.dossier : dossier},
            nullptr, options);
    }

    // Puts the window on the screen and lets it draw, as the program does at start.
    void Montre() {
        form->show();
        QCoreApplication::processEvents();
    }

    // The next landscapes come out flat at kSolPlat from edge to edge.
    void ScripteChampPlat(int paysages = 1) {
        for (int i = 0; i < paysages * kTiragesPaysage; ++i) hasard.valeurs.push_back(0.0);
    }

    // A flat battlefield, both cannons on the same ground, no wind.
    void ChampPlat() {
        ScripteChampPlat();
        form->DessinePaysage();
        form->ForceVent = 0;
    }

    // Aims through the real scroll bars, as a player would.
    void Vise(int joueur, int angle, int force) {
        form->BHAngle[joueur]->setValue(angle);
        form->BHForce[joueur]->setValue(force);
    }

    // Fires the shooter's button as a player would; the whole shot runs inside the click. Then,
    // as the program's event loop would, runs what the shot left queued.
    void Tire() {
        QTest::mouseClick(form->Feu[form->Joueur], Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    bool Finie() const { return !form->Nouveau->isHidden(); }

    bool SonJoue(const QString& nom) const {
        for (const QString& chemin : lecteur.joues) {
            if (chemin.endsWith(nom)) return true;
        }
        return false;
    }

    Couleur Affiche(int colonne, int ligne) const {
        return static_cast<Couleur>(form->Dessin->Affichage().pixel(colonne, ligne) & 0xFFFFFF);
    }
};

}  // namespace tir::test
