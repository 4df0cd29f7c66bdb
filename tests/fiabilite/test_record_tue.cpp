// The record written by a copy of the game that is killed at one of the write's system calls.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <iostream>

#include "BancDeTir.h"
#include "Identite.h"

namespace tir::test {
namespace {

// The folder of the record written by this same program in a process of its own, so that strace
// can kill it: it comes from TIR_DOSSIER_TUE.
struct DossierDuParent : Dossier {
    QByteArray Chemin() override { return qgetenv("TIR_DOSSIER_TUE"); }
};

TEST(DISABLED_EcritureTuee, BatLeRecord) {
    DossierDuParent dossier;
    BancDeTir banc({.dossier = &dossier});
    banc.saisie.reponses.push_back("Bo");
    banc.form->Scores[0] = 200;
    banc.form->Score[0]->SetCaption("200");
    banc.form->VerifieScoreMaxi(0);
}

QByteArray Contenu(const QString& fichier) {
    QFile f(fichier);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(RecordTue, AWriteKilledAtAnyOfItsSystemCallsLeavesTheOldRecordOrTheNewOne) {
    // Guards against a kill during a write, in place in a shared folder or by a rename, leaving a
    // mix of the old and the new record or breaking the next section.
    if (geteuid() != 0 || std::system("strace -V >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "needs root (to play another player) and strace";
    }
    // The writer runs as another player, who may not reach a build folder private to root (a
    // clone in a folder of mode 700): it runs from a copy of this program that he may reach.
    QTemporaryDir programme;
    const QString copie = programme.filePath("test_fiabilite");
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), copie));
    ASSERT_EQ(chmod(QFile::encodeName(copie).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(programme.path()).constData(), 0755), 0);
    const QByteArray avant =
        "[Tir_au_Murax]\r\nScoreMaxi= 100\r\nNomJoueur=Ancien\r\n[Autre]\r\nx=1\r\n";
    const struct {
        mode_t dossier;
        uid_t proprietaire;
        QByteArray apres;
    } cas[] = {
        // The players may not write to the folder: the file is written in place, padded.
        {0755, 0, "[Tir_au_Murax]\r\nScoreMaxi= 200\r\nNomJoueur=Bo    \r\n[Autre]\r\nx=1\r\n"},
        // The player's own file (and group) in a folder he may write to: replaced by a rename.
        {0777, CommeUtilisateurOrdinaire::kPersonne,
         "[Tir_au_Murax]\r\nScoreMaxi= 200\r\nNomJoueur=Bo\r\n[Autre]\r\nx=1\r\n"},
    };
    int tues = 0;
    for (const auto& [mode, proprietaire, apres] : cas) {
        for (const char* appel :
             {"pwrite64", "fsync", "ftruncate", "linkat", "renameat", "unlinkat", "fchmod"}) {
            for (int k = 1; k < 20; ++k) {
                QTemporaryDir dossier;
                const QString fichier = dossier.filePath("Tir.ini");
                QFile f(fichier);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(avant) == avant.size());
                f.close();
                ASSERT_EQ(chown(QFile::encodeName(fichier).constData(), proprietaire, proprietaire),
                          0);
                ASSERT_EQ(chmod(QFile::encodeName(fichier).constData(), 0666), 0);
                ASSERT_EQ(chmod(QFile::encodeName(dossier.path()).constData(), mode), 0);
                QProcess p;
                QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                env.insert("TIR_DOSSIER_TUE", dossier.path());
                p.setProcessEnvironment(env);
                p.start("strace", {"-f", "-qq", "-o", "/dev/null", "-u", "nobody", "-e",
                                   QString("inject=%1:signal=KILL:when=%2").arg(appel).arg(k),
                                   copie, "--gtest_also_run_disabled_tests", "--gtest_brief=1",
                                   "--gtest_filter=DISABLED_EcritureTuee.*"});
                ASSERT_TRUE(p.waitForFinished(20000));
                const QByteArray contenu = Contenu(fichier);
                EXPECT_TRUE(contenu == avant || contenu == apres) << appel << " #" << k << ":\n"
                                                                  << contenu.data();
                if (p.exitStatus() == QProcess::NormalExit) {
                    EXPECT_EQ(contenu, apres) << appel;
                    break;
                }
                ++tues;
            }
        }
    }
    std::cout << "record writes killed at " << tues << " system calls\n";
}

}  // namespace
}  // namespace tir::test
