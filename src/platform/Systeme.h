// The system calls' habits, each in one place: a call retried when a signal interrupts it, a
// regular file opened without following a link, read whole and written whole. Plain C++ and
// POSIX, without Qt.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>

namespace tir {

// Calls `appel` again for as long as a signal interrupts it (-1 with EINTR).
template <class Appel>
auto SansInterruption(Appel appel) {
    auto r = appel();
    while (r < 0 && errno == EINTR) r = appel();
    return r;
}

// A descriptor closed when it goes out of scope or is replaced.
class Descripteur {
  public:
    explicit Descripteur(int fd = -1) : fd_(fd) {}
    ~Descripteur() { reset(); }
    Descripteur(const Descripteur&) = delete;
    Descripteur& operator=(const Descripteur&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1);

  private:
    int fd_;
};

// `nom`, relative to the folder `dossier` (or to AT_FDCWD), opened with `drapeaux` when it is a
// regular file of at most `maxi` bytes: never through a symbolic link at its end, never waiting
// on a pipe or a device. -1 otherwise, errno telling why (ENOENT: there is no such file).
int OuvreFichierBorne(int dossier, const char* nom, int drapeaux, off_t maxi);

// The whole content of `fd` from its start; nothing on a read error or beyond `maxi` bytes.
std::optional<std::string> LitTout(int fd, std::size_t maxi);

// Writes all of `octets` at `ou`; false on a full disk, the file size limit or another error.
bool EcritTout(int fd, std::string_view octets, off_t ou);

}  // namespace tir
