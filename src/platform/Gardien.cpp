#include "platform/Gardien.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <csignal>

namespace tir {

namespace {

constexpr qsizetype kNomMaxi = 254;
// The keeper waits two seconds at most for another one's lock; past this it is stuck.
constexpr int kAttenteMaxi = 5000;  // ms

QByteArray NomCoupe(QByteArray nom) {
    if (nom.size() <= kNomMaxi) return nom;
    qsizetype n = kNomMaxi;
    while (n > 0 && (static_cast<unsigned char>(nom[n]) & 0xC0) == 0x80) --n;
    return nom.left(n);
}

// The keeper's exit status, or -1 when it did not end in time (it is then killed).
int AttendsLaFin(pid_t pid) {
    // glibc 2.36's <sys/pidfd.h> declares pidfd_open without C linkage: the call goes direct.
    const auto pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        pollfd p{pidfd, POLLIN, 0};
        int n = 0;
        do {
            n = poll(&p, 1, kAttenteMaxi);
        } while (n < 0 && errno == EINTR);
        if (n == 0) kill(pid, SIGKILL);
        close(pidfd);
    }
    int statut = 0;
    while (waitpid(pid, &statut, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
}

}  // namespace

bool DemandeAuGardien(const QString& programme, int score, const QByteArray& nom) {
    const QByteArray demande = QByteArray::number(score) + '\n' + NomCoupe(nom) + '\n';
    int tube[2];
    if (pipe2(tube, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, tube[0], 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const QByteArray chemin = QFile::encodeName(programme);
    char* arguments[] = {const_cast<char*>(chemin.constData()), nullptr};
    char* environnement[] = {nullptr};
    pid_t pid = -1;
    const int erreur =
        posix_spawn(&pid, chemin.constData(), &actions, nullptr, arguments, environnement);
    posix_spawn_file_actions_destroy(&actions);
    close(tube[0]);
    if (erreur != 0) {
        close(tube[1]);
        return false;
    }
    // A request is far smaller than a pipe's buffer: this write never waits on the keeper.
    const ssize_t ecrit = write(tube[1], demande.constData(), static_cast<size_t>(demande.size()));
    close(tube[1]);
    return AttendsLaFin(pid) == 0 && ecrit == demande.size();
}

}  // namespace tir
