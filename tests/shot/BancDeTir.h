// A firing range for tests: the real window built on fake services, a clock that lets a test
// look at the field at every read and wait of a shot, and a flat battlefield.
#pragma once

#include <QScrollBar>
#include <functional>
#include <memory>

#include "Faux.h"
#include "window/Form1.h"

namespace tir::test {

// The fake clock, with a look-out at each read (once per flight frame) and each wait (between
// the frames of the flight, the shell on the display, and of the animations).
class HorlogeEspion : public FausseHorloge {
  public:
    std::function<void()> aChaqueLecture;
    std::function<void()> aChaqueAttente;
    int lectures = 0;
    double Maintenant() override {
        ++lectures;
        if (aChaqueLecture) aChaqueLecture();
        return FausseHorloge::Maintenant();
    }
    void AttendsJusqua(double echeance) override {
        if (aChaqueAttente) aChaqueAttente();
        FausseHorloge::AttendsJusqua(echeance);
    }
};

// The level every layer takes when its random draw is 0: Hauteur / 4.
inline constexpr double kSolPlat = 334.0 / 4;
// Random draws of one landscape: per layer one colour, two levels and eight middle points.
inline constexpr int kTiragesPaysage = 33;
// The draw that gives no wind: floor(0.5 x 20) - 10 = 0.
inline constexpr double kTirageSansVent = 0.5;

struct BancDeTir {
    HorlogeEspion horloge;
    FauxHasard hasard;
    FauxLecteur lecteur;
    FausseSaisie saisie;
    FauxDossier dossier;
    std::unique_ptr<Form1> form;

    BancDeTir() {
        form = std::make_unique<Form1>(Services{horloge, hasard, lecteur, saisie, dossier});
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
