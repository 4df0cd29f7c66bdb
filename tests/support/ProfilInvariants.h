// What an edit of a profile file must keep: shared by the fuzz target and the test suite that
// replays its corpus. One input is the names, the value and the old file, cut apart by 0x01 bytes.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "platform/Profil.h"

namespace tir::fuzz {

constexpr char kSeparateur = '\x01';

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
    auto blanc = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
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

// Empty when the new file `apres` keeps every promise, else what went wrong.
inline QByteArray VerifieEcriture(const Cas& c, const std::optional<std::string>& apres) {
    if (!apres) {
        if (NomSimple(c.section) && NomSimple(c.cle) && !c.ancien.startsWith("\xFF\xFE") &&
            !c.ancien.startsWith("\xFE\xFF")) {
            return "a write with plain names refused";
        }
        return {};
    }
    QByteArray valeur = c.valeur;
    valeur.replace('\r', ' ').replace('\n', ' ');
    const auto lue = LitValeur(*apres, c.section.toStdString(), c.cle.toStdString());
    if (!lue || *lue != EnUtf8(SansBlancs(valeur).toStdString())) {
        return "the key does not read back as written";
    }
    // A file in UTF-16 becomes another text: its lines are checked by the tests, not here.
    if (c.ancien.startsWith("\xFF\xFE") || c.ancien.startsWith("\xFE\xFF")) return {};
    const QByteArray cle = c.cle + '=' + valeur + "\r\n";
    const QByteArray entete = '[' + c.section + "]\r\n";
    std::vector<QByteArray> avant = Lignes(c.ancien);
    const std::vector<QByteArray> nouveau = Lignes(QByteArray::fromStdString(*apres));
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

// Empty when the change in place keeps the file's length and changes bytes of the key's old line
// only, and the key reads back as written.
inline QByteArray VerifieSurPlace(const Cas& c, const std::optional<std::string>& apres) {
    if (!apres) return {};
    const QByteArray neuf = QByteArray::fromStdString(*apres);
    if (neuf.size() != c.ancien.size()) return "a change in place changed the length";
    QByteArray valeur = c.valeur;
    valeur.replace('\r', ' ').replace('\n', ' ');
    const auto lue = LitValeur(*apres, c.section.toStdString(), c.cle.toStdString());
    if (!lue || *lue != EnUtf8(SansBlancs(valeur).toStdString())) {
        return "the key does not read back after a change in place";
    }
    const std::vector<QByteArray> avant = Lignes(c.ancien), nouveau = Lignes(neuf);
    if (avant.size() != nouveau.size()) return "a change in place moved a line end";
    for (std::size_t i = 0; i < avant.size(); ++i) {
        if (avant[i] != nouveau[i] && !LigneDeLaCle(avant[i], c.cle)) {
            return "a change in place touched another line";
        }
    }
    return {};
}

inline QByteArray Contenu(const QString& fichier) {
    QFile f(fichier);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Edits the old file both ways, reads it, and checks the results.
inline QByteArray Essaie(const Cas& c) {
    const std::string ancien = c.ancien.toStdString();
    const std::vector<EntreeProfil> entrees{{c.cle.toStdString(), c.valeur.toStdString()}};
    const auto lue = LitValeur(ancien, c.section.toStdString(), c.cle.toStdString());
    if (lue && EnUtf8(*lue) != *lue) return "a value read that is not UTF-8";
    QByteArray faute = VerifieEcriture(c, Edite(ancien, c.section.toStdString(), entrees));
    if (faute.isEmpty()) {
        faute = VerifieSurPlace(c, EditeSurPlace(ancien, c.section.toStdString(), entrees));
    }
    return faute;
}

}  // namespace tir::fuzz
