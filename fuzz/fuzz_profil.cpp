// libFuzzer target for the profile file's editor: edits any old file with any names, both ways,
// in memory, and stops on the first broken promise.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ProfilInvariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const auto cas = tir::fuzz::Decode(
        QByteArray(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille)));
    const QByteArray faute = tir::fuzz::Essaie(cas);
    if (!faute.isEmpty()) {
        std::fprintf(stderr, "broken promise: %s\n", faute.constData());
        std::abort();
    }
    return 0;
}
