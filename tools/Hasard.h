// A small seeded generator, so that every run of the tool draws the same pictures and sounds.
#pragma once

#include <cstdint>

namespace fabrique {

class Hasard {
  public:
    explicit Hasard(std::uint64_t graine) : etat_(graine) {}

    // Uniform in [0, 1).
    double tirage() {
        constexpr double kDeux53 = 9007199254740992.0;
        return static_cast<double>(suivant() >> 11) / kDeux53;
    }
    // Uniform in [bas, haut).
    double entre(double bas, double haut) { return bas + (haut - bas) * tirage(); }

  private:
    // splitmix64: well mixed, and the same on every machine.
    std::uint64_t suivant() {
        std::uint64_t z = (etat_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    std::uint64_t etat_;
};

}  // namespace fabrique
