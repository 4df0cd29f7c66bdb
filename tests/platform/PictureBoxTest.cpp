// The field widget: its frame, what a repaint shows, and sharp pixels under a scale factor.
#include <gtest/gtest.h>

#include <QBackingStore>
#include <QPainter>
#include <QTest>

#include "platform/PictureBox.h"

namespace tir {
namespace {

constexpr Couleur kRouge = 0xFF0000;

// What the screen received: the window's backing store, which the offscreen platform keeps as
// an image.
QImage Ecran(PictureBox& champ) {
    const auto* image = dynamic_cast<const QImage*>(champ.backingStore()->paintDevice());
    return image ? image->copy() : QImage();
}

Couleur EcranA(PictureBox& champ, int colonne, int ligne) {
    const QImage ecran = Ecran(champ);
    const qreal ratio = ecran.devicePixelRatio();
    const QPoint p(static_cast<int>((colonne + 2) * ratio), static_cast<int>((ligne + 2) * ratio));
    return static_cast<Couleur>(ecran.pixel(p) & 0xFFFFFF);
}

TEST(PictureBox, HasASunkenTwoPixelFrameAroundTheInnerArea) {
    // Guards against a frame that eats into the field, shifting every drawing by its width.
    PictureBox champ(627, 334, kCiel);
    EXPECT_EQ(champ.size(), QSize(631, 338));
    EXPECT_EQ(champ.minimumSize(), champ.maximumSize());
    EXPECT_EQ(champ.frameShape(), QFrame::Panel);
    EXPECT_EQ(champ.frameShadow(), QFrame::Sunken);
    EXPECT_EQ(champ.lineWidth(), 2);
    EXPECT_EQ(champ.contentsRect(), QRect(2, 2, 627, 334));
}

TEST(PictureBox, MontrePutsTheDisplayOnTheScreenAtOnce) {
    // Guards against the shell in flight never reaching the screen, or the screen showing the
    // kept image when the game asked for the display.
    PictureBox champ(100, 80, kCiel);
    champ.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&champ));
    ASSERT_FALSE(Ecran(champ).isNull()) << "the offscreen platform keeps no image";
    champ.SetDrawWidth(4);
    champ.PSet(50, 40, kRouge);
    champ.Montre();
    EXPECT_EQ(EcranA(champ, 50, 40), kRouge);
    EXPECT_EQ(EcranA(champ, 10, 10), kCiel);
    EXPECT_EQ(champ.Point(50, 40), kRouge);  // showing it does not wipe the display
}

TEST(PictureBox, TheShellShownByMontreStaysOnTheScreenWhileEventsAreLetThrough) {
    // Guards against the Refresh of the previous pass, handled as a repaint when the flight
    // lets events through, wiping the shell off the screen right after it was shown.
    PictureBox champ(100, 80, kCiel);
    champ.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&champ));
    champ.SetDrawWidth(4);
    champ.Refresh();
    champ.PSet(30, 30, kRouge);
    champ.Montre();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    EXPECT_EQ(EcranA(champ, 30, 30), kRouge);
    champ.Refresh();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    EXPECT_EQ(EcranA(champ, 30, 30), kCiel);
}

TEST(PictureBox, ARepaintTheWindowSystemAsksForShowsTheKeptImage) {
    // Guards against display-only drawing (a shell, a flame) staying on the screen after the
    // handler returns.
    PictureBox champ(100, 80, kCiel);
    champ.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&champ));
    champ.SetAutoRedraw(true);
    champ.SetDrawWidth(3);
    champ.PSet(20, 20, 0x0000FF);
    champ.SetAutoRedraw(false);
    champ.PSet(60, 60, kRouge);
    champ.repaint();
    EXPECT_EQ(EcranA(champ, 60, 60), kCiel);
    EXPECT_EQ(EcranA(champ, 20, 20), 0x0000FF);
    EXPECT_EQ(champ.Point(60, 60), kCiel);
}

TEST(PictureBox, EnlargesPixelsWithoutSmoothingUnderAScaleFactor) {
    // Guards against blurred edges when the desktop scales windows by two.
    PictureBox champ(40, 30, kCiel);
    champ.SetAutoRedraw(true);
    for (int x = 0; x < 40; ++x) champ.PSet(x, (x * 7) % 30, (x % 2) ? kRouge : 0x000080);
    QImage rendu(champ.size() * 2, QImage::Format_RGB32);
    rendu.setDevicePixelRatio(2);
    rendu.fill(0xFFFFFFFF);
    champ.render(&rendu);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const QRgb attendu = champ.Garde().pixel(x, y);
            for (int k = 0; k < 4; ++k) {
                const QPoint p(2 * (x + 2) + k % 2, 2 * (y + 2) + k / 2);
                ASSERT_EQ(rendu.pixel(p), attendu) << x << "," << y;
            }
        }
    }
}

TEST(PictureBox, GivesAPositiveFrameIntervalOfAtMostAFrameAtTwentyFourHertz) {
    // Guards against a zero, negative or absurd pace, which would let the explosion strobe or
    // crawl.
    PictureBox champ(10, 10, kCiel);
    EXPECT_GT(champ.IntervalleImage(), 0.0);
    EXPECT_LE(champ.IntervalleImage(), 1.0 / 24.0);
}

}  // namespace
}  // namespace tir
