// What a record file write must keep: shared by the fuzz target and the test suite that replays
// its corpus. One input is the names, the value and the old file, cut apart by 0x01 bytes.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <vector>

#include "platform/Profil.h"

namespace tir::fuzz {

constexpr char kSeparateur = '\x01';
constexpr int kTailleLecture = 1 << 20;  // large enough never to cut the value read back

// The section, key and value to write, and the bytes of the file already there.
struct Cas {
    QByteArray section = "Tir_au_Murax";
    QByteArray cle = "ScoreMaxi";
    QByteArray valeur = " 150";
    QByteArray ancien;
};

// Splits an input: with three separators or more, the first three parts are the section, the
// key and the value; otherwise the game's own names are used and the whole input is the file.
inline Cas Decode(const QByteArray& entree) {
    Cas c;
    const QList<QByteArray> parts = entree.split(kSeparateur);
    if (parts.size() < 4) {
        c.ancien = entree;
        return c;
    }
    c.section = parts[0];
    c.cle = parts[1];
    c.valeur = parts[2];
    const qsizetype debut = parts[0].size() + parts[1].size() + parts[2].size() + 3;
    c.ancien = entree.mid(debut);
    return c;
}

// Lines with their own line ends, exactly as stored.
inline std::vector<QByteArray> Lignes(const QByteArray& octets) {
    std::vector<QByteArray> l;
    qsizetype debut = 0;
    while (debut < octets.size()) {
        const qsizetype lf = octets.indexOf('\n', debut);
        const qsizetype fin = lf < 0 ? octets.size() : lf + 1;
        l.push_back(octets.mid(debut, fin - debut));
        debut = fin;
    }
    return l;
}

inline QByteArray SansBlancs(const QByteArray& t) {
    qsizetype d = 0, f = t.size();
    auto blanc = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (d < f && blanc(t[d])) ++d;
    while (f > d && blanc(t[f - 1])) --f;
    return t.mid(d, f - d);
}

// Whether `ligne` is a key=value line of `cle`, names compared without regard to case.
inline bool LigneDeLaCle(QByteArray ligne, const QByteArray& cle) {
    if (ligne.startsWith("\xEF\xBB\xBF")) ligne = ligne.mid(3);
    const qsizetype egal = ligne.indexOf('=');
    return egal >= 0 && SansBlancs(ligne.left(egal)).toLower() == cle.toLower();
}

// Names that are plain words: a write with them must never be refused.
inline bool NomSimple(const QByteArray& nom) {
    if (nom.isEmpty()) return false;
    for (const char c : nom) {
        const bool lettre = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!lettre && !(c >= '0' && c <= '9') && c != '_') return false;
    }
    return true;
}

// Whether `apres` is `avant` with only lines `nouvelles` put in place of lines
// [debut, debut + remplacees) of `avant`, every other line byte for byte as it was.
inline bool SeulementCesLignes(const std::vector<QByteArray>& avant,
                               const std::vector<QByteArray>& apres,
                               const std::vector<QByteArray>& nouvelles, std::size_t remplacees) {
    if (apres.size() + remplacees != avant.size() + nouvelles.size()) return false;
    std::size_t p = 0;
    while (p < avant.size() && p < apres.size() && avant[p] == apres[p]) ++p;
    for (std::size_t debut = p + 1; debut-- > 0;) {
        if (debut + remplacees > avant.size()) continue;
        bool ok = true;
        for (std::size_t i = 0; ok && i < nouvelles.size(); ++i) {
            ok = apres[debut + i] == nouvelles[i];
        }
        for (std::size_t i = debut + remplacees; ok && i < avant.size(); ++i) {
            ok = avant[i] == apres[i - remplacees + nouvelles.size()];
        }
        if (ok) return true;
    }
    return false;
}

// Empty when the write kept every promise, else what went wrong.
inline QByteArray VerifieEcriture(const Cas& c, bool reussie, const QByteArray& apres,
                                  const QString& fichier) {
    if (!reussie) {
        if (apres != c.ancien) return "a refused write changed the file";
        if (NomSimple(c.section) && NomSimple(c.cle)) return "a write with plain names refused";
        return {};
    }
    QByteArray valeur = c.valeur;
    valeur.replace('\r', ' ').replace('\n', ' ');
    const QByteArray lue = LitProfil(c.section, c.cle, "\x02", kTailleLecture, fichier);
    if (lue != SansBlancs(valeur)) return "the key does not read back as written";
    const QByteArray cle = c.cle + '=' + valeur + "\r\n";
    const QByteArray entete = '[' + c.section + "]\r\n";
    std::vector<QByteArray> avant = Lignes(c.ancien);
    const std::vector<QByteArray> nouveau = Lignes(apres);
    for (std::size_t i = 0; i < avant.size(); ++i) {
        if (LigneDeLaCle(avant[i], c.cle) && SeulementCesLignes(avant, nouveau, {cle}, 1)) {
            return {};
        }
    }
    if (SeulementCesLignes(avant, nouveau, {cle}, 0)) return {};
    if (SeulementCesLignes(avant, nouveau, {entete, cle}, 0)) return {};
    // A last line without its end may only get one when something is added after it.
    if (!avant.empty() && !avant.back().endsWith('\n')) {
        avant.back() += "\r\n";
        if (SeulementCesLignes(avant, nouveau, {cle}, 0) && nouveau.back() == cle) return {};
        if (SeulementCesLignes(avant, nouveau, {entete, cle}, 0) && nouveau.back() == cle) {
            return {};
        }
    }
    return "a line other than the key's own changed";
}

inline QByteArray Contenu(const QString& fichier) {
    QFile f(fichier);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Lays the old file, reads it under a few names, writes the key and checks the result.
inline QByteArray Essaie(const Cas& c, const QString& fichier) {
    QFile::remove(fichier);
    {
        QFile f(fichier);
        if (!f.open(QIODevice::WriteOnly) || f.write(c.ancien) != c.ancien.size()) {
            return "cannot lay the old file";
        }
    }
    for (const int taille : {0, 1, 2, 255}) {
        if (LitProfil(c.section, c.cle, "d", taille, fichier).size() > std::max(taille - 1, 0)) {
            return "a value read longer than the buffer";
        }
    }
    const bool reussie = EcritProfil(c.section, c.cle, c.valeur, fichier);
    return VerifieEcriture(c, reussie, Contenu(fichier), fichier);
}

}  // namespace tir::fuzz
