// The system calls' habits: one wrapper each, which every caller goes through.
#include "platform/Systeme.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace tir {

void Descripteur::reset(int fd) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
}

int OuvreFichierBorne(int dossier, const char* nom, int drapeaux, off_t maxi) {
    const int fd = SansInterruption([&] {
        return openat(dossier, nom, drapeaux | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    });
    if (fd < 0) return -1;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxi) {
        close(fd);
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    return fd;
}

std::optional<std::string> LitTout(int fd, std::size_t maxi) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return std::nullopt;
    // One byte beyond the size announced tells whether the file grew meanwhile.
    std::string octets(std::min(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)), maxi) + 1,
                       '\0');
    std::size_t lu = 0;
    for (;;) {
        if (lu > maxi) return std::nullopt;
        if (lu == octets.size()) octets.resize(std::min(2 * octets.size(), maxi + 1));
        const ssize_t n = SansInterruption([&] {
            return pread(fd, octets.data() + lu, octets.size() - lu, static_cast<off_t>(lu));
        });
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        lu += static_cast<std::size_t>(n);
    }
    octets.resize(lu);
    return octets;
}

bool EcritTout(int fd, std::string_view octets, off_t ou) {
    while (!octets.empty()) {
        const ssize_t n =
            SansInterruption([&] { return pwrite(fd, octets.data(), octets.size(), ou); });
        if (n <= 0) return false;
        octets.remove_prefix(static_cast<std::size_t>(n));
        ou += n;
    }
    return true;
}

}  // namespace tir
