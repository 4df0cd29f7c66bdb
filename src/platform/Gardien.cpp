#include "platform/Gardien.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/Texte.h"

namespace tir {

namespace {

constexpr std::size_t kNomMaxi = 254;
// The keeper waits two seconds at most for another one's lock; past this it is stuck.
constexpr int kAttenteMaxi = 5000;  // ms

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

bool DemandeAuGardien(const QByteArray& programme, int score, const std::string& nom) {
    const std::string demande =
        std::to_string(score) + '\n' + CoupeUtf8(NomPropre(nom), kNomMaxi) + '\n';
    int tube[2];
    if (pipe2(tube, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, tube[0], 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const QByteArray& chemin = programme;
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
    const ssize_t ecrit = write(tube[1], demande.data(), demande.size());
    close(tube[1]);
    return AttendsLaFin(pid) == 0 && ecrit == static_cast<ssize_t>(demande.size());
}

}  // namespace tir
