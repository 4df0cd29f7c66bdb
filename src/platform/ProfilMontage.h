// The new record file put together from pieces of the old one and new lines, and written beside
// it or in its place, by direct system calls on descriptors.
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <vector>

#include "platform/Profil.h"
#include "platform/ProfilAnalyse.h"

namespace tir {

// One piece of the new file: a range of the old file, or new text.
struct Piece {
    off_t debut = 0, fin = 0;  // a range of the old file, when `texte` is empty
    QByteArray texte;
};

// The new file as a list of pieces, in order: every key of `entrees` on its own line, in place of
// its old line or after the section's last non-blank line (in a new section at the end when the
// file has none); everything else of the old file kept byte for byte.
std::vector<Piece> Montage(int ancien, const Plan& plan, const QByteArray& section,
                           const std::vector<EntreeProfil>& entrees);

// Writes the pieces into the empty file `cible`. False on a full disk or the file size limit.
bool EcritPieces(int ancien, const std::vector<Piece>& pieces, int cible);

// Rewrites the file `fd` in its own place, all or nothing as far as room goes; then syncs it.
bool EcritSurPlace(int fd, const Plan& plan, const std::vector<Piece>& pieces);

// Gives `cible` every extended attribute of `source` that it does not have already. False when
// one cannot be read or given.
bool CopieAttributs(int source, int cible);

}  // namespace tir
