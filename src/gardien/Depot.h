// The record file as the keeper uses it: read the record, and write a better one, under the lock
// that every keeper takes. The keeper opens both files while it holds the games group and hands
// over their descriptors; nothing here opens a file by its name.
#pragma once

#include <string_view>

namespace gardien {

enum class Issue {
    Garde,     // score and name written
    PasMieux,  // the record on disk is as good or better: nothing written
    Occupe,    // another keeper held the lock for longer than the bounded wait
    Echec,     // the file could not be read or written: nothing changed
};

// Under an exclusive lock on `verrou`, reads the record in `fichier` again and, if `score` still
// beats it, writes score and name in the place of the old record lines, in one write that either
// happens whole or not at all; then syncs the file. The file is never made longer.
Issue GardeSiMieux(int fichier, int verrou, int score, std::string_view nom);

}  // namespace gardien
