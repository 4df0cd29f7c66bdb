// libFuzzer target for the record file: reads and writes the key over any old file and any
// names, and stops on the first broken promise.
#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ProfilInvariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    // One folder for the whole run, on a memory file system when there is one.
    static QTemporaryDir dossier(QDir("/dev/shm").exists() ? "/dev/shm/tir-fuzz-XXXXXX"
                                                           : QDir::tempPath() + "/tir-fuzz-XXXXXX");
    static const QString fichier = dossier.filePath("Tir.ini");
    const auto cas = tir::fuzz::Decode(
        QByteArray(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille)));
    const QByteArray faute = tir::fuzz::Essaie(cas, fichier);
    if (!faute.isEmpty()) {
        std::fprintf(stderr, "broken promise: %s\n", faute.constData());
        std::abort();
    }
    return 0;
}
