// The field model: kept image and display, logical coordinates, dots, lines, pictures, fills.
#include <gtest/gtest.h>

#include <random>

#include "platform/Gdi.h"
#include "platform/Surface.h"

namespace tir {
namespace {

constexpr int kLargeur = 627;
constexpr int kHauteur = 334;
constexpr Couleur kRouge = 0xFF0000;
constexpr Couleur kBleu = 0x0000FF;

// The field as the game sets it up: logical y up from the bottom edge.
Surface Champ() {
    Surface s(kLargeur, kHauteur, kCiel);
    s.Scale(0, kHauteur, kLargeur, 0);
    return s;
}

Couleur Pixel(const QImage& image, int x, int y) {
    return static_cast<Couleur>(image.pixel(x, y) & 0xFFFFFF);
}

int Compte(const QImage& image, Couleur c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += Pixel(image, x, y) == c;
    }
    return n;
}

TEST(Surface, UsesDevicePixelsYDownUntilScaled) {
    // Guards against a default coordinate system that flips or offsets drawing.
    Surface s(20, 10, kCiel);
    EXPECT_EQ(s.ScaleWidth(), 20);
    EXPECT_EQ(s.ScaleHeight(), 10);
    s.PSet(3, 4, kRouge);
    EXPECT_EQ(Pixel(s.Affichage(), 3, 4), kRouge);
    EXPECT_EQ(Compte(s.Affichage(), kRouge), 1);
}

TEST(Surface, MapsLogicalPointsToTheFloorOfTheirDevicePosition) {
    // Guards against rounding where the pixel must be floor(X), floor(Y), and against reading
    // a colour outside the surface.
    Surface s = Champ();
    EXPECT_EQ(s.ScaleWidth(), kLargeur);
    EXPECT_EQ(s.ScaleHeight(), -kHauteur);
    s.SetAutoRedraw(true);
    s.PSet(10.9, 333.2, kRouge);  // device (10.9, 0.8): column 10, row 0
    EXPECT_EQ(Pixel(s.Garde(), 10, 0), kRouge);
    EXPECT_EQ(s.Point(10.0, 333.01), kRouge);
    EXPECT_EQ(s.Point(10.99, 334.0), kRouge);
    EXPECT_EQ(s.Point(11.0, 333.5), kCiel);
    EXPECT_EQ(s.Point(10.5, 0.5), kCiel);
    EXPECT_EQ(s.Point(10.5, 0.0), kAucune);  // device row 334: just below the bottom edge
    EXPECT_EQ(s.Point(-0.01, 100), kAucune);
    EXPECT_EQ(s.Point(627.0, 100), kAucune);
    EXPECT_EQ(s.Point(100, 334.01), kAucune);
}

TEST(Surface, PutsARoundDotAsWideAsThePenOnThePointsPixel) {
    // Guards against a square or off-centre dot, and against Point() and PSet() disagreeing.
    std::mt19937 g(7);
    std::uniform_real_distribution<double> coord(8, 32);
    for (int largeur = 1; largeur <= 6; ++largeur) {
        for (int essai = 0; essai < 20; ++essai) {
            Surface s(40, 40, kCiel);
            s.Scale(0, 40, 40, 0);
            s.SetDrawWidth(largeur);
            const double px = coord(g), py = coord(g);
            s.PSet(px, py, kRouge);
            ASSERT_EQ(s.Point(px, py), kRouge) << largeur;
            QRect boite;
            for (int r = 0; r < 40; ++r) {
                for (int c = 0; c < 40; ++c) {
                    if (Pixel(s.Affichage(), c, r) == kRouge) boite |= QRect(c, r, 1, 1);
                }
            }
            EXPECT_EQ(boite.size(), QSize(largeur, largeur));
            const bool coinsOtes = largeur >= 4;
            EXPECT_EQ(Pixel(s.Affichage(), boite.left(), boite.top()) != kRouge, coinsOtes);
        }
    }
}

TEST(Surface, FourPixelDotIsTwelvePixelsCentredOnThePoint) {
    // Guards against the shell's dot drifting away from the pixel the colour test reads.
    Surface s(20, 20, kCiel);
    s.SetDrawWidth(4);
    s.PSet(10.3, 10.7, kRouge);
    EXPECT_EQ(Compte(s.Affichage(), kRouge), 12);
    for (int r = 8; r <= 11; ++r) {
        for (int c = 8; c <= 11; ++c) {
            const bool coin = (r == 8 || r == 11) && (c == 8 || c == 11);
            EXPECT_EQ(Pixel(s.Affichage(), c, r) == kRouge, !coin) << c << "," << r;
        }
    }
    EXPECT_EQ(s.CurrentX(), 10.3);
    EXPECT_EQ(s.CurrentY(), 10.7);
}

TEST(Surface, DrawsIntoTheKeptImageWhenPersistent) {
    // Guards against persistent drawing showing before Refresh, or not being kept.
    Surface s = Champ();
    s.SetAutoRedraw(true);
    s.SetDrawWidth(2);
    s.Line(10, 10, 200, 10, kRouge);
    EXPECT_GT(Compte(s.Garde(), kRouge), 0);
    EXPECT_EQ(Compte(s.Affichage(), kRouge), 0);
    EXPECT_EQ(s.Point(100, 10), kRouge);
    s.Refresh();
    EXPECT_EQ(s.Affichage(), s.Garde());
}

TEST(Surface, DrawsOnTheDisplayOnlyWhenNotPersistentAndRefreshWipesIt) {
    // Guards against the shell's trace staying in the kept image or surviving a Refresh.
    Surface s = Champ();
    s.SetDrawWidth(4);
    s.PSet(300, 200, kRouge);
    EXPECT_EQ(s.Point(300, 200), kRouge);
    EXPECT_EQ(Compte(s.Garde(), kRouge), 0);
    s.Refresh();
    EXPECT_EQ(s.Point(300, 200), kCiel);
    EXPECT_EQ(Compte(s.Affichage(), kRouge), 0);
}

TEST(Surface, SwitchingPersistenceOffShowsTheKeptImageButOffAgainChangesNothing) {
    // Guards against a snapshot taken from the display missing what was just drawn kept, and
    // against a repeated switch wiping display drawing.
    Surface s = Champ();
    s.SetAutoRedraw(true);
    s.PSet(50, 50, kRouge);
    s.SetAutoRedraw(false);
    EXPECT_EQ(s.Affichage(), s.Garde());
    s.PSet(60, 60, kBleu);
    s.SetAutoRedraw(false);
    EXPECT_EQ(s.Point(60, 60), kBleu);
    s.SetAutoRedraw(true);
    EXPECT_EQ(s.Point(60, 60), kCiel);  // the kept image never had it
    EXPECT_EQ(Pixel(s.Affichage(), 60, kHauteur - 60), kBleu);
}

TEST(Surface, HDCReachesTheImageOfTheModeAndItsChangesReachTheDisplay) {
    // Guards against block copies through hDC() being skipped by the partial Refresh.
    Surface s = Champ();
    QImage bloc(30, 20, QImage::Format_RGB32);
    bloc.fill(0xFF0000FF);
    s.SetAutoRedraw(true);
    BitBlt(s.hDC(), 500, 300, 30, 20, bloc, 0, 0, Rop::SrcCopy);
    EXPECT_EQ(Pixel(s.Garde(), 510, 310), kBleu);
    EXPECT_EQ(Pixel(s.Affichage(), 510, 310), kCiel);
    s.Refresh();
    EXPECT_EQ(Pixel(s.Affichage(), 510, 310), kBleu);
    s.SetAutoRedraw(false);
    BitBlt(s.hDC(), 0, 0, 30, 20, bloc, 0, 0, Rop::SrcCopy);
    EXPECT_EQ(Pixel(s.Affichage(), 5, 5), kBleu);
    EXPECT_EQ(Pixel(s.Garde(), 5, 5), kCiel);
    s.Refresh();
    EXPECT_EQ(s.Affichage(), s.Garde());
}

TEST(Surface, ClsClearsTheImageOfTheModeAndMovesThePositionToTheOrigin) {
    // Guards against a Cls that keeps the old position, so the next LineTo starts elsewhere.
    Surface s = Champ();
    s.SetAutoRedraw(true);
    s.SetDrawWidth(1);
    s.Line(100, 100, 200, 150, kRouge);
    EXPECT_EQ(s.CurrentX(), 200);
    EXPECT_EQ(s.CurrentY(), 150);
    s.Cls();
    EXPECT_EQ(Compte(s.Garde(), kRouge), 0);
    EXPECT_EQ(s.CurrentX(), 0);
    EXPECT_EQ(s.CurrentY(), 0);
    s.LineTo(0, 100, kBleu);
    EXPECT_EQ(s.Point(0.5, 50), kBleu);
    EXPECT_EQ(s.Point(0.5, 0.5), kBleu);
}

TEST(Surface, LineOfPenWidthTwoIsTwoPixelsThick) {
    // Guards against a pen width that is ignored or doubled.
    Surface s = Champ();
    s.SetAutoRedraw(true);
    s.SetDrawWidth(2);
    s.Line(100, 100, 300, 100, kRouge);
    int epaisseur = 0;
    for (int r = 0; r < kHauteur; ++r) epaisseur += Pixel(s.Garde(), 200, r) == kRouge;
    EXPECT_EQ(epaisseur, 2);
    EXPECT_EQ(s.Point(200, 100), kRouge);
}

TEST(Surface, PaintPictureCornerMatchesTheRowABlockCopyTakes) {
    // Guards against the cannon snapshot taking a block one row off the drawn picture.
    QImage picture(90, 80, QImage::Format_RGB32);
    std::mt19937 g(3);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 90; ++x) picture.setPixel(x, y, g() | 0xFF000000u);
    }
    for (double niveau : {25.69, 30.5, 31.5, 41.75, 83.5, 55.67}) {
        Surface s = Champ();
        s.SetAutoRedraw(true);
        s.PaintPicture(picture, 0, 80 + niveau);
        QImage instantane(90, 80, QImage::Format_RGB32);
        const int ligne = static_cast<int>(Arrondi(kHauteur - niveau - 80));
        BitBlt(instantane, 0, 0, 90, 80, s.Garde(), 0, ligne, Rop::SrcCopy);
        EXPECT_EQ(instantane, picture) << niveau;
    }
}

TEST(Surface, PaintPictureWithANegativeWidthMirrorsLeftwardsFromThePoint) {
    // Guards against the right cannon facing the wrong way or standing off the right edge.
    QImage picture(90, 80, QImage::Format_RGB32);
    std::mt19937 g(4);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 90; ++x) picture.setPixel(x, y, g() | 0xFF000000u);
    }
    Surface s = Champ();
    s.SetAutoRedraw(true);
    s.PaintPicture(picture, kLargeur, 80 + 40, -90);
    QImage instantane(90, 80, QImage::Format_RGB32);
    BitBlt(instantane, 0, 0, 90, 80, s.Garde(), kLargeur - 90, kHauteur - 120, Rop::SrcCopy);
    EXPECT_EQ(instantane, picture.mirrored(true, false));
    EXPECT_EQ(Pixel(s.Garde(), kLargeur - 91, kHauteur - 100), kCiel);
}

TEST(Surface, FillStaysBelowClosedTwoPixelOutlines) {
    // Guards against a hill outline with gaps, through which the fill floods the sky.
    std::mt19937_64 g(11);
    std::uniform_real_distribution<double> rnd(0.0, 1.0);
    for (int paysage = 0; paysage < 40; ++paysage) {
        Surface s = Champ();
        s.SetAutoRedraw(true);
        s.Cls();
        s.SetDrawWidth(2);
        for (int couche = 1; couche <= 3; ++couche) {
            const Couleur c = QBColor(couche + paysage % 5);
            const double gauche = kHauteur / std::floor(rnd(g) * 10 + 4);
            s.Line(0, gauche, 90, gauche, c);
            const double pas = (kLargeur - 140) / 10.0;
            double x = 90 + (kLargeur - 90) / 10.0;
            for (; x <= kLargeur - 140; x += pas) s.LineTo(x, std::floor(rnd(g) * 200) + gauche, c);
            const double droite = kHauteur / std::floor(rnd(g) * 10 + 4);
            s.LineTo(x, droite, c);
            s.LineTo(kLargeur, droite, c);
            s.SetFillColor(c);
            ASSERT_TRUE(s.FloodFill(313, 324, c));
            for (int col = 0; col < kLargeur; ++col) {
                ASSERT_EQ(Pixel(s.Garde(), col, 0), kCiel) << "landscape " << paysage;
                ASSERT_EQ(Pixel(s.Garde(), col, kHauteur - 1), c) << "landscape " << paysage;
            }
        }
    }
}

TEST(Surface, RefreshAfterAnyDrawingLeavesTheDisplayEqualToTheKeptImage) {
    // Guards against change tracking that misses part of a wide line, dot, picture or fill.
    std::mt19937 g(5);
    std::uniform_real_distribution<double> x(-20, 650), y(-20, 350);
    QImage picture(30, 25, QImage::Format_RGB32);
    picture.fill(0xFF123456);
    Surface s = Champ();
    for (int pas = 0; pas < 300; ++pas) {
        s.SetAutoRedraw(g() % 2);
        s.SetDrawWidth(1 + static_cast<int>(g() % 6));
        const Couleur c = QBColor(static_cast<int>(g() % 16));
        switch (g() % 6) {
            case 0:
                s.Line(x(g), y(g), x(g), y(g), c);
                break;
            case 1:
                s.PSet(x(g), y(g), c);
                break;
            case 2:
                s.PaintPicture(picture, x(g), y(g), (g() % 2) ? -30.0 : 30.0);
                break;
            case 3:
                s.SetFillColor(c);
                s.FloodFill(static_cast<int>(g() % 627), static_cast<int>(g() % 334), c);
                break;
            case 4:
                s.LineTo(x(g), y(g), c);
                break;
            default:
                if (g() % 10 == 0) s.Cls();
                break;
        }
        if (g() % 4 == 0) {
            s.Refresh();
            ASSERT_EQ(s.Affichage(), s.Garde()) << "step " << pas;
        }
    }
}

}  // namespace
}  // namespace tir
