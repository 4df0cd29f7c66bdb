// The points of a cannon hit, on numbers alone: the window's hit sequence shows and books them,
// the computer opponent weighs its aims with them.
#pragma once

namespace tir {

// Precision of a hit, 1 to 10, from the impact's distance x to the struck side's outer edge.
int Precision(double x);

// Points of an impact at abscissa `xImpact` on the cannon of side `cote` (0 left, 1 right) for
// the shooter `joueur` at his `nbEssais`-th shot on this battlefield: a gain on the opponent's
// cannon, minus the precision on his own.
long Points(int cote, int joueur, double xImpact, int largeur, int nbEssais);

}  // namespace tir
