// Private profile files: where a section and its keys lie, and the new bytes.
#include "platform/Profil.h"

#include <algorithm>
#include <array>

#include "platform/Texte.h"

namespace tir {

namespace {

constexpr std::string_view kMarqueUtf8 = "\xEF\xBB\xBF";
constexpr std::string_view kFinDeLigne = "\r\n";

bool EstBlanc(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view SansBlancs(std::string_view t) {
    while (!t.empty() && EstBlanc(t.front())) t.remove_prefix(1);
    while (!t.empty() && EstBlanc(t.back())) t.remove_suffix(1);
    return t;
}

bool MemeNom(std::string_view a, std::string_view b) {
    const auto minuscule = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return minuscule(x) == minuscule(y); });
}

// Where the section and each key's line lie, as offsets in the text.
struct Plan {
    bool section = false;
    std::size_t apresNonBlanc = 0;  // end of the section's last non-blank line, or of its header
    std::vector<std::optional<std::pair<std::size_t, std::size_t>>> lignes;  // with the line end
    std::vector<std::size_t> valeurs;  // where each key's value starts, just after its "="
};

Plan Analyse(std::string_view t, std::string_view section,
             const std::vector<EntreeProfil>& entrees) {
    Plan p;
    p.lignes.resize(entrees.size());
    p.valeurs.resize(entrees.size());
    bool dedans = false;
    // A byte-order mark at the very start does not count for matching.
    for (std::size_t debut = t.starts_with(kMarqueUtf8) ? kMarqueUtf8.size() : 0;
         debut < t.size();) {
        const std::size_t lf = t.find('\n', debut);
        const std::size_t fin = lf == std::string_view::npos ? t.size() : lf + 1;
        const std::string_view l = SansBlancs(t.substr(debut, lf - debut));
        const std::size_t egal = l.find('=');
        if (l.starts_with('[')) {
            if (dedans) break;  // the section ends here
            dedans = MemeNom(SansBlancs(l.substr(1, l.find(']') - 1)), section);
            p.section = dedans;
        } else if (dedans && !l.empty() && !l.starts_with(';') && egal != std::string_view::npos) {
            for (std::size_t i = 0; i < entrees.size(); ++i) {
                if (p.lignes[i] || !MemeNom(SansBlancs(l.substr(0, egal)), entrees[i].first))
                    continue;
                p.lignes[i] = std::make_pair(debut, fin);
                p.valeurs[i] = static_cast<std::size_t>(l.data() - t.data()) + egal + 1;
                break;
            }
        }
        if (dedans && !l.empty()) p.apresNonBlanc = fin;
        debut = fin;
    }
    return p;
}

// A name that reads back as itself.
bool NomValide(std::string_view nom, char interdit) {
    return !nom.empty() && SansBlancs(nom).size() == nom.size() &&
           nom.find_first_of(std::string("\r\n") + interdit) == std::string_view::npos;
}

bool NomsValides(std::string_view section, const std::vector<EntreeProfil>& entrees) {
    return NomValide(section, ']') &&
           std::all_of(entrees.begin(), entrees.end(), [](const EntreeProfil& e) {
               return NomValide(e.first, '=') && e.first[0] != ';' && e.first[0] != '[';
           });
}

// A value stays on its one line: a line break in it would add lines (a typed name could forge a
// record).
std::string SurUneLigne(std::string v) {
    std::replace_if(
        v.begin(), v.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return v;
}

}  // namespace

std::optional<std::string> LitValeur(std::string_view octets, std::string_view section,
                                     std::string_view cle) {
    const std::string texte = EstUtf16(octets) ? DepuisUtf16(octets).value_or("") : "";
    const std::string_view t = EstUtf16(octets) ? std::string_view(texte) : octets;
    const Plan p = Analyse(t, section, {{std::string(cle), {}}});
    if (!p.lignes[0]) return std::nullopt;
    const std::size_t fin = p.lignes[0]->second - (t[p.lignes[0]->second - 1] == '\n' ? 1 : 0);
    return EnUtf8(SansBlancs(t.substr(p.valeurs[0], fin - p.valeurs[0])));
}

std::optional<std::string> Edite(std::string_view octets, std::string_view section,
                                 const std::vector<EntreeProfil>& entrees) {
    const auto utf16 = EstUtf16(octets) ? DepuisUtf16(octets) : std::nullopt;
    if (!NomsValides(section, entrees) || (EstUtf16(octets) && !utf16)) return std::nullopt;
    const std::string_view t = utf16 ? std::string_view(*utf16) : octets;
    const Plan p = Analyse(t, section, entrees);
    std::vector<std::pair<std::size_t, std::size_t>> remplacees;  // a found key's line, by place
    std::string ajout;
    for (std::size_t i = 0; i < entrees.size(); ++i) {
        if (p.lignes[i]) {
            remplacees.emplace_back(p.lignes[i]->first, i);
        } else {
            ajout += entrees[i].first + '=' + SurUneLigne(entrees[i].second) + kFinDeLigne.data();
        }
    }
    std::sort(remplacees.begin(), remplacees.end());
    std::string r;
    std::size_t pos = 0;
    for (const auto& [debut, i] : remplacees) {
        r.append(t.substr(pos, debut - pos));
        r += entrees[i].first + '=' + SurUneLigne(entrees[i].second) + kFinDeLigne.data();
        pos = p.lignes[i]->second;
    }
    if (!ajout.empty()) {
        // Missing keys go after the section's last non-blank line, or in a new section at the end.
        const std::size_t ou = p.section ? p.apresNonBlanc : t.size();
        r.append(t.substr(pos, ou - pos));
        if (!p.section) ajout = '[' + std::string(section) + ']' + kFinDeLigne.data() + ajout;
        // The line before the new ones must end, or they would run together.
        if (!r.empty() && r.back() != '\n') r += kFinDeLigne;
        r += ajout;
        pos = ou;
    }
    r.append(t.substr(pos));
    return r;
}

std::optional<std::string> EditeSurPlace(std::string_view octets, std::string_view section,
                                         const std::vector<EntreeProfil>& entrees) {
    if (!NomsValides(section, entrees) || EstUtf16(octets)) return std::nullopt;
    const Plan p = Analyse(octets, section, entrees);
    std::string r(octets);
    for (std::size_t i = 0; i < entrees.size(); ++i) {
        if (!p.lignes[i]) return std::nullopt;
        // The room is the old value with its blanks, up to the line end.
        const std::size_t debut = p.valeurs[i];
        std::size_t fin = p.lignes[i]->second;
        if (fin > debut && r[fin - 1] == '\n') --fin;
        if (fin > debut && r[fin - 1] == '\r') --fin;
        std::string valeur = SurUneLigne(entrees[i].second);
        if (valeur.size() > fin - debut) return std::nullopt;
        valeur.resize(fin - debut, ' ');
        r.replace(debut, fin - debut, valeur);
    }
    return r;
}

}  // namespace tir
