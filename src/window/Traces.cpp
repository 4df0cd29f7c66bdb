// The traces of the last shots (option --traces): where each player's last shell landed on the
// field in play, marked on the screen only.
#include "platform/Couleurs.h"
#include "window/Form1.h"

namespace tir {

namespace {

// The players' colours of the score panels: A yellow, B green.
constexpr std::array<Teinte, 2> kCouleurTrace{Teinte::Jaune, Teinte::Vert};

}  // namespace

// A shell that exploded passed the turn; one that fell off the bottom edge kept it and left no
// trace. A shell that struck a cannon brought a new field, where the old trace has no place.
void Form1::MarqueLaTrace(int joueur, int champ) {
    if (!options.traces || Joueur == joueur || Dessin->Champs() != champ) return;
    Dessin->PoseTrace(joueur, XObus, YObus,
                      QBColor(kCouleurTrace.at(static_cast<std::size_t>(joueur))));
}

}  // namespace tir
