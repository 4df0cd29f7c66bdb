// Rounding, reading and writing numbers, the palette and the saturating score.
#include <gtest/gtest.h>

#include "platform/Nombres.h"

namespace tir {
namespace {

TEST(Arrondi, TakesHalvesToTheEvenNeighbour) {
    // Guards against rounding halves away from zero, which moves sprites by a pixel.
    EXPECT_EQ(Arrondi(2.5), 2);
    EXPECT_EQ(Arrondi(3.5), 4);
    EXPECT_EQ(Arrondi(-2.5), -2);
    EXPECT_EQ(Arrondi(-3.5), -4);
    EXPECT_EQ(Arrondi(0.5), 0);
    EXPECT_EQ(Arrondi(2.4999), 2);
    EXPECT_EQ(Arrondi(-0.6), -1);
}

TEST(Arrondi, HoldsValuesBeyondTheRangeAtItsLimits) {
    // Guards against undefined conversions of huge or non-numbers.
    EXPECT_EQ(Arrondi(1e300), std::numeric_limits<long>::max());
    EXPECT_EQ(Arrondi(-1e300), std::numeric_limits<long>::min());
    EXPECT_EQ(Arrondi(std::nan("")), 0);
}

TEST(Int, IsTheFloorNotATruncation) {
    // Guards against truncation toward zero for negative values.
    EXPECT_EQ(Int(-0.5), -1.0);
    EXPECT_EQ(Int(-2.0), -2.0);
    EXPECT_EQ(Int(3.99), 3.0);
    EXPECT_EQ(Int(0.0), 0.0);
}

TEST(Val, ReadsTheNumberATextStartsWith) {
    // Guards against a reader that rejects trailing text or leading blanks.
    EXPECT_EQ(Val(" 12abc"), 12.0);
    EXPECT_EQ(Val(""), 0.0);
    EXPECT_EQ(Val("-7"), -7.0);
    EXPECT_EQ(Val(" 150"), 150.0);
    EXPECT_EQ(Val("\t 3.25 points"), 3.25);
    EXPECT_EQ(Val("+8"), 8.0);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("7."), 7.0);
}

TEST(Val, GivesZeroWhenNoNumberLeadsTheText) {
    // Guards against a record written by hand as a word counting as something.
    EXPECT_EQ(Val("Pilote"), 0.0);
    EXPECT_EQ(Val("-"), 0.0);
    EXPECT_EQ(Val("."), 0.0);
    EXPECT_EQ(Val("- 5"), 0.0);
    EXPECT_EQ(Val("abc12"), 0.0);
}

TEST(Val, TakesAnExponentOnlyWhenDigitsFollowIt) {
    // Guards against "12E" or "3e+" being refused or read as something else than the mantissa.
    EXPECT_EQ(Val("1e3"), 1000.0);
    EXPECT_EQ(Val("2E-2x"), 0.02);
    EXPECT_EQ(Val("12E"), 12.0);
    EXPECT_EQ(Val("3e+"), 3.0);
    EXPECT_EQ(Val("4 e5"), 4.0);
}

TEST(Val, NeverReturnsInfinity) {
    // Guards against an absurd exponent in the profile file making every score lose.
    EXPECT_EQ(Val("1e999"), 0.0);
}

TEST(Texte, WritesPlainAndSignedForms) {
    // Guards against the signed form losing its leading space, which the record file keeps.
    EXPECT_EQ(TexteSimple(-7), "-7");
    EXPECT_EQ(TexteSimple(0), "0");
    EXPECT_EQ(TexteSimple(150), "150");
    EXPECT_EQ(TexteSigne(150), " 150");
    EXPECT_EQ(TexteSigne(0), " 0");
    EXPECT_EQ(TexteSigne(-7), "-7");
}

TEST(QBColor, GivesTheClassicSixteenColours) {
    // Guards against a wrong palette entry: the landscape's layer colours come from it.
    const Couleur attendues[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                 0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(QBColor(i), attendues[i]) << i;
    EXPECT_EQ(QBColor(16 + 14), 0xFFFF00);
    EXPECT_EQ(QBColor(-1), 0xFFFFFF);
    EXPECT_EQ(QBColor(11), kCiel);
}

TEST(AjouteSature, HoldsScoresAtTheSixteenBitLimits) {
    // Guards against a score wrapping round to a large negative number.
    EXPECT_EQ(AjouteSature(32000, 767), 32767);
    EXPECT_EQ(AjouteSature(32000, 1000), 32767);
    EXPECT_EQ(AjouteSature(-32000, -1000), -32768);
    EXPECT_EQ(AjouteSature(10, -25), -15);
    EXPECT_EQ(AjouteSature(0, std::numeric_limits<long>::max()), 32767);
    EXPECT_EQ(AjouteSature(0, std::numeric_limits<long>::min()), -32768);
}

}  // namespace
}  // namespace tir
