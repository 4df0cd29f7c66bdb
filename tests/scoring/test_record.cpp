// The record in "Tir.ini": when it is beaten, what the dialog says, and what is written.
#include <gtest/gtest.h>

#include <QFile>

#include "BancDeTir.h"

namespace tir::test {
namespace {

QByteArray Lis(const QString& chemin) {
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) return {};
    return fichier.readAll();
}

void Ecris(const QString& chemin, const QByteArray& octets) {
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(octets);
}

// The winner w ends the game with `score` on his panel.
void Verifie(BancDeTir& banc, int w, int score) {
    Form1& f = *banc.form;
    f.Scores[w] = static_cast<std::int16_t>(score);
    f.Score[w]->SetCaption(QString::number(score));
    f.VerifieScoreMaxi(w);
}

QString Invite(const QString& nom, const QString& record, const QString& score) {
    return "Bravo !\r\nVous avez battu le score de " + nom + " qui était de " + record +
           "\r\n\r\nVous obtenez " + score +
           " points !\r\nPour le virer de sa place, inscrivez votre nom ci-dessous...\r\n";
}

const QByteArray kRecordPilote = "[Tir_au_Murax]\r\nScoreMaxi= 120\r\nNomJoueur=Pilote\r\n";

TEST(Record, TheFirstGameEverAsksTheNameWithAnEmptyHolderAndStoresNothingOnAnEmptyAnswer) {
    // Guards against a wrong prompt, a default name invented, or a record stored unasked.
    BancDeTir banc;
    Verifie(banc, 0, 40);
    ASSERT_EQ(banc.saisie.appels.size(), 1u);
    EXPECT_EQ(banc.saisie.appels[0].titre, QString("Score Maximum"));
    EXPECT_EQ(banc.saisie.appels[0].invite, Invite("", "", " 40"));
    EXPECT_EQ(banc.saisie.appels[0].defaut, QString());
    EXPECT_TRUE(banc.SonJoue("Hallelu1.wav"));
    EXPECT_FALSE(QFile::exists(banc.form->FichierIni));
}

TEST(Record, ANameTypedForTheFirstRecordIsStoredWithTheScoreAfterASpace) {
    // Guards against a score written without its leading space or a file in another layout.
    BancDeTir banc;
    banc.saisie.reponses.push_back("Pilote");
    Verifie(banc, 1, 40);
    EXPECT_EQ(Lis(banc.form->FichierIni),
              QByteArray("[Tir_au_Murax]\r\nScoreMaxi= 40\r\nNomJoueur=Pilote\r\n"));
}

TEST(Record, AScoreThatDoesNotBeatTheRecordAsksNothingAndPlaysNothing) {
    // Guards against a record taken on an equal score, or on 0 when there is none yet.
    for (const int score : {0, -5}) {
        BancDeTir banc;
        Verifie(banc, 0, score);
        EXPECT_TRUE(banc.saisie.appels.empty()) << score;
        EXPECT_TRUE(banc.lecteur.joues.empty());
        EXPECT_FALSE(QFile::exists(banc.form->FichierIni));
    }
    BancDeTir banc;
    Ecris(banc.form->FichierIni, kRecordPilote);
    Verifie(banc, 1, 120);
    EXPECT_TRUE(banc.saisie.appels.empty());
    EXPECT_TRUE(banc.lecteur.joues.empty());
    EXPECT_EQ(Lis(banc.form->FichierIni), kRecordPilote);
}

TEST(Record, ABeatenRecordConfirmedWithTheProposedNameKeepsTheNameAndTheOtherLines) {
    // Guards against losing other sections, or the name proposed not being the holder's.
    BancDeTir banc;
    Ecris(banc.form->FichierIni, "[Autre]\r\nCle=1\r\n" + kRecordPilote);
    banc.form->SonActif = false;
    banc.saisie.reponses.push_back("Pilote");
    Verifie(banc, 0, 150);
    ASSERT_EQ(banc.saisie.appels.size(), 1u);
    EXPECT_EQ(banc.saisie.appels[0].invite, Invite("Pilote", "120", " 150"));
    EXPECT_EQ(banc.saisie.appels[0].defaut, QString("Pilote"));
    EXPECT_TRUE(banc.lecteur.joues.empty()) << "no jingle with sound off";
    EXPECT_EQ(Lis(banc.form->FichierIni),
              QByteArray("[Autre]\r\nCle=1\r\n[Tir_au_Murax]\r\nScoreMaxi= 150\r\n"
                         "NomJoueur=Pilote\r\n"));
}

TEST(Record, ACancelledDialogLeavesTheOldRecordByteForByte) {
    // Guards against a record written, or the file rewritten, when the player cancels.
    BancDeTir banc;
    Ecris(banc.form->FichierIni, kRecordPilote);
    Verifie(banc, 0, 121);
    EXPECT_EQ(banc.saisie.appels.size(), 1u);
    EXPECT_EQ(Lis(banc.form->FichierIni), kRecordPilote);
}

TEST(Record, AWordEditedInAsTheRecordCountsAsZeroAndShowsAsTheBeatenScore) {
    // Guards against a hand-edited file blocking every record or being shown as 0.
    BancDeTir banc;
    Ecris(banc.form->FichierIni, "[tir_au_murax]\r\nscoremaxi=beaucoup\r\nNomJoueur=Zoé\r\n");
    banc.saisie.reponses.push_back("Zoé");
    Verifie(banc, 0, 5);
    ASSERT_EQ(banc.saisie.appels.size(), 1u);
    EXPECT_EQ(banc.saisie.appels[0].invite, Invite("Zoé", "beaucoup", " 5"));
    EXPECT_EQ(banc.saisie.appels[0].defaut, QString("Zoé"));
    const QByteArray apres = Lis(banc.form->FichierIni);
    EXPECT_TRUE(apres.contains("scoremaxi= 5\r\n") || apres.contains("ScoreMaxi= 5\r\n"))
        << apres.toStdString();
    EXPECT_TRUE(apres.contains(QString("NomJoueur=Zoé\r\n").toUtf8())) << apres.toStdString();
}

TEST(Record, ANegativeRecordIsBeatenByALessNegativeScoreWrittenWithItsMinusSign) {
    // Guards against a minus sign lost, or a leading space added to a negative score.
    BancDeTir banc;
    Ecris(banc.form->FichierIni, "[Tir_au_Murax]\r\nScoreMaxi=-7\r\nNomJoueur=Pilote\r\n");
    banc.saisie.reponses.push_back("Bernard");
    Verifie(banc, 1, -3);
    ASSERT_EQ(banc.saisie.appels.size(), 1u);
    EXPECT_EQ(banc.saisie.appels[0].invite, Invite("Pilote", "-7", "-3"));
    EXPECT_EQ(Lis(banc.form->FichierIni),
              QByteArray("[Tir_au_Murax]\r\nScoreMaxi=-3\r\nNomJoueur=Bernard\r\n"));
}

TEST(Record, LineBreaksAndControlCharactersOfANameAreWrittenAsSpaces) {
    // Guards against a pasted name forging lines, and a forged record, in the file.
    BancDeTir banc;
    banc.saisie.reponses.push_back("Jean\r\nScoreMaxi=32767\n[Tir_au_Murax]\tÉric\x7f");
    Verifie(banc, 0, 90);
    EXPECT_EQ(Lis(banc.form->FichierIni),
              QString("[Tir_au_Murax]\r\nScoreMaxi= 90\r\n"
                      "NomJoueur=Jean  ScoreMaxi=32767 [Tir_au_Murax] Éric \r\n")
                  .toUtf8());
}

TEST(Record, ANameIsShownAndStoredWithoutFormatCharactersAndInUtf8WhateverTheFileHeld) {
    // Guards against a name whose bidirectional override reverses the next winner's dialog, a
    // name written on Windows (Windows-1252) turned into U+FFFD, and a file saved as UTF-16 read
    // as no record, then appended to in UTF-8.
    const QString rle = QChar(0x202E), zwj = QChar(0x200D), lri = QChar(0x2066);
    const auto utf16 = [](const QString& texte, bool petit) {
        QByteArray o(petit ? "\xFF\xFE" : "\xFE\xFF", 2);
        for (const QChar c : texte) {
            const char h = static_cast<char>(c.unicode() >> 8), b = static_cast<char>(c.unicode());
            o.append(petit ? b : h).append(petit ? h : b);
        }
        return o;
    };
    const QString autres = QString::fromUtf8("[Autre]\r\nClé=ü\r\n");
    const QString record =
        QString::fromUtf8("[Tir_au_Murax]\r\nScoreMaxi= 9000\r\nNomJoueur=Zoë\r\n");
    const struct {
        QByteArray fichier;
        QString montre;    // the holder as the dialog names him
        QString tape;      // what the winner types
        QByteArray ecrit;  // the file after the record
    } cas[] = {
        {"[Tir_au_Murax]\r\nScoreMaxi= 120\r\nNomJoueur=Pilote" + rle.toUtf8() + "5- ed\r\n",
         "Pilote5- ed", "Bo" + rle + "b" + zwj + "c" + lri,
         "[Tir_au_Murax]\r\nScoreMaxi= 9500\r\nNomJoueur=Bobc\r\n"},
        {"[Tir_au_Murax]\r\nScoreMaxi= 120\r\nNomJoueur=S\xe9"
         "bastien Zo\xeb\x80\r\n",
         QString::fromUtf8("Sébastien Zoë€"), QString::fromUtf8("Sébastien Zoë€"),
         QString::fromUtf8("[Tir_au_Murax]\r\nScoreMaxi= 9500\r\nNomJoueur=Sébastien Zoë€\r\n")
             .toUtf8()},
        {utf16(autres + record, true), QString::fromUtf8("Zoë"), "Bo",
         "\xEF\xBB\xBF" +
             (autres + "[Tir_au_Murax]\r\nScoreMaxi= 9500\r\nNomJoueur=Bo\r\n").toUtf8()},
        {utf16(record, false), QString::fromUtf8("Zoë"), "Bo",
         "\xEF\xBB\xBF[Tir_au_Murax]\r\nScoreMaxi= 9500\r\nNomJoueur=Bo\r\n"},
    };
    for (const auto& [fichier, montre, tape, ecrit] : cas) {
        BancDeTir banc;
        Ecris(banc.form->FichierIni, fichier);
        Verifie(banc, 0, 8000);  // below 9000 in the UTF-16 files, so no record there
        banc.saisie.reponses.push_back(tape);
        Verifie(banc, 0, 9500);
        const auto& appels = banc.saisie.appels;
        ASSERT_EQ(appels.size(), fichier.startsWith("[") ? 2u : 1u) << montre.toStdString();
        EXPECT_EQ(appels.back().defaut, montre);
        EXPECT_TRUE(appels.back().invite.contains("battu le score de " + montre + " qui"));
        EXPECT_EQ(Lis(banc.form->FichierIni), ecrit) << montre.toStdString();
    }
}

TEST(Record, WhereAKeeperKeepsTheRecordTheGameHandsItScoreAndCleanNameAndWritesNothingItself) {
    // Guards against a game that writes a shared record itself (it may not), and against a name
    // handed over with what the keeper refuses (a line break, a right-to-left override).
    BancDeTir banc;
    Ecris(banc.form->FichierIni, kRecordPilote);
    const QString demande = banc.dossier.dossier.filePath("demande");
    const QString gardien = banc.dossier.dossier.filePath("gardien");
    Ecris(gardien, "#!/bin/sh\ncat >'" + demande.toUtf8() + "'\n");
    QFile::setPermissions(gardien, QFile::ReadOwner | QFile::ExeOwner);
    banc.dossier.gardien = QFile::encodeName(gardien);
    banc.saisie.reponses.push_back(QString("Zo\u00eb\nla \u202eGrande"));
    Verifie(banc, 0, 150);
    EXPECT_EQ(Lis(demande), QByteArray("150\nZo\xc3\xab la Grande\n"));
    EXPECT_EQ(Lis(banc.form->FichierIni), kRecordPilote);
}

}  // namespace
}  // namespace tir::test
