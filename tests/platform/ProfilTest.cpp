// The record file: round trips, the lines it must keep, and every kind of bad file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <random>

#include "Identite.h"
#include "platform/Profil.h"

namespace tir {
namespace {

constexpr int kTampon = 255;
const QByteArray kSection("Tir_au_Murax");

class Profil : public ::testing::Test {
  protected:
    QTemporaryDir dossier;
    QString fichier = dossier.filePath("Tir.ini");

    void Ecrit(const QByteArray& octets) {
        QFile f(fichier);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(octets);
    }
    QByteArray Contenu() const {
        QFile f(fichier);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    QByteArray Lit(const QByteArray& cle, const QByteArray& section = kSection) const {
        return LitProfil(section, cle, "<none>", kTampon, fichier);
    }
    QStringList Fichiers() const {
        return QDir(dossier.path())
            .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
    }
};

TEST_F(Profil, CreatesTheFileWithCrLfLinesAndReadsTheRecordBack) {
    // Guards against a wrong format of the record file, or a record that does not come back.
    EXPECT_EQ(Lit("ScoreMaxi"), "<none>");
    ASSERT_TRUE(EcritProfil(kSection, "ScoreMaxi", " 150", fichier));
    ASSERT_TRUE(EcritProfil(kSection, "NomJoueur", "Pilote", fichier));
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\nScoreMaxi= 150\r\nNomJoueur=Pilote\r\n");
    EXPECT_EQ(Lit("ScoreMaxi"), "150");
    EXPECT_EQ(Lit("NomJoueur"), "Pilote");
    ASSERT_TRUE(EcritProfil(kSection, "ScoreMaxi", "-12", fichier));
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\nScoreMaxi=-12\r\nNomJoueur=Pilote\r\n");
    EXPECT_EQ(Fichiers(), QStringList{"Tir.ini"});  // no temporary file left behind
}

TEST_F(Profil, MatchesNamesWithoutRegardToCaseAndTrimsBlanksAroundValues) {
    // Guards against a file edited by hand being ignored for its spelling or spacing.
    Ecrit("[tir_AU_murax]\r\n  scoremaxi \t=  \t 99 points \t\r\nnomjoueur=\r\n");
    EXPECT_EQ(Lit("ScoreMaxi"), "99 points");
    EXPECT_EQ(Lit("NomJoueur"), "");
    EXPECT_EQ(Lit("Autre"), "<none>");
    EXPECT_EQ(Lit("ScoreMaxi", "Autre_section"), "<none>");
}

TEST_F(Profil, CutsAValueToOneByteLessThanTheBuffer) {
    // Guards against reading past the game's 255-byte buffer.
    Ecrit("[Tir_au_Murax]\r\nNomJoueur=" + QByteArray(100000, 'x') + "\r\nScoreMaxi=5\r\n");
    EXPECT_EQ(Lit("NomJoueur"), QByteArray(254, 'x'));
    EXPECT_EQ(LitProfil(kSection, "NomJoueur", "", 4, fichier), "xxx");
    EXPECT_EQ(LitProfil(kSection, "Absent", "defaut", 4, fichier), "def");
    EXPECT_EQ(LitProfil(kSection, "NomJoueur", "", 0, fichier), "");
    EXPECT_EQ(Lit("ScoreMaxi"), "5");
    // Never half a character: a two- or four-byte letter the cut would split goes whole; bytes
    // that are not UTF-8 are cut where they stand.
    const QByteArray e("\xC3\xA9"), cible("\xF0\x9F\x8E\xAF"), latin1(300, '\xE9');
    for (const auto& [nom, attendu] : {std::pair{e.repeated(200), e.repeated(127)},
                                       {"x" + e.repeated(200), "x" + e.repeated(126)},
                                       {"x" + cible.repeated(70), "x" + cible.repeated(63)},
                                       {"xxx" + cible.repeated(70), "xxx" + cible.repeated(62)},
                                       {latin1, latin1.left(254)}}) {
        Ecrit("[Tir_au_Murax]\r\nNomJoueur=" + nom + "\r\n");
        EXPECT_EQ(Lit("NomJoueur"), attendu) << nom.size();
    }
}

TEST_F(Profil, KeepsALongLineByteForByteWhenWritingAnotherKey) {
    // Guards against a write that cuts or rewraps lines it has no business with.
    const QByteArray longue = "Commentaire=" + QByteArray(100000, 'y') + "\n";
    Ecrit("[Tir_au_Murax]\r\n" + longue + "ScoreMaxi= 1\r\n");
    ASSERT_TRUE(EcritProfil(kSection, "ScoreMaxi", " 2", fichier));
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\n" + longue + "ScoreMaxi= 2\r\n");
}

TEST_F(Profil, ReplacesOnlyTheKeysLineAndKeepsEveryOtherLineWithItsLineEnd) {
    // Guards against a write that rewrites other sections, comments or line ends.
    Ecrit(
        "; scores\n[Autre]\nScoreMaxi=7\n\n[TIR_AU_MURAX]\r\nNomJoueur=Bob\nScoreMaxi= 40\r\n"
        "Divers = a\n\n[Fin]\r\nx=1");
    ASSERT_TRUE(EcritProfil(kSection, "scoremaxi", " 90", fichier));
    EXPECT_EQ(Contenu(),
              "; scores\n[Autre]\nScoreMaxi=7\n\n[TIR_AU_MURAX]\r\nNomJoueur=Bob\nscoremaxi= 90\r\n"
              "Divers = a\n\n[Fin]\r\nx=1");
    EXPECT_EQ(Lit("ScoreMaxi"), "90");
    EXPECT_EQ(Lit("ScoreMaxi", "Autre"), "7");
}

TEST_F(Profil, AddsAMissingKeyAtTheEndOfItsSectionBeforeTheBlankLines) {
    // Guards against a new key landing in the next section, where it would never be read.
    Ecrit("[Tir_au_Murax]\r\nScoreMaxi= 40\r\n\r\n[Autre]\r\nNomJoueur=Zoe\r\n");
    ASSERT_TRUE(EcritProfil(kSection, "NomJoueur", "Bob", fichier));
    EXPECT_EQ(
        Contenu(),
        "[Tir_au_Murax]\r\nScoreMaxi= 40\r\nNomJoueur=Bob\r\n\r\n[Autre]\r\nNomJoueur=Zoe\r\n");
    EXPECT_EQ(Lit("NomJoueur"), "Bob");
    EXPECT_EQ(Lit("NomJoueur", "Autre"), "Zoe");
}

TEST_F(Profil, EndsALastLineWithoutLineEndBeforeAddingAfterIt) {
    // Guards against the new entry being glued to the end of the last line.
    Ecrit("[Tir_au_Murax]\nScoreMaxi= 40");
    EXPECT_EQ(Lit("ScoreMaxi"), "40");
    ASSERT_TRUE(EcritProfil(kSection, "NomJoueur", "Bob", fichier));
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\nScoreMaxi= 40\r\nNomJoueur=Bob\r\n");
    Ecrit("[Autre]\r\na=1");
    ASSERT_TRUE(EcritProfil(kSection, "NomJoueur", "Bob", fichier));
    EXPECT_EQ(Contenu(), "[Autre]\r\na=1\r\n[Tir_au_Murax]\r\nNomJoueur=Bob\r\n");
}

TEST_F(Profil, ReadsLfOnlyAndMixedLineEnds) {
    // Guards against a stray carriage return ending up in a value or a header.
    Ecrit("[Autre]\na=1\r\n[Tir_au_Murax]\nNomJoueur=Ann\r\nScoreMaxi= 60\n");
    EXPECT_EQ(Lit("NomJoueur"), "Ann");
    EXPECT_EQ(Lit("ScoreMaxi"), "60");
    ASSERT_TRUE(EcritProfil(kSection, "NomJoueur", "Eve", fichier));
    EXPECT_EQ(Contenu(), "[Autre]\na=1\r\n[Tir_au_Murax]\nNomJoueur=Eve\r\nScoreMaxi= 60\n");
}

TEST_F(Profil, IgnoresAByteOrderMarkForMatchingAndKeepsItOnWrite) {
    // Guards against a file saved by a text editor losing its first section.
    Ecrit("\xEF\xBB\xBF[Tir_au_Murax]\r\nScoreMaxi= 70\r\n");
    EXPECT_EQ(Lit("ScoreMaxi"), "70");
    ASSERT_TRUE(EcritProfil(kSection, "ScoreMaxi", " 80", fichier));
    EXPECT_EQ(Contenu(), "\xEF\xBB\xBF[Tir_au_Murax]\r\nScoreMaxi= 80\r\n");
}

TEST_F(Profil, TakesTheFirstOfDuplicateSectionsAndKeys) {
    // Guards against reading one copy and writing another, so a record never sticks.
    Ecrit(
        "[Tir_au_Murax]\r\nScoreMaxi= 1\r\nscoremaxi= 2\r\n[tir_au_murax]\r\nScoreMaxi= 3\r\n"
        "NomJoueur=Deux\r\n");
    EXPECT_EQ(Lit("ScoreMaxi"), "1");
    EXPECT_EQ(Lit("NomJoueur"), "<none>");
    ASSERT_TRUE(EcritProfil(kSection, "ScoreMaxi", " 9", fichier));
    ASSERT_TRUE(EcritProfil(kSection, "NomJoueur", "Un", fichier));
    EXPECT_EQ(Contenu(),
              "[Tir_au_Murax]\r\nScoreMaxi= 9\r\nscoremaxi= 2\r\nNomJoueur=Un\r\n[tir_au_murax]\r\n"
              "ScoreMaxi= 3\r\nNomJoueur=Deux\r\n");
    EXPECT_EQ(Lit("NomJoueur"), "Un");
}

TEST_F(Profil, KeepsATypedNameOnItsOneLineAndRefusesNamesThatCannotBeReadBack) {
    // Guards against a name typed with line breaks forging a record or a section of its own.
    ASSERT_TRUE(EcritProfil(kSection, "NomJoueur", "Bob\r\nScoreMaxi= 32767\n[X]", fichier));
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\nNomJoueur=Bob  ScoreMaxi= 32767 [X]\r\n");
    EXPECT_EQ(Lit("ScoreMaxi"), "<none>");
    for (const auto& [section, cle] : {std::pair<QByteArray, QByteArray>{"A]B", "k"},
                                       {"A\nB", "k"},
                                       {"", "k"},
                                       {kSection, "a=b"},
                                       {kSection, "a\r\nb"},
                                       {kSection, " "},
                                       {kSection, ";k"}}) {
        EXPECT_FALSE(EcritProfil(section, cle, "v", fichier))
            << section.constData() << cle.constData();
    }
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\nNomJoueur=Bob  ScoreMaxi= 32767 [X]\r\n");
}

TEST_F(Profil, ReadsTheDefaultFromAnEmptyFileAndWritesIntoIt) {
    // Guards against an empty file being taken as a broken one and never written.
    Ecrit("");
    EXPECT_EQ(Lit("ScoreMaxi"), "<none>");
    ASSERT_TRUE(EcritProfil(kSection, "ScoreMaxi", " 5", fichier));
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\nScoreMaxi= 5\r\n");
}

TEST_F(Profil, SurvivesBinaryGarbageAndKeepsItWhenAddingTheSection) {
    // Guards against a crash or a lost file when the record file holds random bytes.
    std::mt19937 g(42);
    QByteArray bruit;
    for (int i = 0; i < 5000; ++i) bruit += static_cast<char>(g() % 256);
    bruit.replace("[", "(");  // no bracket, so no section of the game can appear by chance
    Ecrit(bruit);
    EXPECT_EQ(Lit("ScoreMaxi"), "<none>");
    ASSERT_TRUE(EcritProfil(kSection, "ScoreMaxi", " 5", fichier));
    const QByteArray apres = Contenu();
    EXPECT_TRUE(apres.startsWith(bruit));
    EXPECT_TRUE(apres.endsWith("[Tir_au_Murax]\r\nScoreMaxi= 5\r\n"));
    EXPECT_LE(apres.size() - bruit.size(),
              QByteArray("\r\n[Tir_au_Murax]\r\nScoreMaxi= 5\r\n").size());
    EXPECT_EQ(Lit("ScoreMaxi"), "5");
}

TEST_F(Profil, TreatsAFolderInPlaceOfTheFileAsMissingAndFailsToWrite) {
    // Guards against a write that deletes or replaces a folder of the same name.
    ASSERT_TRUE(QDir(dossier.path()).mkdir("Tir.ini"));
    ASSERT_TRUE(QFile::copy(__FILE__, fichier + "/dedans.txt"));
    EXPECT_EQ(Lit("ScoreMaxi"), "<none>");
    EXPECT_FALSE(EcritProfil(kSection, "ScoreMaxi", " 5", fichier));
    EXPECT_TRUE(QFileInfo(fichier).isDir());
    EXPECT_TRUE(QFileInfo::exists(fichier + "/dedans.txt"));
    EXPECT_EQ(Fichiers(), QStringList{"Tir.ini"});
}

TEST_F(Profil, FailsCleanlyInAFolderThatDoesNotExist) {
    // Guards against a write that reports success when the record could not be kept.
    const QString ailleurs = dossier.filePath("absent/Tir.ini");
    EXPECT_FALSE(EcritProfil(kSection, "ScoreMaxi", " 5", ailleurs));
    EXPECT_EQ(LitProfil(kSection, "ScoreMaxi", "", kTampon, ailleurs), "");
    EXPECT_FALSE(QFileInfo::exists(ailleurs));
}

using test::CommeUtilisateurOrdinaire;

constexpr auto kTous = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                       QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                       QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
constexpr auto kLecture = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr auto kParcours = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

TEST_F(Profil, LeavesAReadOnlyFileUntouched) {
    // Guards against a write that renames over a file the player protected.
    Ecrit("[Tir_au_Murax]\r\nScoreMaxi= 40\r\n");
    ASSERT_TRUE(QFile::setPermissions(dossier.path(), kTous));
    ASSERT_TRUE(QFile::setPermissions(fichier, kLecture));
    {
        CommeUtilisateurOrdinaire ordinaire;
        if (!ordinaire.Pret()) GTEST_SKIP() << "cannot take an ordinary user's identity";
        EXPECT_EQ(Lit("ScoreMaxi"), "40");
        EXPECT_FALSE(EcritProfil(kSection, "ScoreMaxi", " 90", fichier));
    }
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\nScoreMaxi= 40\r\n");
    EXPECT_EQ(QFile::permissions(fichier) & kTous, kLecture);
    EXPECT_EQ(Fichiers(), QStringList{"Tir.ini"});
}

TEST_F(Profil, WritesAWritableFileInPlaceInAReadOnlyFolderButCreatesNoFileThere) {
    // Guards against a shared record (a writable file in a folder the players may not write to)
    // never being updated, or a new file or a temporary one appearing in such a folder.
    Ecrit("[Tir_au_Murax]\r\nScoreMaxi= 40\r\n" + QByteArray(200000, '\n') + "[Fin]\r\nx=1");
    ASSERT_TRUE(QFile::setPermissions(fichier, kTous));
    ASSERT_TRUE(QFile::setPermissions(dossier.path(), kLecture | kParcours));
    {
        CommeUtilisateurOrdinaire ordinaire;
        if (!ordinaire.Pret()) GTEST_SKIP() << "cannot take an ordinary user's identity";
        EXPECT_EQ(Lit("ScoreMaxi"), "40");
        // Longer, then shorter: the rest of the file moves both ways.
        for (const QByteArray& valeur : {QByteArray(" 90000"), QByteArray("7")}) {
            EXPECT_TRUE(EcritProfil(kSection, "ScoreMaxi", valeur, fichier));
            EXPECT_TRUE(EcritProfil(kSection, "NomJoueur", "Eve" + valeur, fichier));
            EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\nScoreMaxi=" + valeur + "\r\nNomJoueur=Eve" +
                                     valeur + "\r\n" + QByteArray(200000, '\n') + "[Fin]\r\nx=1");
        }
        EXPECT_FALSE(EcritProfil(kSection, "ScoreMaxi", " 90", dossier.filePath("Neuf.ini")));
    }
    QFile::setPermissions(dossier.path(), kTous);
    EXPECT_EQ(Fichiers(), QStringList{"Tir.ini"});
}

TEST_F(Profil, ReadsAndWritesThroughAFolderThatCannotBeListedUnderALockAllTheSame) {
    // Guards against the folder's lock (which needs the folder opened for reading) costing the
    // record, or being skipped so that two copies write at once, where the player may pass
    // through the folder but not list it.
    Ecrit("[Tir_au_Murax]\r\nScoreMaxi= 40\r\n");
    ASSERT_TRUE(QFile::setPermissions(fichier, kTous));
    const auto ecriture =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    const auto proprietaire = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const struct {
        QFileDevice::Permissions passage;
        bool parLeProprietaire;  // the other copy is played by the folder's owner, who may list it
    } cas[] = {{kLecture | ecriture, false},
               {ecriture, false},
               {proprietaire, false},
               {proprietaire, true}};
    for (const auto& [passage, parLeProprietaire] : cas) {
        ASSERT_TRUE(QFile::setPermissions(dossier.path(), passage | kParcours));
        std::optional<ProfilVerrouille> autreCopie;
        if (parLeProprietaire) autreCopie.emplace(fichier);
        CommeUtilisateurOrdinaire ordinaire;
        if (!ordinaire.Pret()) GTEST_SKIP() << "cannot take an ordinary user's identity";
        EXPECT_EQ(Lit("ScoreMaxi"), "40");
        // Another copy holds the lock: this one gives up rather than write beside it.
        if (!parLeProprietaire) autreCopie.emplace(fichier);
        EXPECT_TRUE(autreCopie->Pris());
        EXPECT_FALSE(EcritProfil(kSection, "ScoreMaxi", " 90", fichier)) << passage.toInt();
        autreCopie.reset();
        EXPECT_TRUE(EcritProfil(kSection, "ScoreMaxi", " 40", fichier)) << passage.toInt();
    }
    QFile::setPermissions(dossier.path(), kTous);
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\nScoreMaxi= 40\r\n");
}

}  // namespace
}  // namespace tir
