// The game's record in "Tir.ini": the best winning score and its holder. Read from a path, and
// written under a lock that every copy of the game takes. Plain C++ and POSIX, without Qt, so that
// a small program of its own may keep one record for every player of a machine.
#pragma once

#include <functional>
#include <string>

namespace tir {

// The record as the file gives it: texts in UTF-8 without the blanks around them, cut to 254
// bytes (never inside a character), without control or format characters; empty when missing.
struct Record {
    std::string score;  // "ScoreMaxi" as written (" 150", "-7"), or whatever a hand put there
    std::string nom;    // "NomJoueur"
};

// The record in the file at the absolute path `fichier`, given as the system's bytes. A missing,
// unreadable or foreign file (a symbolic link, not a regular file, over 1 MiB) reads as no record;
// so does a relative path or one at the root.
Record LitRecord(const std::string& fichier);

// Writes `nouveau` (score and name; the name filtered as LitRecord gives it back) into `fichier`,
// every other line kept, and tells whether it was kept. Under an exclusive lock shared by every
// copy of the game (waited for half a second at most) the file is read again, and `garde`, given
// the record found there, decides whether to write at all.
// - When the folder takes a new file, the whole new file is written beside the old one, synced,
//   and renamed over it, with the old file's owner, group and permissions: a kill, a crash or a
//   full disk at any point leaves the old file or the new one.
// - Otherwise (a writable file in a folder the player may not write to, or a file whose owner,
//   group or extended attributes a new file could not carry) the file is written in place, and
//   only when the new values fit in the old record lines (padded with blanks): one write within
//   one page of the file, which a kill cannot cut. Anything else is refused.
// - A symbolic link, a folder, a read-only file or a file over 1 MiB is never written.
bool EcritRecord(const std::string& fichier, const Record& nouveau,
                 const std::function<bool(const Record& actuel)>& garde);

}  // namespace tir
