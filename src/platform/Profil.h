// Private profile files ("Tir.ini"): sections in brackets, key=value lines ended by CR LF.
#pragma once

#include <QByteArray>
#include <QString>

namespace tir {

// The value of `cle` in `section` of `fichier`, without the blanks around it and cut to
// taille - 1 bytes; `defaut` when the file, the section or the key is missing. Section and key
// names match without regard to case; the first matching section and key count.
QByteArray LitProfil(const QByteArray& section, const QByteArray& cle, const QByteArray& defaut,
                     int taille, const QString& fichier);

// Stores cle=valeur in `section`: replaces the key's line in place, or adds the key at the end
// of its section, or adds the section at the end of the file, creating the file when missing.
// Every other line stays byte for byte. The new file is written whole beside the old one and
// renamed over it, so a failure at any point leaves the old file as it was. Returns false on
// failure (the game ignores it).
bool EcritProfil(const QByteArray& section, const QByteArray& cle, const QByteArray& valeur,
                 const QString& fichier);

}  // namespace tir
