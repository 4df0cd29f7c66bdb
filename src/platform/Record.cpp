// The record renamed over the old file, or written in place where that cannot mix them up.
#include "platform/Record.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

#include "platform/Profil.h"
#include "platform/Systeme.h"

namespace tir {

namespace {

const std::string kSection = "Tir_au_Murax", kCleScore = "ScoreMaxi", kCleNom = "NomJoueur";
constexpr std::size_t kTexteMaxi = 254;  // what the game's buffer of 255 bytes takes
// A record file is a few hundred bytes: a larger one (a sparse terabyte costs nothing to make) is
// not the game's, and reading it would hold up the end of the game.
constexpr off_t kTailleMaxi = off_t{1} << 20;
// How long a copy waits for another one to finish its write before giving up on the record.
constexpr auto kAttenteVerrou = std::chrono::milliseconds(500);
// The new file's name between its writing and its rename, under the lock: a write killed there
// leaves it, and the next write replaces it.
const std::string kSuffixeTemporaire = ".~partiel";

struct Chemin {
    std::string dossier, nom;
};

// The folder and the name of an absolute path. No file at the root, and no relative path (it
// would be taken from wherever the program was started).
std::optional<Chemin> Coupe(const std::string& fichier) {
    const std::size_t barre = fichier.rfind('/');
    if (!fichier.starts_with('/')) return std::nullopt;
    Chemin c{fichier.substr(0, barre), fichier.substr(barre + 1)};
    while (c.dossier.ends_with('/')) c.dossier.pop_back();
    if (c.dossier.empty() || c.nom.empty() || c.nom == "." || c.nom == "..") return std::nullopt;
    return c;
}

Record RecordDe(std::string_view octets) {
    const auto lit = [&](const std::string& cle) {
        return NomPropre(CoupeUtf8(LitValeur(octets, kSection, cle).value_or(""), kTexteMaxi));
    };
    return {lit(kCleScore), lit(kCleNom)};
}

// Takes the exclusive lock on `fd`, waiting a bounded time for another copy to finish (a copy
// stopped while holding it cannot freeze this one): 1 when taken, 0 when it cannot be had here
// (errno tells why), -1 when another copy held it all along.
int Verrouille(int fd) {
    const auto limite = std::chrono::steady_clock::now() + kAttenteVerrou;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return 0;
        if (std::chrono::steady_clock::now() >= limite) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 1;
}

bool MemeFichier(int a, int b) {
    struct stat sa {
    }, sb{};
    return fstat(a, &sa) == 0 && fstat(b, &sb) == 0 && sa.st_ino == sb.st_ino &&
           sa.st_dev == sb.st_dev;
}

// The lock of one write, on the folder, which stays the same through every write (the file is
// replaced; a lock file could not be made in a read-only folder), and on the file, for a copy
// that may pass through the folder but not list it: that one cannot lock the folder, so it locks
// the file alone and only ever writes in place.
struct Verrou {
    Descripteur dossier, fichier;
    bool pris = false, surPlace = false;

    explicit Verrou(const Chemin& c) {
        const auto ouvre = [&](int mode) {
            return SansInterruption([&] { return open(c.dossier.c_str(), mode | O_CLOEXEC); });
        };
        dossier.reset(ouvre(O_RDONLY | O_DIRECTORY));
        if (dossier.get() < 0 && errno == EACCES) dossier.reset(ouvre(O_PATH | O_DIRECTORY));
        if (dossier.get() < 0) return;
        int etat = Verrouille(dossier.get());
        surPlace = etat == 0 && errno == EBADF;
        // The file locked must still be the one under its name: a copy that may list the folder
        // can have replaced it meanwhile.
        for (int essai = 0; (etat == 1 || surPlace) && essai < 3; ++essai) {
            fichier.reset(OuvreFichierBorne(dossier.get(), c.nom.c_str(), O_RDONLY, kTailleMaxi));
            if (fichier.get() < 0) break;  // nothing to lock
            const int pris = Verrouille(fichier.get());
            const Descripteur actuel(
                OuvreFichierBorne(dossier.get(), c.nom.c_str(), O_RDONLY, kTailleMaxi));
            if (pris != 1 || (actuel.get() >= 0 && MemeFichier(fichier.get(), actuel.get()))) {
                etat = pris < 0 ? -1 : etat;
                break;
            }
            etat = essai == 2 ? -1 : etat;
        }
        pris = etat >= 0 && (!surPlace || fichier.get() >= 0);
    }
};

// Whether a new file would lose what the old one carries: its owner and group (which only the
// system's administrator may give) or extended attributes other than the system's security
// labels (an access list, a player's own). Else gives the new file the old one's permissions.
bool Intransmissible(int ancien, int neuf) {
    struct stat a {
    }, n{};
    if (fstat(ancien, &a) != 0 || fstat(neuf, &n) != 0) return true;
    if ((a.st_uid != n.st_uid || a.st_gid != n.st_gid) && fchown(neuf, a.st_uid, a.st_gid) != 0) {
        return true;
    }
    const ssize_t taille = flistxattr(ancien, nullptr, 0);
    std::string noms(static_cast<std::size_t>(std::max<ssize_t>(taille, 0)), '\0');
    if (taille < 0 ? errno != ENOTSUP : flistxattr(ancien, noms.data(), noms.size()) != taille) {
        return true;
    }
    for (const char* nom = noms.c_str(); nom < noms.c_str() + noms.size(); nom += strlen(nom) + 1) {
        if (std::strncmp(nom, "security.", std::strlen("security.")) != 0) return true;
    }
    return fchmod(neuf, a.st_mode & 07777) != 0;
}

enum class Issue { Faite, Echouee, SurPlace };

// Writes the new file beside the old one, unnamed until it is whole where the file system allows
// it, syncs it and renames it over the old one.
Issue Remplace(int dossier, const std::string& nom, int ancien, std::string_view octets) {
    const std::string temporaire = nom + kSuffixeTemporaire;
    for (const bool anonyme : {true, false}) {
        unlinkat(dossier, temporaire.c_str(), 0);  // what a killed write left
        const Descripteur neuf(SansInterruption([&] {
            return anonyme ? openat(dossier, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)
                           : openat(dossier, temporaire.c_str(),
                                    O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666);
        }));
        if (neuf.get() < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            return Issue::SurPlace;  // the folder takes no new file
        }
        if (neuf.get() < 0 && anonyme) continue;  // a file system without unnamed files
        if (neuf.get() < 0) return Issue::Echouee;
        if (ancien >= 0 && Intransmissible(ancien, neuf.get())) {
            unlinkat(dossier, temporaire.c_str(), 0);
            return Issue::SurPlace;
        }
        bool ok = EcritTout(neuf.get(), octets, 0) &&
                  SansInterruption([&] { return fsync(neuf.get()); }) == 0;
        if (ok && anonyme) {
            const std::string lien = "/proc/self/fd/" + std::to_string(neuf.get());
            if (linkat(AT_FDCWD, lien.c_str(), dossier, temporaire.c_str(), AT_SYMLINK_FOLLOW)) {
                continue;  // no /proc: the same again under a name
            }
        }
        if (!ok || renameat(dossier, temporaire.c_str(), dossier, nom.c_str()) != 0) {
            unlinkat(dossier, temporaire.c_str(), 0);
            return Issue::Echouee;
        }
        SansInterruption([&] { return fsync(dossier); });
        return Issue::Faite;
    }
    return Issue::Echouee;
}

// Writes the new values within the old record lines, in one write that lies within one page of
// the file: the kernel copies a page whole before it looks at a kill, so the file holds the old
// record or the new one. Refused where that cannot be (a value longer than its old line, record
// lines two pages apart, a file size limit that would cut the write).
bool EcritSurPlace(int fd, const std::string& octets, const std::vector<EntreeProfil>& entrees) {
    const auto neuf = EditeSurPlace(octets, kSection, entrees);
    if (!neuf) return false;
    std::size_t debut = 0, fin = octets.size();
    while (debut < fin && octets[debut] == (*neuf)[debut]) ++debut;
    while (fin > debut && octets[fin - 1] == (*neuf)[fin - 1]) --fin;
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    rlimit limite{};
    if (debut < fin && (debut / page != (fin - 1) / page ||
                        (getrlimit(RLIMIT_FSIZE, &limite) == 0 &&
                         limite.rlim_cur != RLIM_INFINITY && fin > limite.rlim_cur))) {
        return false;
    }
    const ssize_t n = debut == fin ? 0 : SansInterruption([&] {
        return pwrite(fd, neuf->data() + debut, fin - debut, static_cast<off_t>(debut));
    });
    if (n == static_cast<ssize_t>(fin - debut)) {
        return SansInterruption([&] { return fsync(fd); }) == 0;
    }
    // A write cut short all the same: its beginning is put back.
    if (n > 0) EcritTout(fd, std::string_view(octets).substr(debut, n), static_cast<off_t>(debut));
    return false;
}

}  // namespace

Record LitRecord(const std::string& fichier) {
    if (!Coupe(fichier)) return {};
    const Descripteur fd(OuvreFichierBorne(AT_FDCWD, fichier.c_str(), O_RDONLY, kTailleMaxi));
    if (fd.get() < 0) return {};
    return RecordDe(LitTout(fd.get(), kTailleMaxi).value_or(""));
}

bool EcritRecord(const std::string& fichier, const Record& nouveau,
                 const std::function<bool(const Record& actuel)>& garde) {
    const auto chemin = Coupe(fichier);
    if (!chemin) return false;
    const Verrou verrou(*chemin);
    if (!verrou.pris) return false;
    // A file that cannot be read and written is left as it is: never replace what could not be
    // read. A symbolic link is not the game's file, and a dangling one must not lead the new file
    // into another folder.
    const Descripteur ancien(
        OuvreFichierBorne(verrou.dossier.get(), chemin->nom.c_str(), O_RDWR, kTailleMaxi));
    if (ancien.get() < 0 && errno != ENOENT) return false;
    const auto octets = ancien.get() >= 0 ? LitTout(ancien.get(), kTailleMaxi) : std::string();
    if (!octets || (garde && !garde(RecordDe(*octets)))) return false;
    const std::vector<EntreeProfil> entrees{{kCleScore, nouveau.score},
                                            {kCleNom, NomPropre(nouveau.nom)}};
    if (!verrou.surPlace) {
        const auto neuf = Edite(*octets, kSection, entrees);
        const Issue issue = neuf ? Remplace(verrou.dossier.get(), chemin->nom, ancien.get(), *neuf)
                                 : Issue::Echouee;
        if (issue != Issue::SurPlace) return issue == Issue::Faite;
    }
    // Written in place, the file must be the one locked when only the file could be.
    return ancien.get() >= 0 &&
           (!verrou.surPlace || MemeFichier(ancien.get(), verrou.fichier.get())) &&
           EcritSurPlace(ancien.get(), *octets, entrees);
}

}  // namespace tir
