// The record file's scanner: a state machine fed a slice of bytes at a time, so that a line of
// any length, or millions of lines, cost no more memory than a slice.
#include "platform/ProfilAnalyse.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string>

namespace tir {

namespace {

const QByteArray kMarqueUtf8("\xEF\xBB\xBF");
constexpr std::size_t kTranche = 64 * 1024;

bool EstBlanc(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

char Minuscule(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Text gathered byte by byte after its leading blanks, kept to `cap` bytes: the rest only tells
// whether anything but blanks came after them. Enough to compare a name with names of at most
// `cap` bytes, or to give a value cut to `cap` bytes, for a line of any length. Its storage is
// kept from line to line.
struct Morceau {
    std::string debut;
    qsizetype cap = 0;
    bool suite = false;  // a non-blank byte beyond the cap
    void Reprend(qsizetype nouveauCap) {
        debut.clear();
        cap = nouveauCap;
        suite = false;
    }
    void Ajoute(char c) {
        if (static_cast<qsizetype>(debut.size()) < cap) {
            debut += c;
        } else if (!EstBlanc(c)) {
            suite = true;
        }
    }
    // The length without the blanks at its end, when nothing came beyond the cap.
    std::size_t Longueur() const {
        std::size_t n = debut.size();
        while (!suite && n > 0 && EstBlanc(debut[n - 1])) --n;
        return n;
    }
    QByteArray Texte() const {
        return QByteArray(debut.data(), static_cast<qsizetype>(Longueur()));
    }
    // Whether it is `nom`, without regard to the case of ASCII letters.
    bool Est(const QByteArray& nom) const {
        if (suite || Longueur() != static_cast<std::size_t>(nom.size())) return false;
        for (qsizetype i = 0; i < nom.size(); ++i) {
            if (Minuscule(debut[static_cast<std::size_t>(i)]) != Minuscule(nom[i])) return false;
        }
        return true;
    }
};

// Scans the file line by line, keeping no line: finds the first section named `section`, then in
// it the first line of each key, and stops once every key is found or the section ends.
class Analyseur {
  public:
    Analyseur(const QByteArray& section, const std::vector<QByteArray>& cles, qsizetype maxi)
        : section_(section), cles_(cles), maxi_(maxi) {
        for (const QByteArray& c : cles) capCle_ = std::max(capCle_, c.size());
        plan_.lignes.resize(cles.size());
        plan_.valeurs.resize(cles.size());
    }

    std::optional<Plan> Parcourt(int fd) {
        struct stat st {};
        if (fstat(fd, &st) != 0) return std::nullopt;
        plan_.taille = st.st_size;
        std::array<char, kTranche> tampon{};
        off_t pos = 0;
        NouvelleLigne(0);
        while (!fini_) {
            const ssize_t lu = pread(fd, tampon.data(), tampon.size(), pos);
            if (lu < 0 && errno == EINTR) continue;
            if (lu < 0) return std::nullopt;
            if (lu == 0) break;
            const char* p = tampon.data();
            const char* bout = p + lu;
            // The byte-order mark at the very start of the file does not count for matching.
            if (pos == 0 && lu >= kMarqueUtf8.size() &&
                std::memcmp(p, kMarqueUtf8.constData(), kMarqueUtf8.size()) == 0) {
                p += kMarqueUtf8.size();
            }
            while (p < bout && !fini_) {
                // Blank lines change nothing: runs of them are passed over in one go.
                if (etat_ == Etat::Debut) {
                    while (p < bout && (*p == '\n' || EstBlanc(*p))) {
                        if (*p++ == '\n') debutLigne_ = pos + (p - tampon.data());
                    }
                    if (p == bout) break;
                }
                if (etat_ == Etat::Reste) {
                    const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(bout - p));
                    if (!lf) break;
                    p = static_cast<const char*>(lf);
                }
                const char c = *p++;
                if (c == '\n') {
                    FinDeLigne(pos + (p - tampon.data()));
                    NouvelleLigne(pos + (p - tampon.data()));
                } else {
                    Octet(c);
                }
            }
            pos += lu;
        }
        // A last line without its line end.
        if (!fini_ && debutLigne_ < plan_.taille) FinDeLigne(plan_.taille);
        return plan_;
    }

  private:
    enum class Etat { Debut, AvantNomSection, NomSection, Cle, AvantValeur, Valeur, Reste };

    void NouvelleLigne(off_t debut) {
        debutLigne_ = debut;
        etat_ = Etat::Debut;
        entete_ = false;
        cle_ = -1;
    }

    void Octet(char c) {
        switch (etat_) {
            case Etat::Debut:
                if (EstBlanc(c)) return;
                if (c == '[') {
                    entete_ = true;
                    nom_.Reprend(section_.size());
                    etat_ = Etat::AvantNomSection;
                } else if (!dansSection_ || c == ';' || c == '=') {
                    etat_ = Etat::Reste;
                } else {
                    nom_.Reprend(capCle_);
                    nom_.Ajoute(c);
                    etat_ = Etat::Cle;
                }
                return;
            case Etat::AvantNomSection:
                if (EstBlanc(c)) return;
                etat_ = Etat::NomSection;
                [[fallthrough]];
            case Etat::NomSection:
                if (c == ']') {
                    etat_ = Etat::Reste;
                } else {
                    nom_.Ajoute(c);
                    // Longer than the name sought: the rest of the line cannot change that.
                    if (nom_.suite) etat_ = Etat::Reste;
                }
                return;
            case Etat::Cle:
                if (c != '=') {
                    nom_.Ajoute(c);
                    if (nom_.suite) etat_ = Etat::Reste;
                    return;
                }
                for (std::size_t i = 0; i < cles_.size(); ++i) {
                    if (!plan_.lignes[i] && nom_.Est(cles_[i])) {
                        cle_ = static_cast<int>(i);
                        break;
                    }
                }
                valeur_.Reprend(maxi_);
                etat_ = cle_ >= 0 && maxi_ > 0 ? Etat::AvantValeur : Etat::Reste;
                return;
            case Etat::AvantValeur:
                if (EstBlanc(c)) return;
                etat_ = Etat::Valeur;
                [[fallthrough]];
            case Etat::Valeur:
                valeur_.Ajoute(c);
                if (valeur_.suite) etat_ = Etat::Reste;
                return;
            case Etat::Reste:
                return;
        }
    }

    void FinDeLigne(off_t fin) {
        const bool nonBlanc = etat_ != Etat::Debut;
        if (entete_) {
            if (dansSection_) {
                fini_ = true;  // the section ends here
            } else if (nom_.Est(section_)) {
                dansSection_ = true;
                plan_.section = true;
                plan_.apresNonBlanc = fin;
            }
            return;
        }
        if (!dansSection_) return;
        if (nonBlanc) plan_.apresNonBlanc = fin;
        if (cle_ >= 0) {
            plan_.lignes[cle_] = std::make_pair(debutLigne_, fin);
            plan_.valeurs[cle_] = valeur_.Texte();
            bool tous = true;
            for (const auto& l : plan_.lignes) tous = tous && l.has_value();
            if (tous) fini_ = true;
        }
    }

    const QByteArray& section_;
    const std::vector<QByteArray>& cles_;
    qsizetype maxi_;
    qsizetype capCle_ = 0;
    Plan plan_;
    Etat etat_ = Etat::Debut;
    off_t debutLigne_ = 0;
    bool entete_ = false;
    bool dansSection_ = false;
    bool fini_ = false;
    int cle_ = -1;
    Morceau nom_, valeur_;
};

}  // namespace

QByteArray SansBlancs(QByteArray t) {
    qsizetype debut = 0;
    qsizetype fin = t.size();
    while (debut < fin && EstBlanc(t[debut])) ++debut;
    while (fin > debut && EstBlanc(t[fin - 1])) --fin;
    return t.mid(debut, fin - debut);
}

std::optional<Plan> AnalyseProfil(int fd, const QByteArray& section,
                                  const std::vector<QByteArray>& cles, qsizetype maxi) {
    return Analyseur(section, cles, maxi).Parcourt(fd);
}

}  // namespace tir
