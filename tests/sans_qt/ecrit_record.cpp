// The record store in a plain C++ program, without Qt: "ecrit_record FICHIER" prints the record,
// "ecrit_record FICHIER SCORE NOM" keeps SCORE and NOM when SCORE beats the record on disk. Exits
// with 0 when the record was read or kept, 1 otherwise. Built by the tests to make sure that a
// small program of its own may keep the record for every player of a machine.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Record.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage : %s FICHIER [SCORE NOM]\n", argv[0]);
        return 2;
    }
    if (argc == 4) {
        const double score = std::strtod(argv[2], nullptr);
        const bool garde = tir::EcritRecord(argv[1], {argv[2], argv[3]}, [&](const tir::Record& r) {
            return score > std::strtod(r.score.c_str(), nullptr);
        });
        if (!garde) return 1;
    }
    const tir::Record r = tir::LitRecord(argv[1]);
    std::printf("%s\t%s\n", r.score.c_str(), r.nom.c_str());
    return 0;
}
