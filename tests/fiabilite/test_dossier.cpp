// The program's folder as players have it: a path with spaces and accents, and a folder the
// player may not write to. The game runs the same; the record is kept where it can be.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Identite.h"
#include "Partie.h"
#include "ProfilInvariants.h"

namespace tir::test {
namespace {

constexpr auto kLecture = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr auto kParcours = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
const QByteArray kAncien = "[Tir_au_Murax]\r\nScoreMaxi= 5\r\nNomJoueur=Ancien\r\n";

struct DossierFixe : Dossier {
    QString chemin;
    QString Chemin() override { return chemin; }
};

Bilan JoueDans(const QString& chemin) {
    DossierFixe dossier;
    dossier.chemin = chemin;
    BancDeTir t({.dossier = &dossier});
    t.Montre();
    return JoueDixTouches(t, "Pilote");
}

QStringList Fichiers(const QString& dossier) {
    return QDir(dossier).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
}

TEST(Dossier, AFolderWithSpacesAndAccentsKeepsTheRecordAndGivesItBack) {
    // Guards against a path cut at a space or an accent mangled on its way to the system, which
    // would lose the record or write it somewhere else.
    QTemporaryDir racine;
    const QString chemin = racine.path() + QString::fromUtf8("/Mes jeux/Tir au Murax — été ü");
    ASSERT_TRUE(QDir().mkpath(chemin));
    const Bilan b = JoueDans(chemin);
    ASSERT_EQ(b.coups, kCoupsParPartie);
    const QByteArray contenu = fuzz::Contenu(chemin + "/Tir.ini");
    EXPECT_TRUE(contenu.startsWith("[Tir_au_Murax]\r\nScoreMaxi= ")) << contenu.data();
    EXPECT_TRUE(contenu.endsWith("\r\nNomJoueur=Pilote\r\n")) << contenu.data();
    EXPECT_EQ(Fichiers(chemin), QStringList{"Tir.ini"});
    // The next game in the same folder names the holder.
    DossierFixe dossier;
    dossier.chemin = chemin;
    BancDeTir t({.dossier = &dossier});
    t.Montre();
    t.form->Scores[0] = 30000;
    t.form->Score[0]->SetCaption("30000");
    t.form->VerifieScoreMaxi(0);
    ASSERT_EQ(t.saisie.appels.size(), 1u);
    EXPECT_EQ(t.saisie.appels[0].defaut, QString("Pilote"));
}

TEST(Dossier, AReadOnlyFolderPlaysTheSameGameAndSilentlyKeepsNoRecord) {
    // Guards against a crash, an error in the player's face, a lost old record or a stray file
    // when the game's folder cannot be written.
    QTemporaryDir avecRecord, sansRecord, libre;
    const Bilan attendu = JoueDans(libre.path());
    QFile f(avecRecord.filePath("Tir.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(kAncien) == kAncien.size());
    f.close();
    for (QTemporaryDir* d : {&avecRecord, &sansRecord}) {
        ASSERT_TRUE(QFile::setPermissions(d->path(), kLecture | kParcours));
    }
    QFile::setPermissions(f.fileName(), kLecture);
    {
        CommeUtilisateurOrdinaire ordinaire;
        if (!ordinaire.Pret()) GTEST_SKIP() << "cannot take an ordinary user's identity";
        EXPECT_TRUE(JoueDans(avecRecord.path()) == attendu);
        EXPECT_TRUE(JoueDans(sansRecord.path()) == attendu);
    }
    EXPECT_EQ(fuzz::Contenu(f.fileName()), kAncien);
    EXPECT_EQ(Fichiers(avecRecord.path()), QStringList{"Tir.ini"});
    EXPECT_EQ(Fichiers(sansRecord.path()), QStringList{});
    EXPECT_TRUE(QFile::exists(libre.filePath("Tir.ini")));
    for (QTemporaryDir* d : {&avecRecord, &sansRecord}) {
        QFile::setPermissions(
            d->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

TEST(Dossier, WithoutAProgramFolderNothingIsReadOrWrittenAtTheRootAndTheGameIsSilent) {
    // Guards against an empty program folder (a path too long for the system) turning into the
    // root: the record written to "/Tir.ini", the sounds looked for in "/".
    ASSERT_FALSE(QFile::exists("/Tir.ini")) << "a record already lies at the root";
    DossierFixe dossier;
    BancDeTir t({.dossier = &dossier});
    t.Montre();
    const Bilan b = JoueDixTouches(t, "Pilote");
    EXPECT_EQ(b.coups, kCoupsParPartie);
    EXPECT_FALSE(QFile::exists("/Tir.ini"));
    EXPECT_EQ(t.lecteur.joues, QStringList{});
    // Neither the root nor a path taken from wherever the program was started.
    for (const char* fichier : {"/Tir.ini", "Tir.ini", "", "//Tir.ini"}) {
        EXPECT_FALSE(EcritProfil("Tir_au_Murax", "ScoreMaxi", " 5", fichier)) << fichier;
    }
    EXPECT_FALSE(QFile::exists("/Tir.ini"));
    EXPECT_FALSE(QFile::exists("Tir.ini"));
}

}  // namespace
}  // namespace tir::test
