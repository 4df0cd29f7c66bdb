// The record written in its own place: the record lines of the shared file are laid out by the
// package with room for the longest score and name, padded with blanks that reading drops. One
// write inside one page of the file replaces both values together: a kill or a crash of the
// keeper leaves the old record or the new one, and a write that only overwrites bytes already
// there cannot meet a full disk.
#include "gardien/Depot.h"

#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

namespace gardien {

namespace {

constexpr std::size_t kPage = 4096;
constexpr off_t kFichierMaxi = 64 * 1024;  // a record file is a few hundred bytes
constexpr int kEssaisVerrou = 200;         // 200 tries 10 ms apart: two seconds at most
constexpr long kPauseVerrou = 10'000'000;  // ns

// Where a key's value lies in the file, blanks included, up to its line's end.
struct Valeur {
    std::size_t debut = 0, fin = 0;
};

bool Egaux(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto min = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (min(a[i]) != min(b[i])) return false;
    }
    return true;
}

std::string_view SansBlancs(std::string_view t) {
    const std::size_t d = t.find_first_not_of(" \t\r");
    if (d == std::string_view::npos) return {};
    return t.substr(d, t.find_last_not_of(" \t\r") - d + 1);
}

// The values of ScoreMaxi and NomJoueur in the first section [Tir_au_Murax], first line of each.
bool Trouve(const std::string& texte, std::optional<Valeur>& score, std::optional<Valeur>& nom) {
    bool dedans = false, vue = false;
    for (std::size_t i = 0; i < texte.size();) {
        std::size_t fin = texte.find('\n', i);
        if (fin == std::string::npos) fin = texte.size();
        const std::string_view ligne = SansBlancs(std::string_view(texte).substr(i, fin - i));
        if (!ligne.empty() && ligne.front() == '[') {
            if (dedans) break;
            dedans = !vue && Egaux(ligne, "[Tir_au_Murax]");
            vue = vue || dedans;
        } else if (dedans) {
            const std::size_t egal = texte.find('=', i);
            if (egal < fin) {
                const std::string_view cle =
                    SansBlancs(std::string_view(texte).substr(i, egal - i));
                std::size_t finValeur = fin;
                if (finValeur > egal + 1 && texte[finValeur - 1] == '\r') --finValeur;
                std::optional<Valeur>& v = Egaux(cle, "ScoreMaxi") ? score : nom;
                if ((Egaux(cle, "ScoreMaxi") || Egaux(cle, "NomJoueur")) && !v) {
                    v = Valeur{egal + 1, finValeur};
                }
            }
        }
        i = fin + 1;
    }
    return score && nom;
}

// The number a text starts with, blanks skipped; 0 when there is none.
long Nombre(std::string_view t) {
    t = SansBlancs(t);
    const bool negatif = !t.empty() && t[0] == '-';
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.remove_prefix(1);
    long n = 0;
    for (std::size_t i = 0; i < t.size() && t[i] >= '0' && t[i] <= '9' && n < 100000; ++i) {
        n = n * 10 + (t[i] - '0');
    }
    return negatif ? -n : n;
}

bool Verrouille(int verrou) {
    for (int essai = 0; essai < kEssaisVerrou; ++essai) {
        if (flock(verrou, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        const timespec pause{0, kPauseVerrou};
        nanosleep(&pause, nullptr);
    }
    return false;
}

std::optional<std::string> LitTout(int fichier) {
    struct stat s {};
    if (fstat(fichier, &s) != 0 || !S_ISREG(s.st_mode) || s.st_size > kFichierMaxi) return {};
    std::string texte(static_cast<std::size_t>(s.st_size), '\0');
    std::size_t lu = 0;
    while (lu < texte.size()) {
        const ssize_t n = pread(fichier, texte.data() + lu, texte.size() - lu, off_t(lu));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return {};
        lu += static_cast<std::size_t>(n);
    }
    return texte;
}

// A value in its place, padded with blanks to the old value's width; false when it is too long.
bool Place(std::string& texte, const Valeur& v, std::string_view nouvelle) {
    if (nouvelle.size() > v.fin - v.debut) return false;
    texte.replace(v.debut, v.fin - v.debut,
                  std::string(nouvelle).append(v.fin - v.debut - nouvelle.size(), ' '));
    return true;
}

// Writes texte[debut, fin) in place in one call. The file size limit would cut a write short,
// so the keeper's own limit is raised to what the system allows first.
bool EcritPlage(int fichier, const std::string& texte, std::size_t debut, std::size_t fin) {
    rlimit limite{};
    if (getrlimit(RLIMIT_FSIZE, &limite) != 0) return false;
    limite.rlim_cur = limite.rlim_max;
    if (setrlimit(RLIMIT_FSIZE, &limite) != 0) return false;
    if (limite.rlim_cur != RLIM_INFINITY && limite.rlim_cur < texte.size()) return false;
    ssize_t n = 0;
    do {
        n = pwrite(fichier, texte.data() + debut, fin - debut, off_t(debut));
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(fin - debut) && fdatasync(fichier) == 0;
}

// The lock, given back however the keeper leaves.
struct Verrou {
    int fd;
    ~Verrou() { flock(fd, LOCK_UN); }
};

}  // namespace

Issue GardeSiMieux(int fichier, int verrou, int score, std::string_view nom) {
    if (!Verrouille(verrou)) return Issue::Occupe;
    const Verrou tenu{verrou};
    std::optional<std::string> texte = LitTout(fichier);
    std::optional<Valeur> vScore, vNom;
    if (!texte || !Trouve(*texte, vScore, vNom)) return Issue::Echec;
    const std::string_view ancien =
        std::string_view(*texte).substr(vScore->debut, vScore->fin - vScore->debut);
    if (score <= Nombre(ancien)) return Issue::PasMieux;
    const std::size_t debut = std::min(vScore->debut, vNom->debut);
    const std::size_t fin = std::max(vScore->fin, vNom->fin);
    // Both values in one page: the system writes a page of the file whole or not at all.
    if (debut / kPage != (fin - 1) / kPage) return Issue::Echec;
    const std::string scoreTexte = " " + std::to_string(score);
    if (!Place(*texte, *vScore, scoreTexte) || !Place(*texte, *vNom, nom)) return Issue::Echec;
    return EcritPlage(fichier, *texte, debut, fin) ? Issue::Garde : Issue::Echec;
}

}  // namespace gardien
