// Many whole games in one sitting on random fields: every game ends, and the memory the game
// holds does not grow from one game to the next. TIR_PARTIES sets the number of games.
#include <gtest/gtest.h>
#include <malloc.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <iostream>

#include "Partie.h"

// Live heap bytes as AddressSanitizer counts them, present only in a sanitized build.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace tir::test {
namespace {

constexpr int kPartiesParDefaut = 10;  // keeps the suite quick, also under the sanitizers
constexpr int kCoupsMaxi = 600;        // a gunner that has not scored ten hits by then is stuck
constexpr long kCroissanceMaxi = 1024 * 1024;

long TasVivant() {
    if (__sanitizer_get_current_allocated_bytes) {
        return static_cast<long>(__sanitizer_get_current_allocated_bytes());
    }
    return static_cast<long>(mallinfo2().uordblks);
}

TEST(LonguePartie, GameAfterGameEveryGameEndsAndTheHeapStaysFlat) {
    // Guards against memory that grows with every shot or game (kept pictures, sounds, dialog
    // texts), and against a game that can get stuck and never end.
    const int parties = qEnvironmentVariableIntValue("TIR_PARTIES") > 0
                            ? qEnvironmentVariableIntValue("TIR_PARTIES")
                            : kPartiesParDefaut;
    BancDeTir t;
    t.Montre();
    const int chauffe = std::max(2, parties / 10);
    long avant = 0;
    long coups = 0;
    int finies = 0;
    QElapsedTimer chrono;
    chrono.start();
    for (int i = 0; i < parties; ++i) {
        if (i == chauffe) avant = TasVivant();
        const Bilan b = JoueAuHasard(t, static_cast<unsigned>(i) * 7919u + 1u, kCoupsMaxi);
        coups += b.coups;
        finies += t.Finie() ? 1 : 0;
        EXPECT_TRUE(t.Finie()) << "game " << i << " did not end in " << b.coups << " shots";
        t.lecteur.joues.clear();  // the fake player's own list is not the game's memory
        t.saisie.appels.clear();
    }
    const long apres = TasVivant();
    std::cout << parties << " games, " << finies << " ended, " << coups << " shots in "
              << chrono.elapsed() << " ms; live heap after game " << chauffe << ": " << avant
              << " bytes, at the end: " << apres << " bytes\n";
    EXPECT_EQ(finies, parties);
    EXPECT_LT(apres - avant, kCroissanceMaxi);
}

}  // namespace
}  // namespace tir::test
