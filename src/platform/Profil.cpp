// Private profile files: read by section and key, written whole beside the old file and renamed.
#include "platform/Profil.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <vector>

namespace tir {

namespace {

const QByteArray kMarqueUtf8("\xEF\xBB\xBF");
const QByteArray kFinDeLigne("\r\n");

// One line of the file: its text and, apart, the line end it had ("\r\n", "\n" or none).
struct Ligne {
    QByteArray texte;
    QByteArray fin;
};

struct Fichier {
    std::vector<Ligne> lignes;
};

bool EstBlanc(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

QByteArray SansBlancs(QByteArray t) {
    qsizetype debut = 0;
    qsizetype fin = t.size();
    while (debut < fin && EstBlanc(t[debut])) ++debut;
    while (fin > debut && EstBlanc(t[fin - 1])) --fin;
    return t.mid(debut, fin - debut);
}

bool MemeNom(const QByteArray& a, const QByteArray& b) {
    return a.toLower() == b.toLower();
}

Fichier Decoupe(const QByteArray& octets) {
    Fichier f;
    qsizetype debut = 0;
    while (debut < octets.size()) {
        const qsizetype lf = octets.indexOf('\n', debut);
        const qsizetype bout = lf < 0 ? octets.size() : lf;
        // A carriage return ends a line only before its line feed: a lone one at the very end of
        // the file is part of the last line's text, or a write elsewhere would drop it.
        const bool cr = lf >= 0 && bout > debut && octets[bout - 1] == '\r';
        Ligne l;
        l.texte = octets.mid(debut, bout - debut - (cr ? 1 : 0));
        l.fin = lf < 0 ? QByteArray() : (cr ? kFinDeLigne : QByteArray("\n"));
        f.lignes.push_back(std::move(l));
        debut = lf < 0 ? octets.size() : lf + 1;
    }
    return f;
}

// The text of line i as it is matched: the byte-order mark at the very start does not count.
QByteArray TexteLu(const Fichier& f, std::size_t i) {
    const QByteArray& t = f.lignes[i].texte;
    return i == 0 && t.startsWith(kMarqueUtf8) ? t.mid(kMarqueUtf8.size()) : t;
}

// The section's name when line i is a section header.
std::optional<QByteArray> EnTete(const Fichier& f, std::size_t i) {
    const QByteArray t = SansBlancs(TexteLu(f, i));
    if (!t.startsWith('[')) return std::nullopt;
    const qsizetype ferme = t.indexOf(']');
    return SansBlancs(t.mid(1, (ferme < 0 ? t.size() : ferme) - 1));
}

// The key and the value of line i when it is a key=value line; a line starting with ';' is a
// comment, whatever it holds.
std::optional<std::pair<QByteArray, QByteArray>> Entree(const Fichier& f, std::size_t i) {
    const QByteArray t = TexteLu(f, i);
    const qsizetype egal = t.indexOf('=');
    if (egal < 0 || SansBlancs(t).startsWith(';')) return std::nullopt;
    return std::make_pair(SansBlancs(t.left(egal)), SansBlancs(t.mid(egal + 1)));
}

// Where a section lies: its header line and the line after its last one.
struct Place {
    std::size_t entete;
    std::size_t fin;
};

std::optional<Place> TrouveSection(const Fichier& f, const QByteArray& section) {
    for (std::size_t i = 0; i < f.lignes.size(); ++i) {
        const auto nom = EnTete(f, i);
        if (!nom || !MemeNom(*nom, section)) continue;
        std::size_t fin = i + 1;
        while (fin < f.lignes.size() && !EnTete(f, fin)) ++fin;
        return Place{i, fin};
    }
    return std::nullopt;
}

std::optional<std::size_t> TrouveCle(const Fichier& f, const Place& p, const QByteArray& cle) {
    for (std::size_t i = p.entete + 1; i < p.fin; ++i) {
        const auto entree = Entree(f, i);
        if (entree && MemeNom(entree->first, cle)) return i;
    }
    return std::nullopt;
}

// The whole file, or nothing when it cannot be read (missing, a folder, no permission).
std::optional<QByteArray> Lit(const QString& fichier) {
    const QFileInfo info(fichier);
    if (!info.exists() || !info.isFile()) return std::nullopt;
    QFile f(fichier);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.readAll();
}

// Puts cle=valeur into the lines: replaces the first key's line, or adds it after the last
// non-blank line of the section, or adds the section at the end.
void Range(Fichier& f, const QByteArray& section, const QByteArray& cle, const QByteArray& valeur) {
    const Ligne entree{cle + '=' + valeur, kFinDeLigne};
    const auto place = TrouveSection(f, section);
    std::size_t ou = f.lignes.size();
    if (place) {
        if (const auto i = TrouveCle(f, *place, cle)) {
            f.lignes[*i] = entree;
            return;
        }
        ou = place->fin;
        while (ou > place->entete + 1 && SansBlancs(f.lignes[ou - 1].texte).isEmpty()) --ou;
    }
    // The line before the new one must end, or the two would run together.
    if (ou > 0 && f.lignes[ou - 1].fin.isEmpty()) f.lignes[ou - 1].fin = kFinDeLigne;
    auto pos = f.lignes.begin() + static_cast<std::ptrdiff_t>(ou);
    if (!place) pos = f.lignes.insert(pos, Ligne{'[' + section + ']', kFinDeLigne}) + 1;
    f.lignes.insert(pos, entree);
}

// Whether the file may be written, checked by opening it for appending (which changes nothing)
// so that the answer is the one the system gives this very process.
bool Modifiable(const QString& fichier) {
    QFile f(fichier);
    return f.open(QIODevice::WriteOnly | QIODevice::Append);
}

// A section or key name that could be written and read back as itself: not empty, on one line,
// without blanks around it (they are not part of the name when it is read).
bool NomValide(const QByteArray& nom, const char* interdit) {
    return !nom.isEmpty() && SansBlancs(nom) == nom && !nom.contains('\r') && !nom.contains('\n') &&
           !nom.contains(interdit);
}

}  // namespace

QByteArray LitProfil(const QByteArray& section, const QByteArray& cle, const QByteArray& defaut,
                     int taille, const QString& fichier) {
    const qsizetype maxi = taille > 1 ? taille - 1 : 0;
    QByteArray valeur = defaut;
    if (const auto octets = Lit(fichier)) {
        const Fichier f = Decoupe(*octets);
        if (const auto place = TrouveSection(f, section)) {
            if (const auto i = TrouveCle(f, *place, cle)) valeur = Entree(f, *i)->second;
        }
    }
    return valeur.left(maxi);
}

bool EcritProfil(const QByteArray& section, const QByteArray& cle, const QByteArray& valeur,
                 const QString& fichier) {
    // A key starting with ';' would be a comment, one starting with '[' a section header.
    if (!NomValide(section, "]") || !NomValide(cle, "=") || cle.startsWith(';') ||
        cle.startsWith('[')) {
        return false;
    }
    const QFileInfo info(fichier);
    QByteArray ancien;
    if (info.exists()) {
        // A file that cannot be read or written is left as it is: never replace what we could
        // not read.
        if (!info.isFile() || !Modifiable(fichier)) return false;
        const auto octets = Lit(fichier);
        if (!octets) return false;
        ancien = *octets;
    }
    // A line break in the value would add lines of its own (a typed name could forge a record):
    // the value stays on its one line.
    QByteArray surUneLigne = valeur;
    surUneLigne.replace('\r', ' ').replace('\n', ' ');
    Fichier f = Decoupe(ancien);
    Range(f, section, cle, surUneLigne);
    QByteArray sortie;
    for (const Ligne& l : f.lignes) sortie += l.texte + l.fin;
    QSaveFile nouveau(fichier);
    nouveau.setDirectWriteFallback(false);
    if (!nouveau.open(QIODevice::WriteOnly)) return false;
    // The bytes are pushed to the system here, and a failure (full disk, file size limit) is
    // seen here: left to commit(), a failed final flush would still rename a cut file over the
    // old one.
    if (nouveau.write(sortie) != sortie.size() || !nouveau.flush()) {
        nouveau.cancelWriting();
        return false;
    }
    return nouveau.commit();
}

}  // namespace tir
