// Private profile files ("Tir.ini"): sections in brackets, key=value lines ended by CR LF.
#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace tir {

// A key and the value to store under it.
using EntreeProfil = std::pair<QByteArray, QByteArray>;

// The value of `cle` in `section` of `fichier`, without the blanks around it and cut to
// taille - 1 bytes (less where that would split a UTF-8 character); `defaut` when the file, the
// section or the key is missing. Section and key names match without regard to case (ASCII
// letters); the first matching section and key count. The file is read as a stream: time grows with
// the bytes scanned, memory stays a few pages. `fichier` must be an absolute path outside the root
// folder, and a regular file of at most 64 MiB that is not a symbolic link; anything else reads as
// missing (and is never written).
QByteArray LitProfil(const QByteArray& section, const QByteArray& cle, const QByteArray& defaut,
                     int taille, const QString& fichier);

// The values of several keys of one section, in one reading of the file.
std::vector<QByteArray> LitProfil(const QByteArray& section, const std::vector<QByteArray>& cles,
                                  const QByteArray& defaut, int taille, const QString& fichier);

// Stores cle=valeur in `section`: replaces the key's line in place, or adds the key at the end
// of its section, or adds the section at the end of the file, creating the file when missing.
// Every other line stays byte for byte. Takes the folder's lock for the time of the write (see
// ProfilVerrouille). Returns false on failure (the game ignores it).
bool EcritProfil(const QByteArray& section, const QByteArray& cle, const QByteArray& valeur,
                 const QString& fichier);

// A profile file held under an exclusive lock that every copy of the game using the same folder
// takes before it writes: between a reading and a writing through the same object, no other copy
// changes the file. The wait for the lock is bounded (a copy stopped while holding it cannot
// freeze this one): Pris() tells whether the file may be used.
//
// A write puts the whole new file beside the old one and renames it over it, so a failure or a
// kill at any point leaves either the old file or the new one; the new file keeps the old one's
// owner, group, permissions, access list and other extended attributes. Where that cannot be
// (the folder takes no new file, or the owner or an attribute cannot be given back), a writable
// file is rewritten in place instead. A symbolic link, dangling
// or not, is never written through. Temporary files ("Tir.ini.~partiel-XXXXXX") that an
// interrupted write left beside the file are removed at the first write of each run.
class ProfilVerrouille {
  public:
    explicit ProfilVerrouille(const QString& fichier);
    ~ProfilVerrouille();
    ProfilVerrouille(const ProfilVerrouille&) = delete;
    ProfilVerrouille& operator=(const ProfilVerrouille&) = delete;

    bool Pris() const { return dossier_ >= 0; }
    std::vector<QByteArray> Lit(const QByteArray& section, const std::vector<QByteArray>& cles,
                                const QByteArray& defaut, int taille) const;
    // Stores every entry in `section` as EcritProfil does, all in one replacement of the file.
    bool Ecrit(const QByteArray& section, const std::vector<EntreeProfil>& entrees);

  private:
    int dossier_ = -1;       // the folder, opened and locked
    int verrou_ = -1;        // the file, locked as well
    bool surPlace_ = false;  // the folder could not be locked: the file is written in place
    QByteArray nom_;         // the file's name in it
};

}  // namespace tir
