// The new record file put together from pieces of the old one and new lines, and written.
#include "platform/ProfilMontage.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace tir {

namespace {

const QByteArray kFinDeLigne("\r\n");
constexpr std::size_t kTranche = 64 * 1024;
// A file rewritten in place keeps in memory the part between its first and its last change.
constexpr qsizetype kMilieuMaxi = 4 << 20;

bool EcritTout(int fd, const char* octets, std::size_t n, off_t ou) {
    while (n > 0) {
        const ssize_t e = pwrite(fd, octets, n, ou);
        if (e < 0 && errno == EINTR) continue;
        if (e <= 0) return false;  // a full disk or the file size limit
        octets += e;
        n -= static_cast<std::size_t>(e);
        ou += e;
    }
    return true;
}

// Copies [debut, fin) of `source` to `cible` at `ou`: by the system where it can, else a slice at
// a time.
bool Copie(int source, off_t debut, off_t fin, int cible, off_t ou) {
    while (debut < fin) {
        const ssize_t n =
            copy_file_range(source, &debut, cible, &ou, static_cast<std::size_t>(fin - debut), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
    }
    std::array<char, kTranche> tampon{};
    while (debut < fin) {
        const auto n = static_cast<std::size_t>(std::min<off_t>(fin - debut, kTranche));
        const ssize_t lu = pread(source, tampon.data(), n, debut);
        if (lu < 0 && errno == EINTR) continue;
        if (lu <= 0 || !EcritTout(cible, tampon.data(), static_cast<std::size_t>(lu), ou)) {
            return false;
        }
        debut += lu;
        ou += lu;
    }
    return true;
}

}  // namespace

// Gives `cible` every extended attribute of `source` that it does not have already: the access
// list and the attributes a player or a backup tool put on the record. False when one cannot be
// read or given.
bool CopieAttributs(int source, int cible) {
    ssize_t taille = flistxattr(source, nullptr, 0);
    if (taille <= 0) return taille == 0 || errno == ENOTSUP;
    std::vector<char> noms(static_cast<std::size_t>(taille));
    taille = flistxattr(source, noms.data(), noms.size());
    if (taille < 0) return false;
    for (const char* nom = noms.data(); nom < noms.data() + taille; nom += std::strlen(nom) + 1) {
        std::array<std::vector<char>, 2> valeurs;  // the old file's, the new one's
        for (const int fd : {source, cible}) {
            std::vector<char>& valeur = valeurs[fd == source ? 0 : 1];
            const ssize_t n = fgetxattr(fd, nom, nullptr, 0);
            if (n < 0 && fd == source) return false;
            valeur.resize(static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
            if (n > 0 && fgetxattr(fd, nom, valeur.data(), valeur.size()) != n) {
                if (fd == source) return false;
                valeur.clear();
            }
        }
        if (valeurs[0] != valeurs[1] &&
            fsetxattr(cible, nom, valeurs[0].data(), valeurs[0].size(), 0) != 0) {
            return false;
        }
    }
    return true;
}

std::vector<Piece> Montage(int ancien, const Plan& plan, const QByteArray& section,
                           const std::vector<EntreeProfil>& entrees) {
    std::vector<std::pair<off_t, std::size_t>> remplacees;  // a found key's line, by position
    QByteArray ajout;
    for (std::size_t i = 0; i < entrees.size(); ++i) {
        const QByteArray ligne = entrees[i].first + '=' + entrees[i].second + kFinDeLigne;
        if (plan.lignes[i]) {
            remplacees.emplace_back(plan.lignes[i]->first, i);
        } else {
            ajout += ligne;
        }
    }
    std::sort(remplacees.begin(), remplacees.end());
    std::vector<Piece> pieces;
    off_t pos = 0;
    for (const auto& [debut, i] : remplacees) {
        if (debut > pos) pieces.push_back({pos, debut, {}});
        pieces.push_back({0, 0, entrees[i].first + '=' + entrees[i].second + kFinDeLigne});
        pos = plan.lignes[i]->second;
    }
    if (!ajout.isEmpty()) {
        // Missing keys go after the section's last non-blank line, or in a new section at the end.
        const off_t ou = plan.section ? plan.apresNonBlanc : plan.taille;
        if (ou > pos) pieces.push_back({pos, ou, {}});
        // The line before the new ones must end, or they would run together.
        // (A replaced line just before ends with its own.)
        char avant = '\n';
        if (ou > pos && pread(ancien, &avant, 1, ou - 1) != 1) avant = '\n';
        if (!plan.section) ajout.prepend('[' + section + ']' + kFinDeLigne);
        if (avant != '\n') ajout.prepend(kFinDeLigne);
        pieces.push_back({0, 0, ajout});
        pos = ou;
    }
    if (plan.taille > pos) pieces.push_back({pos, plan.taille, {}});
    return pieces;
}

bool EcritPieces(int ancien, const std::vector<Piece>& pieces, int cible) {
    off_t ou = 0;
    for (const Piece& p : pieces) {
        if (!p.texte.isEmpty()) {
            if (!EcritTout(cible, p.texte.constData(), static_cast<std::size_t>(p.texte.size()),
                           ou)) {
                return false;
            }
            ou += p.texte.size();
        } else {
            if (!Copie(ancien, p.debut, p.fin, cible, ou)) return false;
            ou += p.fin - p.debut;
        }
    }
    return true;
}

// Rewrites the file in its own place: the part from the first change to the last is built in
// memory, the rest of the file is moved by the difference in size a slice at a time.
bool EcritSurPlace(int fd, const Plan& plan, const std::vector<Piece>& pieces) {
    std::size_t premier = 0;
    while (premier < pieces.size() && pieces[premier].texte.isEmpty()) ++premier;
    if (premier == pieces.size()) return fsync(fd) == 0;
    std::size_t dernier = pieces.size();
    while (pieces[dernier - 1].texte.isEmpty()) --dernier;
    const off_t debut = premier > 0 ? pieces[premier - 1].fin : 0;
    const off_t fin = dernier < pieces.size() ? pieces[dernier].debut : plan.taille;
    QByteArray milieu;
    for (std::size_t i = premier; i < dernier; ++i) {
        const Piece& p = pieces[i];
        if (milieu.size() + p.texte.size() + (p.fin - p.debut) > kMilieuMaxi) return false;
        if (!p.texte.isEmpty()) {
            milieu += p.texte;
            continue;
        }
        const qsizetype deja = milieu.size();
        milieu.resize(deja + (p.fin - p.debut));
        if (pread(fd, milieu.data() + deja, static_cast<std::size_t>(p.fin - p.debut), p.debut) !=
            p.fin - p.debut) {
            return false;
        }
    }
    const off_t ecart = debut + milieu.size() - fin;
    // Nothing is touched before the new file is sure to fit: under the file size limit, and on
    // the disk, every block of it reserved first, so that no write below fails half-way for want
    // of room and leaves a file mixed of the old and the new.
    const off_t taille = plan.taille + ecart;
    rlimit limite{};
    if (getrlimit(RLIMIT_FSIZE, &limite) == 0 && limite.rlim_cur != RLIM_INFINITY &&
        static_cast<rlim_t>(taille) > limite.rlim_cur) {
        return false;
    }
    int reserve = 0;
    do reserve = taille > 0 ? posix_fallocate(fd, 0, taille) : 0;
    while (reserve == EINTR);
    if (reserve != 0) {
        // A reservation that failed part-way may have lengthened the file with zeros.
        struct stat st {};
        if (fstat(fd, &st) == 0 && st.st_size > plan.taille) {
            [[maybe_unused]] const int r = ftruncate(fd, plan.taille);
        }
        return false;
    }
    std::array<char, kTranche> tampon{};
    // The rest of the file moves towards its end from its end, towards its start from its start,
    // so that no slice is overwritten before it is moved.
    for (off_t reste = plan.taille - fin; reste > 0 && ecart != 0;) {
        const off_t n = std::min<off_t>(reste, kTranche);
        const off_t de = ecart > 0 ? fin + reste - n : plan.taille - reste;
        if (pread(fd, tampon.data(), static_cast<std::size_t>(n), de) != n ||
            !EcritTout(fd, tampon.data(), static_cast<std::size_t>(n), de + ecart)) {
            return false;
        }
        reste -= n;
    }
    if (!EcritTout(fd, milieu.constData(), static_cast<std::size_t>(milieu.size()), debut)) {
        return false;
    }
    // A shorter file loses its end only once its whole content is in place.
    if (ecart < 0 && ftruncate(fd, taille) != 0) return false;
    return fsync(fd) == 0;
}

}  // namespace tir
