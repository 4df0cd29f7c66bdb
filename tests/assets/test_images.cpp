// The game's pictures: sizes, sprite masks, the sky around the cannons, palettes.
#include <gtest/gtest.h>

#include <QSize>
#include <map>

#include "Assets.h"
#include "platform/Image.h"
#include "platform/Nombres.h"

using namespace tests_assets;

namespace {

constexpr unsigned kNoir = 0x000000;
constexpr unsigned kBlanc = 0xFFFFFF;
constexpr unsigned kGrisBouton = 0xC0C0C0;

const std::map<QString, QSize>& Tailles() {
    static const std::map<QString, QSize> tailles{
        {"murax", {90, 80}},    {"charfoutu", {90, 80}},  {"tfeu0", {68, 64}},
        {"tfeu1", {68, 64}},    {"explosion0", {72, 72}}, {"explosion1", {72, 72}},
        {"son0", {32, 32}},     {"son1", {32, 32}},       {"icone", {32, 32}},
        {"icone-64", {64, 64}}, {"icone-128", {128, 128}}};
    return tailles;
}

bool DeLaPalette(unsigned c) {
    for (int i = 0; i < 16; ++i) {
        if (static_cast<unsigned>(tir::QBColor(i)) == c) return true;
    }
    return false;
}

int Compte(const QImage& image, unsigned couleur) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += Couleur(image, x, y) == couleur;
    }
    return n;
}

void VerifieMasque(const QString& masque, const QString& image) {
    const QImage m = Image(masque);
    const QImage p = Image(image);
    ASSERT_EQ(m.size(), p.size());
    int forme = 0;
    for (int y = 0; y < m.height(); ++y) {
        for (int x = 0; x < m.width(); ++x) {
            const unsigned cm = Couleur(m, x, y);
            ASSERT_TRUE(cm == kNoir || cm == kBlanc)
                << masque.toStdString() << " " << x << "," << y;
            ASSERT_EQ(cm == kBlanc, Couleur(p, x, y) == kNoir)
                << image.toStdString() << " at " << x << "," << y;
            forme += cm == kNoir;
        }
    }
    // A quarter of the sprite at least: an empty or nearly empty sprite would show nothing.
    EXPECT_GT(forme, m.width() * m.height() / 4) << masque.toStdString();
}

}  // namespace

TEST(Images, EveryPictureHasItsExactSize) {
    // Guards against a picture drawn at the wrong size: the game reads the sprite sizes from
    // the pictures and the layout needs exactly these.
    for (const auto& [nom, taille] : Tailles()) {
        const QImage image = Image(nom);
        ASSERT_FALSE(image.isNull()) << nom.toStdString() << " is missing";
        EXPECT_EQ(image.size(), taille) << nom.toStdString();
    }
}

TEST(Images, TheGameFindsEveryPictureEmbeddedUnderItsName) {
    // Guards against a picture left out of the build: the game would then draw a blank sprite.
    for (const auto& [nom, taille] : Tailles()) {
        const tir::Image embarquee = tir::ChargeImage(nom, taille.width(), taille.height());
        EXPECT_EQ(embarquee.Picture(), Image(nom)) << nom.toStdString();
    }
}

TEST(Images, EachSpriteMaskIsBlackExactlyWhereItsPictureHasColour) {
    // Guards against masks and pictures that disagree: AND then XOR would leave coloured
    // fringes or holes on the field, and a pixel that stays behind after the restore.
    VerifieMasque("tfeu0", "tfeu1");
    VerifieMasque("explosion0", "explosion1");
}

TEST(Images, TheExplosionIsARedAndYellowStarCentredInTheStretchedArea) {
    // Guards against a star cut off or off centre: the game stretches only the top-left
    // 70 x 70 pixels onto a square centred on the impact.
    constexpr int kZone = 70;
    const QImage p = Image("explosion1");
    double sx = 0;
    double sy = 0;
    int n = 0;
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            const unsigned c = Couleur(p, x, y);
            if (c == kNoir) continue;
            EXPECT_TRUE(x < kZone && y < kZone)
                << "star outside the stretched area at " << x << "," << y;
            EXPECT_TRUE(c == 0xFF0000u || c == 0xFFFF00u) << std::hex << c;
            sx += x + 0.5;
            sy += y + 0.5;
            ++n;
        }
    }
    ASSERT_GT(n, 0);
    EXPECT_NEAR(sx / n, kZone / 2.0, 1.5);
    EXPECT_NEAR(sy / n, kZone / 2.0, 1.5);
    EXPECT_GT(Compte(p, 0xFF0000), 0);
    EXPECT_GT(Compte(p, 0xFFFF00), 0);
}

TEST(Images, TheFlamesHaveRedAndYellowFireAndGreySmoke) {
    // Guards against flames drawn in the wrong colours, or smoke missing.
    const QImage p = Image("tfeu1");
    EXPECT_GT(Compte(p, 0xFF0000), 0);
    EXPECT_GT(Compte(p, 0xFFFF00), 0);
    int gris = 0;
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            const QColor c = QColor::fromRgb(p.pixel(x, y));
            gris += c != Qt::black && c.red() == c.green() && c.green() == c.blue();
        }
    }
    EXPECT_GT(gris, 100);
}

TEST(Images, ButtonsAndIconsUseOnlyTheSixteenColourPalette) {
    // Guards against colours outside the classic palette in the 16-colour pictures.
    for (const char* nom :
         {"son0", "son1", "icone", "icone-64", "icone-128", "explosion0", "explosion1"}) {
        const QImage image = Image(nom);
        ASSERT_FALSE(image.isNull()) << nom;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ASSERT_TRUE(DeLaPalette(Couleur(image, x, y)))
                    << nom << " at " << x << "," << y << ": " << std::hex << Couleur(image, x, y);
            }
        }
    }
}

TEST(Images, SoundButtonsShowOnTheButtonGreyAndOnlyTheMutedOneIsCrossedOut) {
    // Guards against button pictures whose background shows as a patch on the grey button, and
    // against the two pictures being swapped or the cross missing.
    const QImage actif = Image("son0");
    const QImage coupe = Image("son1");
    for (const QImage* image : {&actif, &coupe}) {
        const int d = image->width() - 1;
        EXPECT_EQ(Couleur(*image, 0, 0), kGrisBouton);
        EXPECT_EQ(Couleur(*image, d, d), kGrisBouton);
        EXPECT_GT(Compte(*image, kGrisBouton), image->width() * image->height() / 3);
    }
    EXPECT_EQ(Compte(actif, 0xFF0000) + Compte(actif, 0xFFFF00), 0);
    EXPECT_GT(Compte(coupe, 0xFF0000), 20);
    EXPECT_GT(Compte(coupe, 0xFFFF00), 20);
}

TEST(Images, EveryIconSizeShowsAGreenTankTheWindowsOnBlackTheLaunchersOnNothing) {
    // Guards against an icon size left blank, and against the launcher's icons showing a black
    // square on the desktop.
    for (const char* nom : {"icone", "icone-64", "icone-128"}) {
        const QImage image = Image(nom);
        const int d = image.width() - 1;
        const QImage brute(DossierImages() + nom + ".png");
        const bool fenetre = image.width() == 32;
        for (const QPoint coin : {QPoint(0, 0), QPoint(d, 0), QPoint(0, d)}) {
            EXPECT_EQ(qAlpha(brute.pixel(coin)), fenetre ? 255 : 0) << nom;
            if (fenetre) {
                EXPECT_EQ(Couleur(image, coin.x(), coin.y()), kNoir) << nom;
            }
        }
        const int vert = Compte(image, 0x00FF00) + Compte(image, 0x008000);
        EXPECT_GT(vert, image.width() * image.height() / 10) << nom;
    }
}
