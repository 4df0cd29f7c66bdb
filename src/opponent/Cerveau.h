// How the computer chooses a shot, on numbers and the field as drawn: no window. It knows what
// a player sees (the field, both cannons, the wind, the scores and hits left) and the impacts of
// its own shots on this battlefield, and it estimates a flight as a skilled player would.
#pragma once

#include <array>
#include <cstdint>
#include <random>

#include "shot/Coup.h"
#include "window/Options.h"

namespace tir {

// What the computer sees when its turn comes.
struct Vue {
    Terrain terrain;  // the field as drawn and both cannons; the muzzles are those of now
    int joueur = 1;   // the computer's side
    std::int16_t vent = 0;
    std::array<long, 2> scores{};
    int essai = 1;  // the computer's shot on this battlefield about to be fired, from 1
    int coupsRestants = 10;
};

// An aim as the bars hold it.
struct Choix {
    int angle = 45;  // degrees
    int force = 50;
};

class Cerveau {
  public:
    Cerveau(Niveau niveau, std::uint64_t graine);

    // The aim for the next shot. Chooses an angle on a new battlefield and keeps it, and changes
    // the force as its own impacts teach it; a new wind is taken into account.
    Choix Choisis(const Vue& vue);
    // What its last shot did: the impact's abscissa, or a flight gone below the field.
    void Observe(const Vue& vue, const Choix& choix, const Impact& impact);
    // A new battlefield: what it learnt of the last one is forgotten.
    void NouveauChamp();

    // Where a shell would end for an aim, estimated every pixel or so along its path.
    static Impact Estime(const Vue& vue, int angle, int force);

  private:
    // Where on the field the shell should come down.
    double CibleDuCoup(const Vue& vue) const;
    // The force at `angle` whose estimated impact lies nearest to `x`, and that impact.
    std::pair<int, double> ForcePour(const Vue& vue, int angle, double x) const;
    Choix Meilleur(const Vue& vue, double x) const;

    Niveau niveau_;
    std::mt19937_64 des_;
    bool champConnu_ = false;
    int angle_ = 45;
    double erreur_ = 0;  // how far off its force is, in force units: shrinks as it corrects
};

}  // namespace tir
