// Fuzz target for the record keeper's request check: whatever the bytes, the check ends, and
// what it accepts is exactly one score no game exceeds and one printable line of UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gardien/Demande.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string octets(reinterpret_cast<const char*>(donnees), taille);
    std::string refus;
    const auto demande = gardien::LitDemande(octets, refus);
    if (!demande) {
        if (refus.empty()) std::abort();
        return 0;
    }
    const std::string refait = std::to_string(demande->score) + "\n" + demande->nom + "\n";
    if (refait != octets || demande->score < 1 || demande->score > gardien::kScoreMaxi ||
        demande->nom.size() > gardien::kNomMaxi ||
        demande->nom.find_first_of("\r\n\t", 0) != std::string::npos) {
        std::abort();
    }
    return 0;
}
