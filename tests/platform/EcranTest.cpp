// What reaches the screen when the field shows only what changed: after every frame the screen
// holds the display exactly, and a frame of the flight repaints the shell's places, not the field.
#include <gtest/gtest.h>

#include <QBackingStore>
#include <QPaintEvent>
#include <QTest>

#include "platform/PictureBox.h"

namespace tir {
namespace {

constexpr int kLargeur = 120;
constexpr int kHauteur = 90;
constexpr int kCadre = 2;

// A field that remembers the rectangles it was asked to paint.
class ChampEspion : public PictureBox {
  public:
    ChampEspion() : PictureBox(kLargeur, kHauteur, kCiel) {}
    std::vector<QRect> peints;

  protected:
    void paintEvent(QPaintEvent* event) override {
        peints.push_back(event->rect());
        PictureBox::paintEvent(event);
    }
};

// The field as the screen received it: the inner area of the window's backing store.
QImage EcranDuChamp(PictureBox& champ) {
    const auto* image = dynamic_cast<const QImage*>(champ.backingStore()->paintDevice());
    if (!image) return {};
    return image->copy(kCadre, kCadre, kLargeur, kHauteur).convertToFormat(QImage::Format_RGB32);
}

void Montre(PictureBox& champ) {
    champ.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&champ));
    ASSERT_FALSE(EcranDuChamp(champ).isNull()) << "the offscreen platform keeps no image";
    champ.Scale(0, kHauteur, kLargeur, 0);
}

// A hill in the kept image, so that a wrong repaint shows either sky or hill where it must not.
void DessineColline(PictureBox& champ) {
    champ.SetAutoRedraw(true);
    champ.SetDrawWidth(3);
    champ.Line(0, 20, kLargeur, 50, 0x808000);
    champ.SetAutoRedraw(false);
}

TEST(Ecran, AfterEveryFrameOfAFlightTheScreenHoldsTheWholeDisplay) {
    // Guards against a frame that shows only part of what changed: the shell left behind at an
    // old place, or missing from its new one, while the game believes the screen is current.
    ChampEspion champ;
    Montre(champ);
    DessineColline(champ);
    champ.SetDrawWidth(4);
    double x = 3;
    for (int passe = 0; passe < 120; ++passe, x += 0.9) {
        champ.PSet(x, 25 + passe / 3.0, 0x800000);
        if (passe % 7 == 0) {
            champ.Montre();
            ASSERT_EQ(EcranDuChamp(champ), champ.Affichage()) << "frame at pass " << passe;
        }
        champ.Refresh();
        if (passe % 11 == 0) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

TEST(Ecran, AFrameOfTheFlightRepaintsTheShellsPlacesNotTheField) {
    // Guards against every frame sending the whole field to the screen, which costs the flight
    // its frame rate on a slow desktop and the colour tests their rhythm.
    ChampEspion champ;
    Montre(champ);
    champ.SetDrawWidth(4);
    champ.PSet(30, 40, 0x800000);
    champ.Montre();
    champ.Refresh();
    champ.PSet(36, 42, 0x800000);
    champ.peints.clear();
    champ.Montre();
    ASSERT_FALSE(champ.peints.empty()) << "the frame was not painted";
    const QRect vu = champ.peints.back();
    // Both dots, 4 pixels each, 6 pixels apart: a dozen pixels across, nowhere near the field.
    EXPECT_LE(vu.width(), 16);
    EXPECT_LE(vu.height(), 16);
    EXPECT_EQ(EcranDuChamp(champ), champ.Affichage());
}

TEST(Ecran, DrawingIntoTheKeptImageReachesTheScreenWhenEventsAreHandled) {
    // Guards against a repaint request that covers less than what changed in the kept image,
    // so that a new landscape or a wreck shows only in part.
    ChampEspion champ;
    Montre(champ);
    DessineColline(champ);
    champ.SetAutoRedraw(true);
    champ.SetDrawWidth(5);
    champ.PSet(5, 80, 0x000080);
    champ.PSet(110, 5, 0x000080);
    champ.Refresh();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    EXPECT_EQ(EcranDuChamp(champ), champ.Garde());
    // Nothing changed since: a frame shown now has nothing to repaint.
    champ.peints.clear();
    champ.Montre();
    EXPECT_TRUE(champ.peints.empty());
}

}  // namespace
}  // namespace tir
