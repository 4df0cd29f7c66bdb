// The game on a desktop that scales windows by two (QT_SCALE_FACTOR=2): the window and the field
// twice the size on the screen, every field pixel a sharp 2 x 2 block, and the same game.
// The factor must be set before the application starts, so the scaled half runs in a child
// process of this very test program.
#include <gtest/gtest.h>

#include <QDataStream>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "Partie.h"

namespace tir::test {
namespace {

constexpr int kDelaiEnfantMs = 120000;
constexpr int kCadre = 2;  // the field's sunken frame, in logical pixels
constexpr int kFacteur = 2;

QByteArray Serialise(const Bilan& b) {
    QByteArray octets;
    QDataStream d(&octets, QIODevice::WriteOnly);
    d << b.scoreA << b.scoreB << b.coups << b.dialogues << b.fin << b.champ;
    return octets;
}

Bilan JoueUnePartie() {
    FausseHorloge horloge;
    FauxLecteur lecteur;
    FauxDossier dossier;
    Table t(horloge, lecteur, dossier);
    return JoueDixTouches(t, "Pilote");
}

TEST(DISABLED_EchelleDouble, WindowAndFieldAreTwiceTheSizeWithSharpPixelsAndTheSameGame) {
    ASSERT_EQ(qgetenv("QT_SCALE_FACTOR"), QByteArray::number(kFacteur));
    FausseHorloge horloge;
    FauxLecteur lecteur;
    FauxDossier dossier;
    Table t(horloge, lecteur, dossier);
    const Bilan b = JoueDixTouches(t, "Pilote");
    Form1& f = *t.form;
    EXPECT_EQ(f.devicePixelRatio(), kFacteur);
    const QImage fenetre = f.grab().toImage();
    EXPECT_EQ(fenetre.size(), f.size() * kFacteur);
    // The kept field keeps its own size: the rules read it, not the screen.
    EXPECT_EQ(b.champ.size(), QSize(f.Largeur, f.Hauteur));
    const QImage champ = f.Dessin->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(champ.size(), f.Dessin->size() * kFacteur);
    int flous = 0;
    for (int y = 0; y < b.champ.height(); ++y) {
        for (int x = 0; x < b.champ.width(); ++x) {
            const QRgb attendu = b.champ.pixel(x, y) | 0xFF000000;
            for (int k = 0; k < kFacteur * kFacteur; ++k) {
                const QPoint p(kFacteur * (x + kCadre) + k % kFacteur,
                               kFacteur * (y + kCadre) + k / kFacteur);
                flous += champ.pixel(p) != attendu ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(flous, 0);
    QFile sortie(qEnvironmentVariable("TIR_BILAN"));
    ASSERT_TRUE(sortie.open(QIODevice::WriteOnly));
    sortie.write(Serialise(b));
}

TEST(Echelle, AtTwiceTheScaleTheGameIsTwiceTheSizeSharpAndPlaysTheSame) {
    // Guards against blurred field pixels, a field drawn at the screen's size instead of its own
    // (which would move the colour test and the hit zones), or a game that plays differently.
    const Bilan attendu = JoueUnePartie();
    ASSERT_EQ(attendu.coups, kCoupsParPartie);
    QTemporaryDir dossier;
    QProcess enfant;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_SCALE_FACTOR", QString::number(kFacteur));
    env.insert("TIR_BILAN", dossier.filePath("bilan"));
    enfant.setProcessEnvironment(env);
    enfant.setProcessChannelMode(QProcess::MergedChannels);
    enfant.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_also_run_disabled_tests", "--gtest_filter=DISABLED_EchelleDouble.*"});
    ASSERT_TRUE(enfant.waitForFinished(kDelaiEnfantMs));
    const QByteArray sortie = enfant.readAll();
    ASSERT_EQ(enfant.exitCode(), 0) << sortie.toStdString();
    QFile bilan(dossier.filePath("bilan"));
    ASSERT_TRUE(bilan.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bilan.readAll() == Serialise(attendu));
}

}  // namespace
}  // namespace tir::test
