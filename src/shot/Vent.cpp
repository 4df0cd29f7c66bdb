// The wind: a new random strength from -10 to 9, shown as a number and a row of arrows.
#include <cstdlib>

#include "window/Form1.h"

namespace tir {

namespace {

constexpr int kVents = 20;  // -10 ... 9, each equally likely
constexpr int kVentMini = -10;

}  // namespace

// Draws ForceVent anew; Vent shows its strength, FlecheVent one arrow per two units (and one
// more) against the side it blows to. A calm shows no arrow and keeps the last alignment.
void Form1::Vent_Click() {
    services.hasard.Randomize();
    ForceVent = static_cast<std::int16_t>(Int(services.hasard.Rnd() * kVents) + kVentMini);
    const int force = std::abs(ForceVent);
    Vent->SetCaption(TexteSimple(force));
    FlecheVent->SetCaption(QString());
    if (ForceVent < 0) {
        FlecheVent->SetAlignment(Alignement::GaucheCentre);
        FlecheVent->SetCaption(QString(force / 2 + 1, QChar('<')));
    }
    if (ForceVent > 0) {
        FlecheVent->SetAlignment(Alignement::DroiteCentre);
        FlecheVent->SetCaption(QString(force / 2 + 1, QChar('>')));
    }
}

}  // namespace tir
