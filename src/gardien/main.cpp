// The record's keeper: the only program of the game that runs with the games group, and only to
// write the record kept for every player of the machine, which no player may write himself.
// It takes no argument and reads nothing from its environment. It reads "<score>\n<name>\n" on
// its standard input without the group, checks it, opens the record file and the keepers' lock
// with the group, gives the group up for good, and writes the record if the score still beats
// the one on disk.
// Exit status: 0 kept, 1 the record on disk is as good, 2 request refused, 3 record not kept.
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gardien/Depot.h"
#include "gardien/Entree.h"
#include "platform/Systeme.h"

namespace {

enum Statut { kGarde = 0, kPasMieux = 1, kRefus = 2, kNonGarde = 3 };
constexpr unsigned kVieMaxi = 10;  // seconds: a keeper left waiting on its input ends itself
constexpr off_t kFichierMaxi = off_t{1} << 20;  // a larger file is not a record file

// The folder of the shared record, fixed when the game was built (never taken from outside).
constexpr const char* kDossier = TIR_DOSSIER_RECORD_PARTAGE;

int Fin(Statut statut, const std::string& message) {
    std::fprintf(stderr, "garde-record : %s\n", message.c_str());
    return statut;
}

// Standard input, output and error are open from here on: a descriptor left closed by the caller
// would otherwise be taken by the record file, and a message meant for the terminal written into
// it. True when standard input was open.
bool OuvreLesTroisPremiers() {
    bool entree = true;
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) continue;
        entree = entree && fd != 0;
        if (open("/dev/null", O_RDWR) != fd) std::_Exit(kNonGarde);
    }
    return entree;
}

// The file `nom` of the record's folder, opened for writing: a plain file, never through a
// symbolic link, never waiting on a pipe. The number of its names is not looked at: only root can
// give it one in that folder, and where the system lets players link files they do not own, a
// link of theirs elsewhere would otherwise keep every record out.
int Ouvre(const char* nom) {
    const std::string chemin = std::string(kDossier) + "/" + nom;
    return tir::OuvreFichierBorne(AT_FDCWD, chemin.c_str(), O_RDWR, kFichierMaxi);
}

}  // namespace

int main(int argc, char**) {
    // The group is held only while the two files are opened; until then it is set aside.
    const gid_t groupe = getegid();
    const gid_t reel = getgid();
    if (setresgid(reel, reel, groupe) != 0) return kNonGarde;
    prctl(PR_SET_DUMPABLE, 0);
    const bool entree = OuvreLesTroisPremiers();
    clearenv();
    umask(S_IWGRP | S_IWOTH);
    alarm(kVieMaxi);
    if (argc != 1) return Fin(kRefus, "refusé : aucun argument n'est accepté");
    if (!entree) return Fin(kRefus, "refusé : entrée standard fermée");
    std::string refus;
    const std::optional<gardien::Demande> demande = gardien::LitEntree(0, refus);
    if (!demande) return Fin(kRefus, "refusé : " + refus);

    if (setresgid(reel, groupe, groupe) != 0) return Fin(kNonGarde, "groupe indisponible");
    const int fichier = Ouvre("Tir.ini");
    const int verrou = Ouvre("Tir.verrou");
    if (setresgid(reel, reel, reel) != 0 || getegid() != reel) std::_Exit(kNonGarde);
    if (fichier < 0 || verrou < 0) return Fin(kNonGarde, "record non gardé : fichier inaccessible");

    // Nothing but SIGKILL and SIGSTOP ends or stops the keeper from here to its end.
    sigset_t tous;
    sigfillset(&tous);
    sigprocmask(SIG_BLOCK, &tous, nullptr);
    switch (gardien::GardeSiMieux(fichier, verrou, demande->score, demande->nom)) {
        case gardien::Issue::Garde:
            return kGarde;
        case gardien::Issue::PasMieux:
            return Fin(kPasMieux, "le record gardé est déjà meilleur");
        case gardien::Issue::Occupe:
            return Fin(kNonGarde, "record non gardé : un autre joueur l'écrit");
        case gardien::Issue::Echec:
            break;
    }
    return Fin(kNonGarde, "record non gardé : écriture impossible");
}
