// Block copies with their raster operations and clipping, stretched copies, the flood fill.
#include <gtest/gtest.h>

#include <QPainter>
#include <deque>
#include <random>

#include "platform/Gdi.h"

namespace tir {
namespace {

constexpr quint32 kOpaque = 0xFF000000u;

// An RGB32 image of random colours, so that a misplaced pixel shows.
QImage Bruit(int w, int h, unsigned graine) {
    std::mt19937 g(graine);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) image.setPixel(x, y, g() | kOpaque);
    }
    return image;
}

QRgb Combine(QRgb d, QRgb s, Rop rop) {
    if (rop == Rop::SrcAnd) return d & s;
    if (rop == Rop::SrcInvert) return (d ^ s) | kOpaque;
    return s;
}

// The copy pixel by pixel, with a bounds test on each: what clipping must amount to.
QImage CopieAttendue(QImage dst, int x, int y, int w, int h, const QImage& src, int sx, int sy,
                     Rop rop) {
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            const QPoint d(x + c, y + r);
            const QPoint s(sx + c, sy + r);
            if (dst.rect().contains(d) && src.rect().contains(s)) {
                dst.setPixel(d, Combine(dst.pixel(d), src.pixel(s), rop));
            }
        }
    }
    return dst;
}

TEST(BitBlt, CombinesEachColourChannelByTheRasterOperation) {
    // Guards against AND/XOR applied to the wrong bits, or XOR clearing the opaque top byte.
    QImage dst(1, 1, QImage::Format_RGB32);
    QImage src(1, 1, QImage::Format_RGB32);
    src.setPixel(0, 0, 0xFF0F0FF0);
    dst.setPixel(0, 0, 0xFF123456);
    ASSERT_TRUE(BitBlt(dst, 0, 0, 1, 1, src, 0, 0, Rop::SrcAnd));
    EXPECT_EQ(dst.pixel(0, 0), 0xFF020450u);
    dst.setPixel(0, 0, 0xFF123456);
    ASSERT_TRUE(BitBlt(dst, 0, 0, 1, 1, src, 0, 0, Rop::SrcInvert));
    EXPECT_EQ(dst.pixel(0, 0), 0xFF1D3BA6u);
    ASSERT_TRUE(BitBlt(dst, 0, 0, 1, 1, src, 0, 0, Rop::SrcCopy));
    EXPECT_EQ(dst.pixel(0, 0), 0xFF0F0FF0u);
}

TEST(BitBlt, DrawsAMaskedSpritePixelExactAndTheRestoreUndoesIt) {
    // Guards against a sprite that shows a box around it or leaves a trace after the restore.
    constexpr int kCote = 72;
    const QImage fond = Bruit(200, 150, 1);
    QImage masque(kCote, kCote, QImage::Format_RGB32);
    QImage picture(kCote, kCote, QImage::Format_RGB32);
    masque.fill(0xFFFFFFFF);
    picture.fill(0xFF000000);
    const QPoint centre(kCote / 2, kCote / 2);
    auto dansForme = [&](int c, int r) { return std::hypot(c - centre.x(), r - centre.y()) < 30; };
    for (int r = 0; r < kCote; ++r) {
        for (int c = 0; c < kCote; ++c) {
            if (!dansForme(c, r)) continue;
            masque.setPixel(c, r, 0xFF000000);
            picture.setPixel(c, r,
                             0xFF000000 | static_cast<QRgb>((c * 3) << 16 | (r * 3) << 8 | 200));
        }
    }
    QImage champ = fond;
    QImage sauvegarde(kCote, kCote, QImage::Format_RGB32);
    const QPoint ou(100, 40);
    ASSERT_TRUE(BitBlt(sauvegarde, 0, 0, kCote, kCote, champ, ou.x(), ou.y(), Rop::SrcCopy));
    BitBlt(champ, ou.x(), ou.y(), kCote, kCote, masque, 0, 0, Rop::SrcAnd);
    BitBlt(champ, ou.x(), ou.y(), kCote, kCote, picture, 0, 0, Rop::SrcInvert);
    for (int r = 0; r < champ.height(); ++r) {
        for (int c = 0; c < champ.width(); ++c) {
            const QPoint p(c, r);
            const QPoint s = p - ou;
            const bool sprite = QRect(0, 0, kCote, kCote).contains(s) && dansForme(s.x(), s.y());
            ASSERT_EQ(champ.pixel(p), sprite ? picture.pixel(s) : fond.pixel(p)) << c << "," << r;
        }
    }
    BitBlt(champ, ou.x(), ou.y(), kCote, kCote, sauvegarde, 0, 0, Rop::SrcCopy);
    EXPECT_EQ(champ, fond);
}

struct CasDeCoupe {
    const char* nom;
    int x, y, sx, sy;
};

class BitBltCoupe : public ::testing::TestWithParam<CasDeCoupe> {};

TEST_P(BitBltCoupe, CopiesOnlyThePartInsideBothImages) {
    // Guards against writing past an image's edge or shifting the block when it is clipped.
    const CasDeCoupe cas = GetParam();
    const QImage src = Bruit(40, 30, 2);
    for (Rop rop : {Rop::SrcCopy, Rop::SrcAnd, Rop::SrcInvert}) {
        QImage dst = Bruit(50, 35, 3);
        const QImage attendue = CopieAttendue(dst, cas.x, cas.y, 20, 15, src, cas.sx, cas.sy, rop);
        const bool copie = BitBlt(dst, cas.x, cas.y, 20, 15, src, cas.sx, cas.sy, rop);
        EXPECT_EQ(dst, attendue) << cas.nom;
        EXPECT_EQ(copie, attendue != Bruit(50, 35, 3)) << cas.nom;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AuxBords, BitBltCoupe,
    ::testing::Values(
        CasDeCoupe{"inside", 5, 6, 3, 4}, CasDeCoupe{"left", -7, 6, 3, 4},
        CasDeCoupe{"right", 41, 6, 3, 4}, CasDeCoupe{"top", 5, -9, 3, 4},
        CasDeCoupe{"bottom", 5, 28, 3, 4}, CasDeCoupe{"source left", 5, 6, -6, 4},
        CasDeCoupe{"source right", 5, 6, 31, 4}, CasDeCoupe{"source top", 5, 6, 3, -5},
        CasDeCoupe{"source bottom", 5, 6, 3, 22}, CasDeCoupe{"corner both", -4, -3, 35, 25},
        CasDeCoupe{"wholly left", -20, 6, 3, 4}, CasDeCoupe{"wholly below", 5, 35, 3, 4},
        CasDeCoupe{"source wholly right", 5, 6, 40, 4},
        CasDeCoupe{"source wholly above", 5, 6, 3, -15}),
    [](const auto& info) {
        std::string n = info.param.nom;
        for (char& ch : n) ch = ch == ' ' ? '_' : ch;
        return n;
    });

TEST(BitBlt, CopiesAnOverlappingBlockWithinOneImageWhole) {
    // Guards against smearing when source and target blocks of the same image overlap.
    const QImage avant = Bruit(30, 30, 4);
    for (QPoint decalage : {QPoint(1, 0), QPoint(0, 1), QPoint(-2, -1), QPoint(3, 2)}) {
        QImage image = avant;
        const QImage attendue = CopieAttendue(avant, 5 + decalage.x(), 5 + decalage.y(), 15, 15,
                                              avant, 5, 5, Rop::SrcCopy);
        BitBlt(image, 5 + decalage.x(), 5 + decalage.y(), 15, 15, image, 5, 5, Rop::SrcCopy);
        EXPECT_EQ(image, attendue) << decalage.x() << "," << decalage.y();
    }
}

TEST(BitBlt, RefusesAnEmptyBlock) {
    // Guards against a zero or negative size being taken as a huge one.
    QImage dst = Bruit(10, 10, 5);
    const QImage avant = dst;
    EXPECT_FALSE(BitBlt(dst, 0, 0, 0, 5, avant, 0, 0, Rop::SrcCopy));
    EXPECT_FALSE(BitBlt(dst, 0, 0, 5, -1, avant, 0, 0, Rop::SrcCopy));
    EXPECT_EQ(dst, avant);
}

// What Qt's own stretched drawing gives, the sampling our copies must match.
QImage EtireParQt(QImage dst, const QRect& cible, const QImage& src, const QRect& source) {
    QPainter p(&dst);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(cible, src, source);
    return dst;
}

TEST(StretchBlt, SamplesTheSameSourcePixelsAsQtsNearestScaling) {
    // Guards against off-by-one sampling that shifts the explosion or drops its last row.
    const QImage src = Bruit(72, 72, 6);
    const QSize tailles[][2] = {{{70, 70}, {36, 36}}, {{70, 70}, {70, 70}}, {{20, 20}, {30, 30}},
                                {{20, 20}, {50, 50}}, {{72, 72}, {8, 8}},   {{68, 64}, {68, 50}},
                                {{3, 7}, {72, 5}}};
    for (const auto& t : tailles) {
        QImage dst = Bruit(100, 90, 7);
        const QRect cible(QPoint(9, 11), t[1]);
        const QRect source(QPoint(1, 2), t[0]);
        const QImage attendue = EtireParQt(dst, cible, src, source);
        ASSERT_TRUE(StretchBlt(dst, cible.x(), cible.y(), cible.width(), cible.height(), src,
                               source.x(), source.y(), source.width(), source.height(),
                               Rop::SrcCopy));
        EXPECT_EQ(dst, attendue) << t[0].width() << "x" << t[0].height() << " -> " << t[1].width()
                                 << "x" << t[1].height();
    }
}

TEST(StretchBlt, MirrorsForANegativeTargetWidthAndClipsAtTheEdges) {
    // Guards against a mirrored copy landing one column off or writing outside the image.
    const QImage src = Bruit(40, 30, 8);
    QImage dst = Bruit(50, 40, 9);
    const QImage attendue =
        EtireParQt(dst, QRect(-15, 20, 45, 35), src.mirrored(true, false), QRect(0, 0, 40, 30));
    ASSERT_TRUE(StretchBlt(dst, 30, 20, -45, 35, src, 0, 0, 40, 30, Rop::SrcCopy));
    EXPECT_EQ(dst, attendue);
}

TEST(StretchBlt, CombinesByTheRasterOperationAndReportsACopyWhollyOutside) {
    // Guards against the stretched mask and picture ignoring their raster operation.
    const QImage src = Bruit(10, 10, 10);
    QImage dst = Bruit(20, 20, 11);
    const QImage avant = dst;
    ASSERT_TRUE(StretchBlt(dst, 0, 0, 10, 10, src, 0, 0, 10, 10, Rop::SrcAnd));
    EXPECT_EQ(dst, CopieAttendue(avant, 0, 0, 10, 10, src, 0, 0, Rop::SrcAnd));
    QImage dst2 = avant;
    ASSERT_TRUE(StretchBlt(dst2, 0, 0, 10, 10, src, 0, 0, 10, 10, Rop::SrcInvert));
    EXPECT_EQ(dst2, CopieAttendue(avant, 0, 0, 10, 10, src, 0, 0, Rop::SrcInvert));
    EXPECT_FALSE(StretchBlt(dst2, 25, 0, 10, 10, src, 0, 0, 10, 10, Rop::SrcCopy));
    EXPECT_FALSE(StretchBlt(dst2, 0, 0, 10, 10, src, 10, 0, 10, 10, Rop::SrcCopy));
}

// A plain breadth-first fill, four neighbours at a time: the region the scanline fill must cover.
QImage RemplissageAttendu(QImage image, QPoint graine, QRgb bord, QRgb couleur) {
    std::vector<bool> vu(static_cast<std::size_t>(image.width() * image.height()), false);
    std::deque<QPoint> file{graine};
    auto indice = [&](QPoint p) { return static_cast<std::size_t>(p.y() * image.width() + p.x()); };
    vu[indice(graine)] = true;
    while (!file.empty()) {
        const QPoint p = file.front();
        file.pop_front();
        image.setPixel(p, couleur);
        for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (!image.rect().contains(q) || vu[indice(q)] || (image.pixel(q) & 0xFFFFFF) == bord)
                continue;
            vu[indice(q)] = true;
            file.push_back(q);
        }
    }
    return image;
}

TEST(FloodFill, CoversExactlyTheFourConnectedRegionOfARandomMaze) {
    // Guards against a scanline fill that misses pockets or leaks through diagonal gaps.
    constexpr QRgb kBord = 0x000080;
    constexpr QRgb kFond = 0x00FFFF;
    for (unsigned graine = 0; graine < 20; ++graine) {
        // Odd mazes fill with the border's own colour, as a landscape layer does.
        const QRgb remplissage = graine % 2 ? kBord : 0xC0C0C0;
        std::mt19937 g(graine);
        QImage image(60, 45, QImage::Format_RGB32);
        for (int y = 0; y < 45; ++y) {
            for (int x = 0; x < 60; ++x) {
                const unsigned tirage = g() % 10;
                const QRgb c = tirage < 4 ? kBord : tirage < 5 ? remplissage : kFond;
                image.setPixel(x, y, c | kOpaque);
            }
        }
        image.setPixel(30, 20, kFond | kOpaque);
        const QImage attendue = RemplissageAttendu(image, {30, 20}, kBord, remplissage | kOpaque);
        ASSERT_TRUE(FloodFill(image, 30, 20, kBord, remplissage));
        ASSERT_EQ(image, attendue) << "maze " << graine;
    }
}

TEST(FloodFill, RefusesASeedOnTheBorderOrOutside) {
    // Guards against a fill started on the outline repainting the whole image.
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(0xFF00FFFF);
    image.setPixel(4, 4, 0xFF000080);
    const QImage avant = image;
    EXPECT_FALSE(FloodFill(image, 4, 4, 0x000080, 0xFF0000));
    EXPECT_FALSE(FloodFill(image, -1, 4, 0x000080, 0xFF0000));
    EXPECT_FALSE(FloodFill(image, 4, 10, 0x000080, 0xFF0000));
    EXPECT_EQ(image, avant);
}

TEST(FloodFill, EndsWhenTheRegionAlreadyHasTheFillColour) {
    // Guards against looping for ever over pixels that already have the fill colour.
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(0xFFC0C0C0);
    EXPECT_TRUE(FloodFill(image, 3, 3, 0x000000, 0xC0C0C0));
    QImage attendue(30, 20, QImage::Format_RGB32);
    attendue.fill(0xFFC0C0C0);
    EXPECT_EQ(image, attendue);
}

}  // namespace
}  // namespace tir
