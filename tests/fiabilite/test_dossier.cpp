// The program's folder as players have it: a path with spaces and accents, and a folder the
// player may not write to. The game runs the same; the record is kept where it can be.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "Identite.h"
#include "Partie.h"
#include "ProfilInvariants.h"
#include "platform/Record.h"

namespace tir::test {
namespace {

constexpr auto kLecture = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr auto kParcours = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
const QByteArray kAncien = "[Tir_au_Murax]\r\nScoreMaxi= 5\r\nNomJoueur=Ancien\r\n";

struct DossierFixe : Dossier {
    QByteArray chemin;
    QByteArray Chemin() override { return chemin; }
};

Bilan JoueDans(const QByteArray& chemin) {
    DossierFixe dossier;
    dossier.chemin = chemin;
    BancDeTir t({.dossier = &dossier});
    t.Montre();
    return JoueDixTouches(t, "Pilote");
}
Bilan JoueDans(const QString& chemin) {
    return JoueDans(QFile::encodeName(chemin));
}

QStringList Fichiers(const QString& dossier) {
    return QDir(dossier).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
}

TEST(Dossier, AFolderWithSpacesAccentsOrANameThatIsNotUtf8KeepsTheRecordAndGivesItBack) {
    // Guards against a path cut at a space, or an accent or a Latin-1 byte mangled on its way to
    // the system, which would lose the record or write it somewhere else.
    QTemporaryDir racine;
    for (const QByteArray& nom :
         {QByteArray("/Mes jeux/Tir au Murax — été ü"), QByteArray("/jeux-\xe9t\xe9")}) {
        const QByteArray chemin = QFile::encodeName(racine.path()) + nom;
        ASSERT_EQ(std::system(("mkdir -p '" + chemin + "'").constData()), 0);
        const Bilan b = JoueDans(chemin);
        ASSERT_EQ(b.coups, kCoupsParPartie);
        QFile f;
        const int fd = open((chemin + "/Tir.ini").constData(), O_RDONLY);
        ASSERT_TRUE(f.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) << chemin.data();
        const QByteArray contenu = f.readAll();
        EXPECT_TRUE(contenu.startsWith("[Tir_au_Murax]\r\nScoreMaxi= ")) << contenu.data();
        EXPECT_TRUE(contenu.endsWith("\r\nNomJoueur=Pilote\r\n")) << contenu.data();
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
        EXPECT_FALSE(EcritRecord(fichier, {" 5", "Pilote"}, {})) << fichier;
    }
    EXPECT_FALSE(QFile::exists("/Tir.ini"));
    EXPECT_FALSE(QFile::exists("Tir.ini"));
}

}  // namespace
}  // namespace tir::test
