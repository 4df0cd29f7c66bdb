// The record file under attack: the fuzz corpus replayed, a write cut at every byte, names that
// try to break the file's lines, a second copy of the game, and odd files in the folder.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <array>
#include <csignal>
#include <cstring>
#include <functional>
#include <iostream>
#include <optional>

#include "BancDeTir.h"
#include "Identite.h"
#include "ProfilInvariants.h"
#include "platform/Record.h"

namespace tir::test {
namespace {

constexpr int kTampon = 255;
// Too few files would mean the corpus was lost, not that it passed.
constexpr int kCorpusMini = 20;

QStringList Fichiers(const QString& dossier) {
    // System: a dangling link too.
    QStringList l = QDir(dossier).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden |
                                            QDir::System);
    l.sort();
    return l;
}

TEST(FichierRecord, EveryInputOfTheFuzzCorpusKeepsTheFilesPromises) {
    // Guards against a write that loses or changes a line it has no business with, or a key that
    // does not read back, on any input the fuzzer ever kept.
    const QDir corpus(QStringLiteral(TIR_SOURCE_DIR) + "/fuzz/corpus");
    const QStringList entrees = corpus.entryList(QDir::Files);
    ASSERT_GE(entrees.size(), kCorpusMini);
    for (const QString& nom : entrees) {
        QFile f(corpus.filePath(nom));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << nom.toStdString();
        EXPECT_EQ(fuzz::Essaie(fuzz::Decode(f.readAll())), QByteArray()) << nom.toStdString();
    }
}

TEST(FichierRecord, TheInvariantCheckCatchesALostLineABrokenEndAndAWrongValue) {
    // Guards against a checker too lax to catch anything, which would make the corpus useless.
    fuzz::Cas cas;
    cas.ancien = "[Autre]\r\na=1\r\n[Tir_au_Murax]\r\nScoreMaxi= 1\r\nx=\r";
    EXPECT_EQ(
        fuzz::VerifieEcriture(cas, "[Autre]\r\na=1\r\n[Tir_au_Murax]\r\nScoreMaxi= 150\r\nx=\r"),
        QByteArray());
    for (const std::string faux :
         {"[Tir_au_Murax]\r\nScoreMaxi= 150\r\nx=\r",
          "[Autre]\r\na=1\r\n[Tir_au_Murax]\r\nScoreMaxi= 150\r\nx=\r\n",
          "[Autre]\r\na=1\n[Tir_au_Murax]\r\nScoreMaxi= 150\r\nx=\r",
          "[Autre]\r\na=1\r\nScoreMaxi= 150\r\n[Tir_au_Murax]\r\nScoreMaxi= 1\r\nx=\r",
          "[Autre]\r\na=1\r\n[Tir_au_Murax]\r\nScoreMaxi= 151\r\nx=\r"}) {
        EXPECT_NE(fuzz::VerifieEcriture(cas, faux), QByteArray()) << faux;
    }
    EXPECT_NE(fuzz::VerifieEcriture(cas, std::nullopt), QByteArray());
    EXPECT_NE(
        fuzz::VerifieSurPlace(cas, "[Autre]\r\na=2\r\n[Tir_au_Murax]\r\nScoreMaxi=150\r\nx=\r"),
        QByteArray());
}

// How a write is stopped at a byte: the disk is full (the write fails and the game goes on) or
// the process is killed there.
enum class Panne { DisquePlein, ProcessusTue };

// Writes the record in a child process that may not write more than `octets` bytes to any file.
// Returns the child's status: exit 0 when the write reported failure, 1 when it reported success.
int EcritAvecLimite(const QString& fichier, qsizetype octets, Panne panne) {
    const pid_t enfant = fork();
    if (enfant == 0) {
        const rlimit taille{static_cast<rlim_t>(octets), static_cast<rlim_t>(octets)};
        const rlimit pasDeCore{0, 0};
        setrlimit(RLIMIT_CORE, &pasDeCore);
        setrlimit(RLIMIT_FSIZE, &taille);
        std::signal(SIGXFSZ, panne == Panne::DisquePlein ? SIG_IGN : SIG_DFL);
        const bool ok = EcritRecord(fichier.toStdString(), {" 120", "Bernadette"}, {});
        _exit(ok ? 1 : 0);
    }
    int statut = 0;
    waitpid(enfant, &statut, 0);
    return statut;
}

TEST(FichierRecord, AWriteCutAtEveryByteLeavesTheOldFileWholeAndTheNextWriteWorks) {
    // Guards against a full disk or a killed game destroying the record, or leaving a temporary
    // file that stops the next record from being kept.
    const QByteArray ancien =
        "; mes scores\r\n[Tir_au_Murax]\r\nScoreMaxi= "
        "120\r\nNomJoueur=Pilote\r\n[Autre]\r\nx=1\r\n";
    const QByteArray nouveau =
        "; mes scores\r\n[Tir_au_Murax]\r\nScoreMaxi= 120\r\nNomJoueur=Bernadette\r\n[Autre]\r\n"
        "x=1\r\n";
    int pannes = 0;
    for (const Panne panne : {Panne::DisquePlein, Panne::ProcessusTue}) {
        for (qsizetype n = 0; n < nouveau.size(); ++n) {
            QTemporaryDir dossier;
            const QString fichier = dossier.filePath("Tir.ini");
            QFile f(fichier);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(ancien) == ancien.size());
            f.close();
            const int statut = EcritAvecLimite(fichier, n, panne);
            ++pannes;
            if (panne == Panne::DisquePlein) {
                EXPECT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 0) << "byte " << n;
            } else {
                EXPECT_TRUE(WIFSIGNALED(statut) && WTERMSIG(statut) == SIGXFSZ) << "byte " << n;
            }
            // The new file has no name until it is complete (an unnamed temporary file, which
            // the usual Linux file systems give), so even a killed write leaves nothing beside
            // the record.
            EXPECT_EQ(Fichiers(dossier.path()), QStringList{"Tir.ini"}) << "byte " << n;
            EXPECT_EQ(fuzz::Contenu(fichier), ancien) << "byte " << n;
            // Whatever a killed write left behind, the next one keeps the record.
            ASSERT_TRUE(EcritRecord(fichier.toStdString(), {" 120", "Bernadette"}, {})) << n;
            EXPECT_EQ(fuzz::Contenu(fichier), nouveau) << "byte " << n;
        }
    }
    std::cout << "record write cut at " << pannes << " bytes\n";
    // With room for the whole new file the same child writes it: the limit is what stopped it.
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath("Tir.ini");
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(ancien) == ancien.size());
    f.close();
    const int statut = EcritAvecLimite(fichier, nouveau.size(), Panne::DisquePlein);
    EXPECT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 1);
    EXPECT_EQ(fuzz::Contenu(fichier), nouveau);
}

// The winner w ends the game with `score` and answers the record dialog with `nom`.
void BatLeRecord(BancDeTir& banc, int w, int score, const QString& nom) {
    Form1& f = *banc.form;
    banc.saisie.reponses.push_back(nom);
    f.Scores[w] = static_cast<std::int16_t>(score);
    f.Score[w]->SetCaption(QString::number(score));
    f.VerifieScoreMaxi(w);
}

TEST(FichierRecord, NoTypedNameBreaksTheFilesLinesAndTheNextRecordStillReplacesIt) {
    // Guards against a name with line breaks, tabs, great length or letters outside Latin-1
    // adding lines, losing the score, or making the next record land somewhere else.
    const QString mille = QString(1000, QChar(u'é'));
    const QString horsLatin1 = QString::fromUtf8("李小龍 Ωμέγα Ж 🎯");
    for (const QString& nom :
         {QString("Jean\r\nScoreMaxi= 32767\r\n[Tir_au_Murax]"), QString("\tTab\tulé\t"),
          QString("a\rb\nc\x0b"
                  "d\x0c"
                  "e") +
              QChar(0x2028) + "f" + QChar(0x2029),
          mille, QString(1000, 'x'), horsLatin1, QString("=[]; =")}) {
        BancDeTir banc;
        BatLeRecord(banc, 0, 90, nom);
        const auto lignes = fuzz::Lignes(fuzz::Contenu(banc.form->FichierIni));
        ASSERT_EQ(lignes.size(), 3u);
        for (const QByteArray& l : lignes) EXPECT_EQ(l.count('\n'), 1) << l.data();
        EXPECT_EQ(lignes[1], "ScoreMaxi= 90\r\n");
        BatLeRecord(banc, 1, 95, "Suivant");
        const QByteArray contenu = fuzz::Contenu(banc.form->FichierIni);
        EXPECT_EQ(contenu, "[Tir_au_Murax]\r\nScoreMaxi= 95\r\nNomJoueur=Suivant\r\n")
            << contenu.data();
        // The prompt of the second record named the first holder as the file gave him back.
        ASSERT_EQ(banc.saisie.appels.size(), 2u);
        const QString rendu = banc.saisie.appels[1].defaut;
        EXPECT_TRUE(banc.saisie.appels[1].invite.contains(" qui était de 90\r\n"));
        EXPECT_LE(rendu.toUtf8().size(), kTampon - 1);
        EXPECT_FALSE(rendu.contains('\n') || rendu.contains('\r') || rendu.contains('\t'));
    }
}

TEST(FichierRecord, ANameOutsideLatin1ComesBackWholeInTheNextPrompt) {
    // Guards against letters of other alphabets being turned into question marks in the file.
    BancDeTir banc;
    const QString nom = QString::fromUtf8("Ωμέγα 李 🎯");
    BatLeRecord(banc, 0, 90, nom);
    EXPECT_EQ(LitRecord(banc.form->FichierIni.toStdString()).nom, nom.toStdString());
    BatLeRecord(banc, 1, 95, "Autre");
    ASSERT_EQ(banc.saisie.appels.size(), 2u);
    EXPECT_EQ(banc.saisie.appels[1].defaut, nom);
    EXPECT_TRUE(banc.saisie.appels[1].invite.contains("battu le score de " + nom + " qui"));
}

// The record dialog of one copy of the game, while `autreCopie` plays another copy in the same
// folder.
struct DialogueEtAutreCopie : Saisie {
    std::function<void()> autreCopie;
    QString InputBox(const QString&, const QString&, const QString&) override {
        if (autreCopie) autreCopie();
        return QStringLiteral("Nous");
    }
};

void Pose(const QString& fichier, const QByteArray& octets) {
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size());
}

TEST(FichierRecord, ARecordKeptByAnotherCopyDuringTheDialogIsNeverLowered) {
    // Guards against the copy that answers last writing its lower score over a better one, and
    // against a record no longer beaten being replaced at all.
    const QByteArray avant = "[Tir_au_Murax]\r\nScoreMaxi= 100\r\nNomJoueur=Ancien\r\n";
    const struct {
        QByteArray autre, attendu;
    } cas[] = {
        {"[Tir_au_Murax]\r\nScoreMaxi= 294\r\nNomJoueur=Autre\r\n",
         "[Tir_au_Murax]\r\nScoreMaxi= 294\r\nNomJoueur=Autre\r\n"},
        {"[Tir_au_Murax]\r\nScoreMaxi= 194\r\nNomJoueur=Autre\r\n",
         "[Tir_au_Murax]\r\nScoreMaxi= 194\r\nNomJoueur=Autre\r\n"},
        {"[Tir_au_Murax]\r\nScoreMaxi= 150\r\nNomJoueur=Autre\r\n",
         "[Tir_au_Murax]\r\nScoreMaxi= 194\r\nNomJoueur=Nous\r\n"},
    };
    for (const auto& [autre, attendu] : cas) {
        DialogueEtAutreCopie dialogue;
        BancDeTir banc({.saisie = &dialogue});
        Form1& f = *banc.form;
        Pose(f.FichierIni, avant);
        dialogue.autreCopie = [&] { Pose(f.FichierIni, autre); };
        f.Scores[0] = 194;
        f.Score[0]->SetCaption("194");
        f.VerifieScoreMaxi(0);
        EXPECT_EQ(fuzz::Contenu(f.FichierIni), attendu) << autre.data();
    }
}

TEST(FichierRecord, ScoreAndNameAreKeptTogetherOrNotAtAllWhateverRoomIsLeft) {
    // Guards against a full disk (here a file size limit) keeping the new score under the old
    // holder's name.
    const QByteArray avant = "[Tir_au_Murax]\r\nScoreMaxi= 100\r\nNomJoueur=Ancien\r\n";
    const QByteArray apres = "[Tir_au_Murax]\r\nScoreMaxi= 194\r\nNomJoueur=Nous\r\n";
    rlimit limite{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limite), 0);
    const auto signalAvant = std::signal(SIGXFSZ, SIG_IGN);
    int entiers = 0;
    for (qsizetype place = 0; place <= apres.size(); ++place) {
        DialogueEtAutreCopie dialogue;
        BancDeTir banc({.saisie = &dialogue});
        Form1& f = *banc.form;
        Pose(f.FichierIni, avant);
        f.Scores[0] = 194;
        f.Score[0]->SetCaption("194");
        rlimit reduite = limite;
        reduite.rlim_cur = static_cast<rlim_t>(place);
        setrlimit(RLIMIT_FSIZE, &reduite);
        f.VerifieScoreMaxi(0);
        setrlimit(RLIMIT_FSIZE, &limite);
        const QByteArray contenu = fuzz::Contenu(f.FichierIni);
        EXPECT_TRUE(contenu == avant || contenu == apres) << place << ": " << contenu.data();
        entiers += contenu == apres ? 1 : 0;
    }
    std::signal(SIGXFSZ, signalAvant);
    EXPECT_EQ(entiers, 1);  // only with room for the whole file
}

TEST(FichierRecord, AWriteInPlaceWithoutRoomForTheNewFileLeavesTheOldOneWhole) {
    // Guards against a shared record (written in place, its folder read-only) left mixed of the
    // old and the new file by a full disk or a file size limit, which the write reports as failed.
    const QByteArray avant =
        "[Tir_au_Murax]\r\nScoreMaxi= 100\r\nNomJoueur=Ancien    \r\n[Autre]\r\nx=1";
    const QByteArray apres =
        "[Tir_au_Murax]\r\nScoreMaxi= 194\r\nNomJoueur=Bernadette\r\n[Autre]\r\nx=1";
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath("Tir.ini");
    for (qsizetype place = 0; place <= apres.size(); ++place) {
        Pose(fichier, avant);
        ASSERT_EQ(chmod(fichier.toLocal8Bit().constData(), 0666), 0);
        ASSERT_EQ(chmod(dossier.path().toLocal8Bit().constData(), 0555), 0);
        const pid_t enfant = fork();
        if (enfant == 0) {
            const CommeUtilisateurOrdinaire ordinaire;
            const rlimit taille{static_cast<rlim_t>(place), static_cast<rlim_t>(place)};
            setrlimit(RLIMIT_FSIZE, &taille);
            std::signal(SIGXFSZ, SIG_IGN);
            const bool ok =
                ordinaire.Pret() && EcritRecord(fichier.toStdString(), {" 194", "Bernadette"}, {});
            _exit(ok ? 1 : 0);
        }
        int statut = 0;
        waitpid(enfant, &statut, 0);
        chmod(dossier.path().toLocal8Bit().constData(), 0755);
        const bool entier = WIFEXITED(statut) && WEXITSTATUS(statut) == 1;
        EXPECT_TRUE(WIFEXITED(statut) && (entier || place < apres.size())) << place;
        EXPECT_EQ(fuzz::Contenu(fichier), entier ? apres : avant) << place;
        EXPECT_EQ(Fichiers(dossier.path()), QStringList{"Tir.ini"}) << place;
    }
}

TEST(FichierRecord, TheReplacementKeepsTheOwnerGroupAndPermissionsOfTheFile) {
    // Guards against a record taking the file from the player who owns it, or opening it to
    // everyone: as root the new file is given back, as another player the file is written in
    // place.
    if (geteuid() != 0) GTEST_SKIP() << "giving a file to another owner needs root";
    for (const bool ordinaire : {false, true}) {
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath("Tir.ini");
        Pose(fichier, "[Tir_au_Murax]\r\nScoreMaxi= 1\r\nNomJoueur=Un\r\n");
        const uid_t proprietaire = ordinaire ? 0 : CommeUtilisateurOrdinaire::kPersonne;
        const mode_t mode = ordinaire ? 0666 : 0640;
        ASSERT_EQ(chown(fichier.toLocal8Bit().constData(), proprietaire, proprietaire), 0);
        ASSERT_EQ(chmod(fichier.toLocal8Bit().constData(), mode), 0);
        ASSERT_EQ(chmod(dossier.path().toLocal8Bit().constData(), 0777), 0);
        {
            std::optional<CommeUtilisateurOrdinaire> comme;
            if (ordinaire) comme.emplace();
            EXPECT_TRUE(EcritRecord(fichier.toStdString(), {" 2", "Un"}, {})) << ordinaire;
        }
        struct stat st {};
        ASSERT_EQ(stat(fichier.toLocal8Bit().constData(), &st), 0);
        EXPECT_EQ(st.st_uid, proprietaire) << ordinaire;
        EXPECT_EQ(st.st_gid, proprietaire) << ordinaire;
        EXPECT_EQ(st.st_mode & 07777, mode) << ordinaire;
        EXPECT_EQ(fuzz::Contenu(fichier), "[Tir_au_Murax]\r\nScoreMaxi= 2\r\nNomJoueur=Un\r\n");
    }
}

TEST(FichierRecord, TheReplacementKeepsTheFilesExtendedAttributes) {
    // Guards against a record losing the access list or the attributes put on the file.
    QTemporaryDir dossier;  // on a disk, where a tmpfs may refuse them
    const QString fichier = dossier.filePath("Tir.ini");
    Pose(fichier, "[Tir_au_Murax]\r\nScoreMaxi= 1\r\nNomJoueur=Un\r\n");
    const QByteArray chemin = fichier.toLocal8Bit();
    const QByteArray valeur("sauvegarde du 3 mai");
    if (setxattr(chemin.constData(), "user.tir", valeur.constData(), valeur.size(), 0) != 0) {
        GTEST_SKIP() << "this file system takes no extended attributes: " << std::strerror(errno);
    }
    // The attribute cannot go to a new file: the record is written in its lines.
    ASSERT_TRUE(EcritRecord(chemin.toStdString(), {" 2", "Un"}, {}));
    std::array<char, 64> lu{};
    const ssize_t n = getxattr(chemin.constData(), "user.tir", lu.data(), lu.size());
    EXPECT_EQ(QByteArray(lu.data(), std::max<ssize_t>(n, 0)), valeur);
    EXPECT_EQ(fuzz::Contenu(fichier), "[Tir_au_Murax]\r\nScoreMaxi= 2\r\nNomJoueur=Un\r\n");
}

TEST(FichierRecord, ALinkInPlaceOfTheFileIsNeverWrittenThroughNorFollowedToCreateAFile) {
    // Guards against a record created in another folder through a dangling link, or another
    // file replaced (and given to the player) through a link.
    QTemporaryDir dossier, ailleurs;
    const QString fichier = dossier.filePath("Tir.ini");
    const QString cible = ailleurs.filePath("cible.ini");
    for (const bool pendant : {true, false}) {
        QFile::remove(fichier);
        if (!pendant) Pose(cible, "[Tir_au_Murax]\r\nScoreMaxi= 1\r\n");
        ASSERT_TRUE(QFile::link(cible, fichier));
        EXPECT_FALSE(EcritRecord(fichier.toStdString(), {" 2", "Un"}, {}));
        EXPECT_TRUE(QFileInfo(fichier).isSymLink());
        EXPECT_EQ(Fichiers(ailleurs.path()), pendant ? QStringList{} : QStringList{"cible.ini"});
        EXPECT_EQ(Fichiers(dossier.path()), QStringList{"Tir.ini"});
    }
    EXPECT_EQ(fuzz::Contenu(cible), "[Tir_au_Murax]\r\nScoreMaxi= 1\r\n");
}

TEST(FichierRecord, TheNextWriteReplacesWhatAKilledOneLeftAndNothingElse) {
    // Guards against a leftover of a killed write stopping the next record, and against removing
    // a player's own copies of the record.
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath("Tir.ini");
    for (const char* nom : {"Tir.ini.~partiel", "Tir.ini.backup", "Tir.ini.~partiel-Ab3dE9"}) {
        Pose(dossier.filePath(nom), "reste");
    }
    ASSERT_TRUE(EcritRecord(fichier.toStdString(), {" 2", "Un"}, {}));
    EXPECT_EQ(Fichiers(dossier.path()),
              (QStringList{"Tir.ini", "Tir.ini.backup", "Tir.ini.~partiel-Ab3dE9"}));
}

TEST(FichierRecord, AFileOverAMebibyteIsNoRecordFileAndIsLeftAsItIs) {
    // Guards against a huge or sparse file under the record's name holding up the end of the
    // game, or being rewritten.
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath("Tir.ini");
    for (const qint64 taille : {qint64{1} << 20, (qint64{1} << 20) + 1, qint64{1} << 40}) {
        Pose(fichier, "[Tir_au_Murax]\r\nScoreMaxi= 100\r\nNomJoueur=Un\r\n");
        QFile f(fichier);
        ASSERT_TRUE(f.resize(taille));
        const bool record = taille <= (qint64{1} << 20);
        EXPECT_EQ(LitRecord(fichier.toStdString()).score, record ? "100" : "") << taille;
        EXPECT_EQ(EcritRecord(fichier.toStdString(), {" 200", "Un"}, {}), record) << taille;
        EXPECT_EQ(LitRecord(fichier.toStdString()).score, record ? "200" : "") << taille;
        EXPECT_EQ(QFileInfo(fichier).size(), taille);
    }
}

}  // namespace
}  // namespace tir::test
