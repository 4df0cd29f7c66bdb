#include "gardien/Entree.h"

#include <unistd.h>

#include <cerrno>

namespace gardien {

std::optional<Demande> LitEntree(int entree, std::string& refus) {
    std::string octets(kDemandeMaxi + 1, '\0');
    std::size_t lu = 0;
    while (lu < octets.size()) {
        const ssize_t n = read(entree, octets.data() + lu, octets.size() - lu);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            refus = "entrée illisible";
            return std::nullopt;
        }
        if (n == 0) break;
        lu += static_cast<std::size_t>(n);
    }
    octets.resize(lu);
    return LitDemande(octets, refus);
}

}  // namespace gardien
