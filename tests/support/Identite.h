// Runs a permission test's checks as an ordinary user: root may write anywhere, so as root the
// process takes the "nobody" identity (real and effective, keeping root as its saved identity)
// and takes root back at the end.
#pragma once

#include <unistd.h>

#include <cstdlib>

namespace tir::test {

class CommeUtilisateurOrdinaire {
  public:
    static constexpr uid_t kPersonne = 65534;
    CommeUtilisateurOrdinaire() : racine_(geteuid() == 0) {
        if (racine_) emprunte_ = setresuid(kPersonne, kPersonne, 0) == 0;
    }
    ~CommeUtilisateurOrdinaire() {
        // Taking root back cannot be checked here: a destructor may not fail a test.
        if (emprunte_ && setresuid(0, 0, 0) != 0) std::abort();
    }
    CommeUtilisateurOrdinaire(const CommeUtilisateurOrdinaire&) = delete;
    CommeUtilisateurOrdinaire& operator=(const CommeUtilisateurOrdinaire&) = delete;
    bool Pret() const { return !racine_ || emprunte_; }

  private:
    bool racine_;
    bool emprunte_ = false;
};

}  // namespace tir::test
