// The record file's scanner: one pass over the bytes, line by line, keeping no line.
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <optional>
#include <utility>
#include <vector>

namespace tir {

// What one pass over the file found: where the section and its keys lie.
struct Plan {
    off_t taille = 0;
    bool section = false;
    off_t apresNonBlanc = 0;  // end of the section's last non-blank line, or of its header
    std::vector<std::optional<std::pair<off_t, off_t>>> lignes;  // each key's line, with its end
    std::vector<QByteArray> valeurs;                             // each key's value, cut to maxi
};

// Finds the first section named `section` in the file open on `fd`, then in it the first line of
// each key, and stops once every key is found or the section ends. Nothing when it cannot be read.
std::optional<Plan> AnalyseProfil(int fd, const QByteArray& section,
                                  const std::vector<QByteArray>& cles, qsizetype maxi);

// Without the blanks (spaces, tabs, carriage returns) around it.
QByteArray SansBlancs(QByteArray t);

}  // namespace tir
