// The wind: strength, arrow and alignment for each kind of draw, and a new draw on a click.
#include <gtest/gtest.h>

#include <QTest>

#include "BancDeTir.h"

namespace tir {
namespace {

// The uniform draw that gives `vent`: floor(r x 20) - 10.
double TiragePour(int vent) {
    return (vent + 10 + 0.5) / 20;
}

struct Cas {
    int vent;
    const char* force;
    const char* fleche;
    Alignement alignement;
};

TEST(Vent, StrengthArrowAndAlignmentFollowTheDraw) {
    // Guards against a sign shown in the strength, an arrow one character too long or short,
    // or an arrow against the wrong side of its panel.
    test::BancDeTir f;
    Form1& w = *f.form;
    constexpr Alignement g = Alignement::GaucheCentre;
    constexpr Alignement d = Alignement::DroiteCentre;
    const std::vector<Cas> cas{{-10, "10", "<<<<<<", g},
                               {-1, "1", "<", g},
                               {1, "1", ">", d},
                               {9, "9", ">>>>>", d},
                               {-4, "4", "<<<", g}};
    for (const Cas& c : cas) {
        const int reamorcages = f.hasard.reamorcages;
        f.hasard.valeurs = {TiragePour(c.vent)};
        w.Vent_Click();
        EXPECT_EQ(f.hasard.reamorcages, reamorcages + 1) << "reseeded before each draw";
        EXPECT_EQ(w.ForceVent, c.vent);
        EXPECT_EQ(w.Vent->Caption(), c.force) << c.vent;
        EXPECT_EQ(w.FlecheVent->Caption(), c.fleche) << c.vent;
        EXPECT_EQ(w.FlecheVent->Alignment(), c.alignement) << c.vent;
    }
}

TEST(Vent, ACalmShowsNoArrowAndKeepsTheLastAlignment) {
    // Guards against a calm that leaves the previous arrow shown, or that resets the alignment.
    test::BancDeTir f;
    Form1& w = *f.form;
    for (int avant : {-3, 5}) {
        f.hasard.valeurs = {TiragePour(avant), TiragePour(0)};
        w.Vent_Click();
        const Alignement alignement = w.FlecheVent->Alignment();
        w.Vent_Click();
        EXPECT_EQ(w.ForceVent, 0);
        EXPECT_EQ(w.Vent->Caption(), "0");
        EXPECT_EQ(w.FlecheVent->Caption(), "");
        EXPECT_EQ(w.FlecheVent->Alignment(), alignement);
    }
}

TEST(Vent, TheDrawCoversMinusTenToNineAndNoMore) {
    // Guards against a wind of 10 to the right, or a draw near 1 that overflows the range.
    test::BancDeTir f;
    Form1& w = *f.form;
    f.hasard.valeurs = {0.0, 0.999999};
    w.Vent_Click();
    EXPECT_EQ(w.ForceVent, -10);
    w.Vent_Click();
    EXPECT_EQ(w.ForceVent, 9);
}

TEST(Vent, AClickOnTheStrengthDrawsANewWind) {
    // Guards against the wind label ignoring clicks between shots.
    test::BancDeTir f;
    Form1& w = *f.form;
    w.show();
    f.hasard.valeurs = {TiragePour(7)};
    QTest::mouseClick(w.Vent, Qt::LeftButton);
    EXPECT_EQ(w.ForceVent, 7);
    EXPECT_EQ(w.FlecheVent->Caption(), ">>>>");
}

}  // namespace
}  // namespace tir
