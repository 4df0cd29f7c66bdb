// The sound rule and the catalogue of names.
#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QTest>

#include "BancDeTir.h"

namespace tir {
namespace {

constexpr std::array kSons{Son::MuraxDeplace, Son::Trnmurax, Son::Photon,  Son::Explosion,
                           Son::Flammes,      Son::YouWin,   Son::Hallelu1};

TEST(Son, WithSoundOnTheNameIsJoinedToTheProgramFolder) {
    // Guards against the working directory used instead of the program's folder, a missing
    // separator, or a lost accent in "Murax-déplacé.wav".
    test::BancDeTir f;
    Form1& w = *f.form;
    w.JoueSon(Son::MuraxDeplace);
    w.JoueSon(Son::Explosion);
    w.JoueSon(Son::Hallelu1);
    const QString dossier = f.dossier.dossier.path();
    EXPECT_EQ(f.lecteur.joues, QStringList({dossier + QString::fromUtf8("/Murax-déplacé.wav"),
                                            dossier + "/Explosion", dossier + "/Hallelu1.wav"}));
}

TEST(Son, WithSoundOffNothingIsAskedNotEvenTheFolder) {
    // Guards against a sound played with the switch off, or a folder looked up for nothing.
    test::BancDeTir f;
    Form1& w = *f.form;
    QTest::mouseClick(w.Son[1], Qt::LeftButton);
    const int consultations = f.dossier.consultations;
    for (Son s : kSons) w.JoueSon(s);
    EXPECT_TRUE(f.lecteur.joues.isEmpty());
    EXPECT_EQ(f.dossier.consultations, consultations);
    QTest::mouseClick(w.Son[0], Qt::LeftButton);
    w.JoueSon(Son::YouWin);
    EXPECT_EQ(f.lecteur.joues.size(), 1);
}

TEST(Son, TheCatalogueHasSevenDistinctWaveNamesAndAnExplosionWithoutEnding) {
    // Guards against two moments sharing a sound, or the explosion given an ending the player
    // would then double.
    QSet<QString> noms;
    for (Son s : kSons) {
        const QString nom = NomDuSon(s);
        noms << nom;
        EXPECT_FALSE(nom.contains('/')) << nom.toStdString();
        EXPECT_EQ(nom.endsWith(".wav"), s != Son::Explosion) << nom.toStdString();
    }
    EXPECT_EQ(noms.size(), 7);
}

TEST(Son, EveryNameIsAFileTheGameShipsBesideItself) {
    // Guards against a name in the catalogue that matches no sound file copied beside the
    // program: that moment would play the system's default sound, or nothing.
    for (Son s : kSons) {
        QString chemin = QString(TIR_BINARY_DIR) + "/" + NomDuSon(s);
        if (!chemin.endsWith(".wav")) chemin += ".wav";
        EXPECT_TRUE(QFile::exists(chemin)) << chemin.toStdString();
    }
}

}  // namespace
}  // namespace tir
