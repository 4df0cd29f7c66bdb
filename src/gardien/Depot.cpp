// The shared record written in its own place, with the store's pure editor: the record lines of
// the shared file are laid out by the package with room for the longest score and name, padded
// with blanks that reading drops. One write inside one page of the file replaces both values
// together: a kill or a crash of the keeper leaves the old record or the new one, and a write
// that only overwrites bytes already there cannot meet a full disk.
//
// The lock is the keepers' own file, which only the games group may open. The store's lock (the
// folder and the file, which any player may open for reading, and so lock) would let one player
// keep every other player's record out for as long as he likes.
#include "gardien/Depot.h"

#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/Profil.h"
#include "platform/Systeme.h"

namespace gardien {

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kFichierMaxi = std::size_t{1} << 20;  // as the store reads it
constexpr auto kAttenteVerrou = std::chrono::seconds(2);
const std::string kSection = "Tir_au_Murax";

// The lock, taken within a bounded wait and given back however the keeper leaves.
class Verrou {
  public:
    explicit Verrou(int fd) : fd_(fd) {
        const auto limite = std::chrono::steady_clock::now() + kAttenteVerrou;
        while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) ||
                std::chrono::steady_clock::now() >= limite) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pris_ = true;
    }
    ~Verrou() { Rends(); }
    void Rends() {
        if (pris_) flock(fd_, LOCK_UN);
        pris_ = false;
    }
    Verrou(const Verrou&) = delete;
    Verrou& operator=(const Verrou&) = delete;
    bool Pris() const { return pris_; }

  private:
    int fd_;
    bool pris_ = false;
};

// The number a text starts with, blanks skipped; 0 when there is none.
long Nombre(std::string_view t) {
    while (!t.empty() && (t[0] == ' ' || t[0] == '\t')) t.remove_prefix(1);
    const bool negatif = !t.empty() && t[0] == '-';
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.remove_prefix(1);
    long n = 0;
    for (std::size_t i = 0; i < t.size() && t[i] >= '0' && t[i] <= '9' && n < 100000; ++i) {
        n = n * 10 + (t[i] - '0');
    }
    return negatif ? -n : n;
}

// Writes what differs between `ancien` and `neuf` (of the same length) in one call, within one
// page, gives the lock back, then syncs: a keeper stopped by its player while it waits for the
// disk holds no other player's record up. The keeper's file size limit is raised first as far as
// the system lets it: a limit below the write's end would cut the write short.
bool EcritDifference(int fichier, const std::string& ancien, const std::string& neuf,
                     Verrou& verrou) {
    std::size_t debut = 0, fin = ancien.size();
    while (debut < fin && ancien[debut] == neuf[debut]) ++debut;
    while (fin > debut && ancien[fin - 1] == neuf[fin - 1]) --fin;
    if (debut == fin) return true;
    rlimit limite{};
    if (getrlimit(RLIMIT_FSIZE, &limite) != 0) return false;
    limite.rlim_cur = limite.rlim_max;
    if (setrlimit(RLIMIT_FSIZE, &limite) != 0) return false;
    if ((limite.rlim_cur != RLIM_INFINITY && fin > limite.rlim_cur) ||
        debut / kPage != (fin - 1) / kPage) {
        return false;
    }
    const ssize_t n = tir::SansInterruption(
        [&] { return pwrite(fichier, neuf.data() + debut, fin - debut, off_t(debut)); });
    verrou.Rends();
    return n == static_cast<ssize_t>(fin - debut) &&
           tir::SansInterruption([&] { return fdatasync(fichier); }) == 0;
}

}  // namespace

Issue GardeSiMieux(int fichier, int verrou, int score, std::string_view nom) {
    Verrou tenu(verrou);
    if (!tenu.Pris()) return Issue::Occupe;
    const std::optional<std::string> octets = tir::LitTout(fichier, kFichierMaxi);
    if (!octets) return Issue::Echec;
    const std::optional<std::string> actuel = tir::LitValeur(*octets, kSection, "ScoreMaxi");
    if (score <= Nombre(actuel.value_or(""))) return Issue::PasMieux;
    const std::optional<std::string> neuf = tir::EditeSurPlace(
        *octets, kSection,
        {{"ScoreMaxi", " " + std::to_string(score)}, {"NomJoueur", std::string(nom)}});
    if (!neuf || neuf->size() != octets->size()) return Issue::Echec;
    return EcritDifference(fichier, *octets, *neuf, tenu) ? Issue::Garde : Issue::Echec;
}

}  // namespace gardien
