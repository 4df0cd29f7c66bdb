// The record file: its editor on bytes (every kind of hand-made file, every encoding), and the
// store on disk (paths, permissions, the lock, the narrow write in place).
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>
#include <random>

#include "Identite.h"
#include "platform/Profil.h"
#include "platform/Record.h"

namespace tir {
namespace {

const std::string kSection("Tir_au_Murax");
using Entrees = std::vector<EntreeProfil>;

TEST(Profil, ReadsTheFirstSectionAndKeyWhateverTheCaseBlanksLineEndsOrEncoding) {
    // Guards against a file edited by hand, saved by a text editor or made on Windows being read
    // as no record, or with a stray carriage return, or as U+FFFD.
    const std::string u16le(
        "\xFF\xFE[\0T\0i\0r\0_\0a\0u\0_\0M\0u\0r\0a\0x\0]\0\n\0k\0=\0\xE9\0\n\0", 38);
    const std::string u16be(
        "\xFE\xFF\0[\0t\0i\0r\0_\0a\0u\0_\0m\0u\0r\0a\0x\0]\0\n\0k\0=\xD8\x3C\xDF\xAF", 40);
    const struct {
        std::string fichier, cle;
        std::optional<std::string> valeur;
    } cas[] = {
        {"[tir_AU_murax]\r\n  scoremaxi \t=  \t 99 points \t\r\nnomjoueur=\r\n", "ScoreMaxi",
         "99 points"},
        {"[tir_AU_murax]\r\nnomjoueur=\r\n", "NomJoueur", ""},
        {"[Tir_au_Murax]\r\nNomJoueur=Zoe\r\n", "Autre", std::nullopt},
        {"[Autre_section]\r\nScoreMaxi=5\r\n", "ScoreMaxi", std::nullopt},
        {"[Autre]\na=1\r\n[Tir_au_Murax]\nNomJoueur=Ann\r\nScoreMaxi= 60\n", "NomJoueur", "Ann"},
        {"[Tir_au_Murax]\nScoreMaxi= 40", "ScoreMaxi", "40"},
        {"\xEF\xBB\xBF[Tir_au_Murax]\r\nScoreMaxi= 70\r\n", "ScoreMaxi", "70"},
        {"[Tir_au_Murax]\r\nk= 1\r\nk= 2\r\n[tir_au_murax]\r\nj=3\r\n", "k", "1"},
        {"[Tir_au_Murax]\r\nk= 1\r\n[tir_au_murax]\r\nj=3\r\n", "j", std::nullopt},
        {"[Tir_au_Murax]\r\n;k=1\r\n=k\r\nk\r\n", "k", std::nullopt},
        {"", "k", std::nullopt},
        {"[Tir_au_Murax]\r\nk=S\xe9"
         "bastien Zo\xeb \x80\x9c\r\n",
         "k", "Sébastien Zoë €œ"},
        {u16le, "k", "é"},
        {u16be, "k", "🎯"},
        {u16le.substr(0, 37), "k", std::nullopt},  // broken UTF-16: no record
    };
    for (const auto& [fichier, cle, valeur] : cas) {
        EXPECT_EQ(LitValeur(fichier, kSection, cle), valeur) << fichier;
    }
}

TEST(Profil, ReplacesOrAddsOnlyTheKeysLinesAndKeepsEveryOtherByte) {
    // Guards against a write that rewrites other sections, comments or line ends, lands a new key
    // in the next section, glues it to the last line, or lets a typed line break forge a line.
    const std::string longue = "Commentaire=" + std::string(100000, 'y') + "\n";
    const struct {
        std::string avant;
        Entrees entrees;
        std::string apres;
    } cas[] = {
        {"",
         {{"ScoreMaxi", " 150"}, {"NomJoueur", "Pilote"}},
         "[Tir_au_Murax]\r\nScoreMaxi= 150\r\nNomJoueur=Pilote\r\n"},
        {"; scores\n[Autre]\nScoreMaxi=7\n\n[TIR_AU_MURAX]\r\nNomJoueur=Bob\nScoreMaxi= 40\r\n"
         "Divers = a\n\n[Fin]\r\nx=1",
         {{"scoremaxi", " 90"}},
         "; scores\n[Autre]\nScoreMaxi=7\n\n[TIR_AU_MURAX]\r\nNomJoueur=Bob\nscoremaxi= 90\r\n"
         "Divers = a\n\n[Fin]\r\nx=1"},
        {"[Tir_au_Murax]\r\nScoreMaxi= 40\r\n\r\n[Autre]\r\nNomJoueur=Zoe\r\n",
         {{"NomJoueur", "Bob"}},
         "[Tir_au_Murax]\r\nScoreMaxi= 40\r\nNomJoueur=Bob\r\n\r\n[Autre]\r\nNomJoueur=Zoe\r\n"},
        {"[Tir_au_Murax]\nScoreMaxi= 40",
         {{"NomJoueur", "Bob"}},
         "[Tir_au_Murax]\nScoreMaxi= 40\r\nNomJoueur=Bob\r\n"},
        {"[Autre]\r\na=1",
         {{"NomJoueur", "Bob"}},
         "[Autre]\r\na=1\r\n[Tir_au_Murax]\r\nNomJoueur=Bob\r\n"},
        {"\xEF\xBB\xBF[Tir_au_Murax]\r\nScoreMaxi= 70\r\n",
         {{"ScoreMaxi", " 80"}},
         "\xEF\xBB\xBF[Tir_au_Murax]\r\nScoreMaxi= 80\r\n"},
        {"[Tir_au_Murax]\r\nScoreMaxi= 1\r\nscoremaxi= 2\r\n[tir_au_murax]\r\nNomJoueur=Deux\r\n",
         {{"ScoreMaxi", " 9"}, {"NomJoueur", "Un"}},
         "[Tir_au_Murax]\r\nScoreMaxi= 9\r\nscoremaxi= 2\r\nNomJoueur=Un\r\n[tir_au_murax]\r\n"
         "NomJoueur=Deux\r\n"},
        {"",
         {{"NomJoueur", "Bob\r\nScoreMaxi= 32767\n[X]"}},
         "[Tir_au_Murax]\r\nNomJoueur=Bob  ScoreMaxi= 32767 [X]\r\n"},
        {"[Tir_au_Murax]\r\n" + longue + "ScoreMaxi= 1\r\n",
         {{"ScoreMaxi", " 2"}},
         "[Tir_au_Murax]\r\n" + longue + "ScoreMaxi= 2\r\n"},
        {std::string("\xFF\xFEk\0=\0\xE9\0\r\0\n\0", 12),
         {{"ScoreMaxi", " 2"}},
         "\xEF\xBB\xBFk=é\r\n[Tir_au_Murax]\r\nScoreMaxi= 2\r\n"},
    };
    for (const auto& [avant, entrees, apres] : cas) {
        EXPECT_EQ(Edite(avant, kSection, entrees), apres) << avant.substr(0, 80);
    }
    // Names that would not read back as themselves are refused.
    for (const auto& [section, cle] : {std::pair<std::string, std::string>{"A]B", "k"},
                                       {"A\nB", "k"},
                                       {"", "k"},
                                       {kSection, "a=b"},
                                       {kSection, "a\r\nb"},
                                       {kSection, " "},
                                       {kSection, ";k"},
                                       {kSection, "[k"}}) {
        EXPECT_EQ(Edite("", section, {{cle, "v"}}), std::nullopt) << section << cle;
    }
}

TEST(Profil, SurvivesBinaryGarbageAndKeepsItWhenAddingTheSection) {
    // Guards against a crash or a lost file when the record file holds random bytes.
    std::mt19937 g(42);
    std::string bruit;
    for (int i = 0; i < 5000; ++i) bruit += static_cast<char>(g() % 256);
    std::replace(bruit.begin(), bruit.end(), '[', '(');  // no section of the game by chance
    std::replace(bruit.begin(), bruit.begin() + 2, '\xFF', '.');  // nor a UTF-16 mark
    EXPECT_EQ(LitValeur(bruit, kSection, "ScoreMaxi"), std::nullopt);
    const auto apres = Edite(bruit, kSection, {{"ScoreMaxi", " 5"}});
    ASSERT_TRUE(apres.has_value());
    EXPECT_TRUE(apres->starts_with(bruit));
    EXPECT_TRUE(apres->ends_with("\r\n[Tir_au_Murax]\r\nScoreMaxi= 5\r\n"));
    EXPECT_LE(apres->size() - bruit.size(),
              std::string("\r\n[Tir_au_Murax]\r\nScoreMaxi= 5\r\n").size());
}

TEST(Profil, AChangeInPlaceStaysWithinTheOldRecordLinesOrIsRefused) {
    // Guards against a write in place that moves the bytes after the record (a kill in between
    // mixed the old record and the new one and broke the next section).
    const std::string avant =
        "[Tir_au_Murax]\r\nScoreMaxi= 100\r\nNomJoueur=Ancien\r\n[Autre]\r\nx=1";
    const struct {
        std::string avant, score, nom;
        std::optional<std::string> apres;
    } cas[] = {
        {avant, " 200", "Bo",
         "[Tir_au_Murax]\r\nScoreMaxi= 200\r\nNomJoueur=Bo    \r\n[Autre]\r\nx=1"},
        {avant, " 200", "Ancien",
         "[Tir_au_Murax]\r\nScoreMaxi= 200\r\nNomJoueur=Ancien\r\n[Autre]\r\nx=1"},
        {avant, " 2000", "Bo", std::nullopt},
        {avant, " 200", "Bernadette", std::nullopt},
        {"[Tir_au_Murax]\nScoreMaxi=1  \nNomJoueur=Ancien", " 20", "Bo\r\nX",
         "[Tir_au_Murax]\nScoreMaxi= 20\nNomJoueur=Bo  X "},
        {"[Tir_au_Murax]\r\nScoreMaxi= 100\r\n", " 200", "Bo", std::nullopt},
        {std::string("\xFF\xFE", 2) + "[", " 200", "Bo", std::nullopt},
    };
    for (const auto& [vieux, score, nom, apres] : cas) {
        EXPECT_EQ(EditeSurPlace(vieux, kSection, {{"ScoreMaxi", score}, {"NomJoueur", nom}}), apres)
            << nom;
    }
}

TEST(Profil, ANameKeepsNoControlNorFormatCharacterAndIsCutBetweenCharacters) {
    // Guards against a name that turns the record dialog's text around (U+202E) or hides letters,
    // and against a name read back ending in half a letter.
    const struct {
        std::string nom, propre;
    } noms[] = {
        {"Pilote\u202E5- ed", "Pilote5- ed"},
        {"a\u200Bb\u200Dc\u2066d\u2069e\uFEFF\u061C\u00AD", "abcde"},
        {"Jean\r\n[X]\tÉric\x7f\u2028\u0085", "Jean  [X] Éric   "},
        {"S\xe9"
         "bastien",
         "Sébastien"},
        {"李小龍 Ωμέγα Ж 🎯", "李小龍 Ωμέγα Ж 🎯"},
    };
    for (const auto& [nom, propre] : noms) EXPECT_EQ(NomPropre(nom), propre) << nom;
    const std::string e("\xC3\xA9"), cible("\xF0\x9F\x8E\xAF");
    const auto fois = [](const std::string& s, int n) {
        std::string r;
        for (int i = 0; i < n; ++i) r += s;
        return r;
    };
    for (const auto& [texte, coupe] : {std::pair{fois(e, 200), fois(e, 127)},
                                       {"x" + fois(e, 200), "x" + fois(e, 126)},
                                       {"x" + fois(cible, 70), "x" + fois(cible, 63)},
                                       {"xxx" + fois(cible, 70), "xxx" + fois(cible, 62)},
                                       {std::string(300, 'x'), std::string(254, 'x')}}) {
        EXPECT_EQ(CoupeUtf8(texte, 254), coupe) << texte.size();
    }
}

class Stockage : public ::testing::Test {
  protected:
    QTemporaryDir dossier;
    QString fichier = dossier.filePath("Tir.ini");
    std::string chemin = QFile::encodeName(fichier).toStdString();

    void Pose(const QByteArray& octets) {
        QFile f(fichier);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size());
    }
    QByteArray Contenu() const {
        QFile f(fichier);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    bool Ecrit(const std::string& score, const std::string& nom, const std::string& ou = {}) {
        return EcritRecord(ou.empty() ? chemin : ou, {score, nom}, {});
    }
    QStringList Fichiers() const {
        return QDir(dossier.path())
            .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
    }
};

TEST_F(Stockage, WritesTheRecordReadsItBackAndWritesOnlyWhatTheGuardAllows) {
    // Guards against a wrong format, a record that does not come back, a temporary file left, or
    // a record written over a better one kept meanwhile by another copy.
    EXPECT_EQ(LitRecord(chemin).score, "");
    ASSERT_TRUE(Ecrit(" 150", "Pilote\u202E"));
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\nScoreMaxi= 150\r\nNomJoueur=Pilote\r\n");
    const Record lu = LitRecord(chemin);
    EXPECT_EQ(lu.score, "150");
    EXPECT_EQ(lu.nom, "Pilote");
    std::string vu;
    EXPECT_FALSE(EcritRecord(chemin, {" 90", "X"}, [&](const Record& r) {
        vu = r.score + r.nom;
        return false;
    }));
    EXPECT_EQ(vu, "150Pilote");
    EXPECT_EQ(Contenu(), "[Tir_au_Murax]\r\nScoreMaxi= 150\r\nNomJoueur=Pilote\r\n");
    EXPECT_EQ(Fichiers(), QStringList{"Tir.ini"});
}

TEST_F(Stockage, NeverWritesAFolderAMissingFolderTheRootOrARelativePath) {
    // Guards against a write that replaces a folder of the file's name, reports success without a
    // record, or lands at the root or wherever the program was started.
    ASSERT_TRUE(QDir(dossier.path()).mkdir("Tir.ini"));
    EXPECT_FALSE(Ecrit(" 5", "a"));
    EXPECT_TRUE(QFileInfo(fichier).isDir());
    ASSERT_FALSE(QFile::exists("/Tir.ini")) << "a record already lies at the root";
    for (const std::string& ou : {chemin + "/../absent/Tir.ini", std::string("/Tir.ini"),
                                  std::string("//Tir.ini"), std::string("Tir.ini"), chemin + "/"}) {
        EXPECT_FALSE(Ecrit(" 5", "a", ou)) << ou;
        EXPECT_EQ(LitRecord(ou).score, "") << ou;
    }
    EXPECT_FALSE(QFile::exists("/Tir.ini"));
    EXPECT_FALSE(QFile::exists("Tir.ini"));
}

using test::CommeUtilisateurOrdinaire;
constexpr auto kLecture = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr auto kEcriture =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
constexpr auto kParcours = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

TEST_F(Stockage, InAFolderThePlayerMayNotWriteToOnlyAWritableFileIsWrittenAndOnlyInItsLines) {
    // Guards against a protected file replaced, a new or temporary file appearing in a folder the
    // players may not write to, a shared record never updated, or one written by moving bytes.
    const QByteArray avant = "[Tir_au_Murax]\r\nScoreMaxi= 40\r\nNomJoueur=Ancien\r\n[Fin]\r\nx=1";
    const struct {
        QFileDevice::Permissions fichier;
        std::string nom;
        bool ecrit;
    } cas[] = {{kLecture, "Eve", false},
               {kLecture | kEcriture, "Eve", true},
               {kLecture | kEcriture, "Bernadette", false}};
    for (const auto& [permissions, nom, ecrit] : cas) {
        Pose(avant);
        ASSERT_TRUE(QFile::setPermissions(fichier, permissions));
        ASSERT_TRUE(QFile::setPermissions(dossier.path(), kLecture | kParcours));
        {
            CommeUtilisateurOrdinaire ordinaire;
            if (!ordinaire.Pret()) GTEST_SKIP() << "cannot take an ordinary user's identity";
            EXPECT_EQ(LitRecord(chemin).nom, "Ancien");
            EXPECT_EQ(Ecrit(" 90", nom), ecrit) << nom;
            EXPECT_FALSE(
                Ecrit(" 90", nom, QFile::encodeName(dossier.filePath("Neuf.ini")).toStdString()));
        }
        QFile::setPermissions(dossier.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        EXPECT_EQ(
            Contenu(),
            ecrit ? "[Tir_au_Murax]\r\nScoreMaxi= 90\r\nNomJoueur=Eve   \r\n[Fin]\r\nx=1" : avant);
        EXPECT_EQ(Fichiers(), QStringList{"Tir.ini"});
    }
}

TEST_F(Stockage, ACopyThatHoldsTheLockKeepsTheOthersOutEvenThroughAFolderThatCannotBeListed) {
    // Guards against the folder's lock (which needs the folder opened for reading) costing the
    // record, or being skipped so that two copies write at once, where the player may pass
    // through the folder but not list it.
    // Listed by all, passed through only, listed by the folder's owner only.
    for (const auto droits :
         {kLecture | kEcriture, kEcriture, QFileDevice::ReadOwner | QFileDevice::WriteOwner}) {
        Pose("[Tir_au_Murax]\r\nScoreMaxi= 40\r\nNomJoueur=Ancien\r\n");
        ASSERT_TRUE(QFile::setPermissions(fichier, kLecture | kEcriture));
        ASSERT_TRUE(QFile::setPermissions(dossier.path(), droits | kParcours));
        CommeUtilisateurOrdinaire ordinaire;
        if (!ordinaire.Pret()) GTEST_SKIP() << "cannot take an ordinary user's identity";
        EXPECT_EQ(LitRecord(chemin).nom, "Ancien");
        // While this copy holds the lock, another one gives up rather than write beside it.
        std::optional<bool> autre;
        EXPECT_TRUE(EcritRecord(chemin, {" 50", "Un"}, [&](const Record&) {
            autre = Ecrit(" 90", "Deux");
            return true;
        })) << droits.toInt();
        EXPECT_EQ(autre, false);
        EXPECT_EQ(LitRecord(chemin).nom, "Un");
    }
    QFile::setPermissions(dossier.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace
}  // namespace tir
