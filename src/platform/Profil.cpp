// Private profile files: scanned as a stream, written whole beside the old file and renamed, all
// under a lock on the folder.
#include "platform/Profil.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "platform/ProfilAnalyse.h"
#include "platform/ProfilMontage.h"

namespace tir {

namespace {

// How long a copy waits for another one to finish its write before giving up on the record.
constexpr auto kAttenteVerrouMaxi = std::chrono::milliseconds(500);
constexpr auto kPasAttente = std::chrono::milliseconds(1);
// Far beyond any record file: a larger one (a sparse file of a terabyte costs nothing to make)
// is not the game's, and scanning it would hold up the end of the game.
constexpr off_t kTailleMaxi = off_t{64} << 20;
// "Tir.ini.~partiel-XXXXXX": the temporary names of the game's own writes, in a form no player
// would give a copy of the record ("Tir.ini.backup" is the player's own and stays).
const QByteArray kMarqueTemporaire(".~partiel-");
constexpr int kLettresTemporaire = 6;
const QByteArray kAlphabet("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");

int SansInterruption(const std::function<int()>& appel) {
    int r = 0;
    do r = appel();
    while (r < 0 && errno == EINTR);
    return r;
}

// A descriptor closed when it goes out of scope.
class Descripteur {
  public:
    explicit Descripteur(int fd = -1) : fd_(fd) {}
    ~Descripteur() {
        if (fd_ >= 0) close(fd_);
    }
    Descripteur(const Descripteur&) = delete;
    Descripteur& operator=(const Descripteur&) = delete;
    int get() const { return fd_; }
    void relache() { fd_ = -1; }
    void reset(int fd = -1) {
        if (fd_ >= 0) close(fd_);
        fd_ = fd;
    }

  private:
    int fd_;
};

// The folder part and the name part of an absolute path. No file at the root, and no relative
// path (it would be taken from wherever the program was started).
std::optional<std::pair<QByteArray, QByteArray>> Coupe(const QString& fichier) {
    const QByteArray chemin = fichier.toLocal8Bit();
    const qsizetype barre = chemin.lastIndexOf('/');
    if (!chemin.startsWith('/') || barre <= 0) return std::nullopt;
    const QByteArray nom = chemin.mid(barre + 1);
    QByteArray dossier = chemin.left(barre);
    while (dossier.endsWith('/')) dossier.chop(1);
    if (dossier.isEmpty() || nom.isEmpty() || nom == "." || nom == "..") return std::nullopt;
    return std::make_pair(dossier, nom);
}

// The folder, to reach the file through and to lock. A folder the player may pass through but not
// list still gives its file, without a lock (a lock needs a folder opened for reading).
int OuvreDossier(const QByteArray& dossier) {
    const int fd = SansInterruption(
        [&] { return open(dossier.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd >= 0 || errno != EACCES) return fd;
    return SansInterruption(
        [&] { return open(dossier.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC); });
}

// The file, opened without following a link and without waiting on a pipe; -1 with errno when it
// cannot be, is not a regular file or is too large.
int OuvreFichier(int dossier, const QByteArray& nom, int mode) {
    const int fd = SansInterruption([&] {
        return openat(dossier, nom.constData(), mode | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    });
    if (fd < 0) return -1;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kTailleMaxi) {
        close(fd);
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    return fd;
}

// `valeur` cut to `maxi` bytes, and no further back than the start of a UTF-8 character the cut
// would split: a name read back never ends in half a letter. Bytes that are not UTF-8 are cut
// at `maxi` as they are.
QByteArray CoupeUtf8(const QByteArray& valeur, qsizetype maxi) {
    if (valeur.size() <= maxi) return valeur;
    constexpr int kSuitesMaxi = 3;  // a character is at most four bytes
    const auto suite = [&](qsizetype i) {
        return (static_cast<unsigned char>(valeur[i]) & 0xC0) == 0x80;
    };
    qsizetype n = maxi;
    while (n > 0 && maxi - n < kSuitesMaxi && suite(n)) --n;
    const bool debut = n < maxi && static_cast<unsigned char>(valeur[n]) >= 0xC0;
    return valeur.left(debut ? n : maxi);
}

std::vector<QByteArray> LitDans(int dossier, const QByteArray& nom, const QByteArray& section,
                                const std::vector<QByteArray>& cles, const QByteArray& defaut,
                                int taille) {
    const qsizetype maxi = taille > 1 ? taille - 1 : 0;
    std::vector<QByteArray> valeurs(cles.size(), CoupeUtf8(defaut, maxi));
    const Descripteur fd(OuvreFichier(dossier, nom, O_RDONLY));
    if (fd.get() < 0) return valeurs;
    // One byte beyond the cut tells whether it falls inside a character.
    const auto plan = AnalyseProfil(fd.get(), section, cles, maxi > 0 ? maxi + 1 : 0);
    if (!plan) return valeurs;
    for (std::size_t i = 0; i < cles.size(); ++i) {
        if (plan->lignes[i]) valeurs[i] = CoupeUtf8(plan->valeurs[i], maxi);
    }
    return valeurs;
}

// Removes what interrupted writes of the game left: "<name>.~partiel-XXXXXX", regular files only.
// Run under the folder's lock, when no other copy of the game is writing. Listing a crowded
// folder costs time, so each folder is swept once in a run of the program, at its first write:
// a later leftover can only come from a copy killed since, and the next run removes it.
void RetireTemporaires(int dossier, const QByteArray& nom) {
    static std::mutex garde;
    static std::set<std::pair<QByteArray, std::pair<dev_t, ino_t>>> balayes;
    struct stat st {};
    if (fstat(dossier, &st) != 0) return;
    const QByteArray lien = "/proc/self/fd/" + QByteArray::number(dossier);
    std::array<char, PATH_MAX> chemin{};
    const ssize_t lu = readlink(lien.constData(), chemin.data(), chemin.size());
    {
        const std::lock_guard<std::mutex> verrou(garde);
        if (!balayes
                 .emplace(QByteArray(chemin.data(), lu > 0 ? lu : 0) + '/' + nom,
                          std::make_pair(st.st_dev, st.st_ino))
                 .second) {
            return;
        }
    }
    const QByteArray prefixe = nom + kMarqueTemporaire;
    const int copie = dup(dossier);
    if (copie < 0) return;
    DIR* d = fdopendir(copie);
    if (!d) {
        close(copie);
        return;
    }
    while (const dirent* e = readdir(d)) {
        const QByteArray n(e->d_name);
        if (n.size() != prefixe.size() + kLettresTemporaire || !n.startsWith(prefixe)) continue;
        bool motif = true;
        for (qsizetype i = prefixe.size(); i < n.size(); ++i)
            motif = motif && kAlphabet.contains(n[i]);
        struct stat st {};
        if (motif && fstatat(dossier, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode)) {
            unlinkat(dossier, e->d_name, 0);
        }
    }
    closedir(d);
}

QByteArray NomTemporaire(const QByteArray& nom) {
    QByteArray n = nom + kMarqueTemporaire;
    for (int i = 0; i < kLettresTemporaire; ++i) {
        n += kAlphabet[static_cast<qsizetype>(
            QRandomGenerator::global()->bounded(static_cast<int>(kAlphabet.size())))];
    }
    return n;
}

// A name is one that can be written and read back as itself: not empty, on one line, without
// blanks around it (they are not part of the name when it is read).
bool NomValide(const QByteArray& nom, const char* interdit) {
    return !nom.isEmpty() && SansBlancs(nom) == nom && !nom.contains('\r') && !nom.contains('\n') &&
           !nom.contains(interdit);
}

}  // namespace

QByteArray LitProfil(const QByteArray& section, const QByteArray& cle, const QByteArray& defaut,
                     int taille, const QString& fichier) {
    return LitProfil(section, std::vector<QByteArray>{cle}, defaut, taille, fichier).front();
}

std::vector<QByteArray> LitProfil(const QByteArray& section, const std::vector<QByteArray>& cles,
                                  const QByteArray& defaut, int taille, const QString& fichier) {
    const auto parts = Coupe(fichier);
    const Descripteur dossier(parts ? OuvreDossier(parts->first) : -1);
    return LitDans(dossier.get(), parts ? parts->second : QByteArray(), section, cles, defaut,
                   taille);
}

bool EcritProfil(const QByteArray& section, const QByteArray& cle, const QByteArray& valeur,
                 const QString& fichier) {
    ProfilVerrouille profil(fichier);
    return profil.Pris() && profil.Ecrit(section, {{cle, valeur}});
}

namespace {

// Takes the exclusive lock on `fd`, waiting a bounded time for another copy to finish: 1 when
// taken, 0 when the lock cannot be had here (errno tells why), -1 when another copy held it all
// along.
int Verrouille(int fd) {
    const auto limite = std::chrono::steady_clock::now() + kAttenteVerrouMaxi;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return 0;
        if (std::chrono::steady_clock::now() >= limite) return -1;
        std::this_thread::sleep_for(kPasAttente);
    }
    return 1;
}

// Locks the file `nom` itself, making sure that the file locked is still the one under that name
// (a copy that may list the folder can have replaced it meanwhile). As Verrouille, 0 also when
// there is no file to lock; `fd` is the file, or -1.
int VerrouilleFichier(int dossier, const QByteArray& nom, int& fd) {
    constexpr int kEssais = 3;
    for (int essai = 0; essai < kEssais; ++essai) {
        fd = OuvreFichier(dossier, nom, O_RDONLY);
        if (fd < 0) return 0;
        const int pris = Verrouille(fd);
        struct stat verrouille {};
        struct stat actuel {};
        if (pris != 1 ||
            (fstat(fd, &verrouille) == 0 &&
             fstatat(dossier, nom.constData(), &actuel, AT_SYMLINK_NOFOLLOW) == 0 &&
             verrouille.st_ino == actuel.st_ino && verrouille.st_dev == actuel.st_dev)) {
            return pris;
        }
        close(fd);
        fd = -1;
    }
    return -1;
}

}  // namespace

// The lock is taken on the folder itself rather than on the file: the file is replaced by a
// rename at every write, so a lock on it would be on the old file, which the next copy no longer
// sees; a lock file of its own would add a file beside the record and could not be created in a
// read-only folder. The folder stays the same through every write. A folder the player may pass
// through but not list is opened only to be passed through and takes no lock: the file itself is
// locked then, and always written in place, so that it stays the same file for every copy. A copy
// that locks the folder locks the file as well, so that it waits for those.
ProfilVerrouille::ProfilVerrouille(const QString& fichier) {
    const auto parts = Coupe(fichier);
    if (!parts) return;
    Descripteur dossier(OuvreDossier(parts->first));
    if (dossier.get() < 0) return;
    int pris = Verrouille(dossier.get());
    const bool sansListe = pris == 0 && errno == EBADF;
    if (pris == 1 || sansListe) {
        // Without a file there is nothing to lock, and no file can be created in a folder that
        // cannot be listed either.
        const int fichierPris = VerrouilleFichier(dossier.get(), parts->second, verrou_);
        pris = sansListe || fichierPris < 0 ? fichierPris : pris;
        surPlace_ = sansListe && verrou_ >= 0;
    }
    if (pris < 0) return;
    dossier_ = dossier.get();
    dossier.relache();
    nom_ = parts->second;
}

ProfilVerrouille::~ProfilVerrouille() {
    if (dossier_ >= 0) close(dossier_);  // releases the lock
    if (verrou_ >= 0) close(verrou_);
}

std::vector<QByteArray> ProfilVerrouille::Lit(const QByteArray& section,
                                              const std::vector<QByteArray>& cles,
                                              const QByteArray& defaut, int taille) const {
    return LitDans(dossier_, nom_, section, cles, defaut, taille);
}

bool ProfilVerrouille::Ecrit(const QByteArray& section, const std::vector<EntreeProfil>& entrees) {
    if (!Pris() || !NomValide(section, "]")) return false;
    std::vector<EntreeProfil> lignes;
    std::vector<QByteArray> cles;
    for (const auto& [cle, valeur] : entrees) {
        // A key starting with ';' would be a comment, one starting with '[' a section header.
        if (!NomValide(cle, "=") || cle.startsWith(';') || cle.startsWith('[')) return false;
        // A line break in the value would add lines of its own (a typed name could forge a
        // record): the value stays on its one line.
        QByteArray surUneLigne = valeur;
        surUneLigne.replace('\r', ' ').replace('\n', ' ');
        lignes.emplace_back(cle, surUneLigne);
        cles.push_back(cle);
    }
    RetireTemporaires(dossier_, nom_);

    // A file that cannot be read and written is left as it is: never replace what we could not
    // read. A symbolic link is not the game's file, and a dangling one must not lead the new file
    // into another folder.
    Descripteur ancien(OuvreFichier(dossier_, nom_, O_RDWR));
    if (ancien.get() < 0 && errno != ENOENT) return false;
    struct stat st {};
    Plan plan;
    plan.lignes.resize(cles.size());
    if (ancien.get() >= 0) {
        if (fstat(ancien.get(), &st) != 0) return false;
        const auto lu = AnalyseProfil(ancien.get(), section, cles, 0);
        if (!lu) return false;
        plan = *lu;
    }
    const std::vector<Piece> pieces = Montage(ancien.get(), plan, section, lignes);
    // The file locked in place of the folder must be the one written, in its own place.
    bool surPlace = surPlace_;
    struct stat verrouille {};
    if (surPlace && (ancien.get() < 0 || fstat(verrou_, &verrouille) != 0 ||
                     verrouille.st_ino != st.st_ino || verrouille.st_dev != st.st_dev)) {
        return false;
    }

    // The new file without a name until it is whole when the file system allows it, else under a
    // temporary name; either way renamed over the old one.
    for (const bool anonyme : {true, false}) {
        if (surPlace) break;
        QByteArray temporaire = anonyme ? QByteArray() : NomTemporaire(nom_);
        const Descripteur nouveau(SansInterruption([&] {
            return anonyme ? openat(dossier_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)
                           : openat(dossier_, temporaire.constData(),
                                    O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666);
        }));
        if (nouveau.get() < 0) {
            if (anonyme) continue;
            // The folder takes no new file: a writable file is rewritten where it is.
            surPlace = errno == EACCES || errno == EPERM;
            break;
        }
        bool ok = true;
        if (ancien.get() >= 0) {
            // The owner, the group and the permissions of the old file. When the owner cannot be
            // given back (the file belongs to another player), the file is rewritten in place,
            // which keeps all three.
            struct stat neuf {};
            const bool autre = fstat(nouveau.get(), &neuf) != 0 || neuf.st_uid != st.st_uid ||
                               neuf.st_gid != st.st_gid;
            if (autre && fchown(nouveau.get(), st.st_uid, st.st_gid) != 0) {
                if (!anonyme) unlinkat(dossier_, temporaire.constData(), 0);
                surPlace = true;
                break;
            }
            ok = fchmod(nouveau.get(), st.st_mode & 07777) == 0;
            // An attribute that cannot be carried over (one only the system may set) is kept by
            // writing in place instead.
            if (ok && !CopieAttributs(ancien.get(), nouveau.get())) {
                if (!anonyme) unlinkat(dossier_, temporaire.constData(), 0);
                surPlace = true;
                break;
            }
        }
        ok = ok && EcritPieces(ancien.get(), pieces, nouveau.get()) && fsync(nouveau.get()) == 0;
        if (ok && anonyme) {
            temporaire = NomTemporaire(nom_);
            const QByteArray lien = "/proc/self/fd/" + QByteArray::number(nouveau.get());
            ok = linkat(AT_FDCWD, lien.constData(), dossier_, temporaire.constData(),
                        AT_SYMLINK_FOLLOW) == 0;
            if (!ok) continue;  // no /proc: the same again under a name
        }
        ok = ok && renameat(dossier_, temporaire.constData(), dossier_, nom_.constData()) == 0;
        if (!ok) {
            if (!temporaire.isEmpty()) unlinkat(dossier_, temporaire.constData(), 0);
            return false;
        }
        fsync(dossier_);
        return true;
    }
    return surPlace && ancien.get() >= 0 && EcritSurPlace(ancien.get(), plan, pieces);
}

}  // namespace tir
