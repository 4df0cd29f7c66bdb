// The real clock, random source and input dialog, and the embedded pictures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cmath>

#include "platform/Image.h"
#include "platform/ServicesReels.h"

namespace tir {
namespace {

TEST(HorlogeReelle, CountsFromConstructionAndNeverGoesBack) {
    // Guards against a clock read from the time of day, which jumps at midnight.
    HorlogeReelle horloge;
    double avant = horloge.Maintenant();
    EXPECT_GE(avant, 0.0);
    EXPECT_LT(avant, 0.5);
    for (int i = 0; i < 10000; ++i) {
        const double t = horloge.Maintenant();
        ASSERT_GE(t, avant);
        avant = t;
    }
}

TEST(HorlogeReelle, WaitsUntilTheDeadlineWhileLettingQueuedCallsThrough) {
    // Guards against a wait that returns early, overshoots, or freezes the window meanwhile.
    HorlogeReelle horloge;
    bool appele = false;
    QMetaObject::invokeMethod(
        qApp, [&] { appele = true; }, Qt::QueuedConnection);
    const double echeance = horloge.Maintenant() + 0.03;
    horloge.AttendsJusqua(echeance);
    const double fin = horloge.Maintenant();
    EXPECT_GE(fin, echeance);
    EXPECT_LT(fin, echeance + 0.25);
    EXPECT_TRUE(appele);
    const double passe = horloge.Maintenant();
    horloge.AttendsJusqua(passe - 1.0);
    EXPECT_LT(horloge.Maintenant() - passe, 0.05);
}

TEST(HasardReel, DrawsUniformlyInTheHalfOpenUnitInterval) {
    // Guards against a 1.0 that would pick a colour or a level out of range.
    HasardReel hasard;
    constexpr int kTirages = 100000;
    constexpr int kCases = 10;
    int cases[kCases] = {};
    for (int i = 0; i < kTirages; ++i) {
        const double v = hasard.Rnd();
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
        ++cases[static_cast<int>(v * kCases)];
    }
    for (int c : cases) {
        EXPECT_NEAR(c, kTirages / kCases, kTirages / kCases / 10);
    }
}

TEST(HasardReel, ReseedsToANewSequenceEvenWithinTheSameMoment) {
    // Guards against two landscapes drawn in quick succession being identical.
    HasardReel a;
    HasardReel b;
    EXPECT_NE(a.Rnd(), b.Rnd());
    a.Randomize();
    const double premier = a.Rnd();
    a.Randomize();
    EXPECT_NE(a.Rnd(), premier);
}

// Answers the dialog once it is open: records what it shows, then presses a button.
struct Reponse {
    bool valide;
    QString texte;
    QString titre, invite, defaut;
    QStringList boutons;
    bool texteBrut = false;  // the prompt's label shows its text as it is, never as markup
};

void RepondDes(Reponse& r) {
    QTimer::singleShot(0, [&r] {
        auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!d) {
            RepondDes(r);  // not open yet
            return;
        }
        r.titre = d->windowTitle();
        r.invite = d->labelText();
        r.defaut = d->textValue();
        const auto* etiquette = d->findChild<QLabel*>();
        r.texteBrut = etiquette && etiquette->textFormat() == Qt::PlainText;
        for (auto* b : d->findChildren<QPushButton*>()) r.boutons << b->text();
        r.boutons.sort();
        d->setTextValue(r.texte);
        if (r.valide) {
            d->accept();
        } else {
            d->reject();
        }
    });
}

TEST(SaisieQt, ShowsTitlePromptAndDefaultAndReturnsTheTypedName) {
    // Guards against the prompt's lines running together or English button captions.
    SaisieQt saisie;
    Reponse r{true, "Zoé", {}, {}, {}, {}};
    RepondDes(r);
    const QString nom = saisie.InputBox("Score Maximum", "Bravo !\r\nDeux\r\n\r\nQuatre", "Pilote");
    EXPECT_EQ(nom, "Zoé");
    EXPECT_EQ(r.titre, "Score Maximum");
    EXPECT_EQ(r.invite, "Bravo !\nDeux\n\nQuatre");
    EXPECT_EQ(r.defaut, "Pilote");
    EXPECT_EQ(r.boutons, (QStringList{"Annuler", "OK"}));
    // A record holder named "<b>…" or "<img …>" must read as typed, not styled or fetched.
    EXPECT_TRUE(r.texteBrut);
}

TEST(SaisieQt, ReturnsTheEmptyTextOnCancel) {
    // Guards against a cancelled dialog storing whatever the field held.
    SaisieQt saisie;
    Reponse r{false, "Tapé puis annulé", {}, {}, {}, {}};
    RepondDes(r);
    EXPECT_EQ(saisie.InputBox("Score Maximum", "?", "Pilote"), "");
    EXPECT_EQ(r.titre, "Score Maximum");
}

TEST(Image, ConvertsPicturesToOpaqueRgb32AndFillsNewOnes) {
    // Guards against block copies between images of different pixel formats.
    const Image vide(12, 7, 0x00FFFF);
    EXPECT_EQ(vide.ScaleWidth(), 12);
    EXPECT_EQ(vide.ScaleHeight(), 7);
    EXPECT_EQ(vide.Picture().format(), QImage::Format_RGB32);
    EXPECT_EQ(vide.Picture().pixel(11, 6), 0xFF00FFFFu);
    QImage transparente(3, 3, QImage::Format_ARGB32);
    transparente.fill(qRgba(255, 0, 0, 255));
    EXPECT_EQ(Image(transparente).Picture().format(), QImage::Format_RGB32);
    EXPECT_EQ(Image(transparente).Picture().pixel(1, 1), 0xFFFF0000u);
}

TEST(ChargeImage, LoadsAnEmbeddedPictureAtItsSizeOrGivesAWhiteOne) {
    // Guards against pictures missing from the program, or a wrong-sized one breaking copies.
    const Image murax = ChargeImage("murax", 90, 80);
    ASSERT_EQ(murax.ScaleWidth(), 90);
    ASSERT_EQ(murax.ScaleHeight(), 80);
    EXPECT_EQ(murax.Picture().format(), QImage::Format_RGB32);
    QImage blanche(90, 80, QImage::Format_RGB32);
    blanche.fill(0xFFFFFFFF);
    EXPECT_NE(murax.Picture(), blanche);
    for (const auto& [nom, w, h] : {std::tuple{"murax", 30, 30}, std::tuple{"absente", 90, 80}}) {
        const Image i = ChargeImage(nom, w, h);
        QImage attendue(w, h, QImage::Format_RGB32);
        attendue.fill(0xFFFFFFFF);
        EXPECT_EQ(i.Picture(), attendue) << nom;
    }
}

}  // namespace
}  // namespace tir
