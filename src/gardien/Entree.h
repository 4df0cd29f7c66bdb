// The keeper's standard input, read whole but never beyond what a request may hold.
#pragma once

#include <optional>
#include <string>

#include "gardien/Demande.h"

namespace gardien {

// Reads `entree` to its end, at most kDemandeMaxi + 1 bytes, and checks the request. Nothing,
// with the reason in `refus`, when it cannot be read, is longer or is not a request.
std::optional<Demande> LitEntree(int entree, std::string& refus);

}  // namespace gardien
