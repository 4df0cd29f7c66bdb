// The record kept in "Tir.ini": the best winning score ever reached and its holder's name.
#include "platform/Gardien.h"
#include "platform/Record.h"
#include "window/Form1.h"

namespace tir {

// Compares the score of the winner w with the record; a better score plays the jingle, asks the
// winner's name and stores both when a name is given.
void Form1::VerifieScoreMaxi(int w) {
    // The record is for people: a win of the computer is never kept nor asks for a name.
    if (options.ordinateur[w]) return;
    const Record record = LitRecord(FichierIni.toStdString());
    const QString scoreRecord = QString::fromStdString(record.score);
    const QString nomRecord = QString::fromStdString(record.nom);
    const double score = Val(Score[w]->Caption());
    if (!(score > Val(scoreRecord))) return;
    JoueSon(Son::Hallelu1);
    const QString scoreTexte = TexteSigne(static_cast<long>(score));
    const QString invite =
        QStringLiteral("Bravo !") + RetourLigne + QStringLiteral("Vous avez battu le score de ") +
        nomRecord + QStringLiteral(" qui était de ") + scoreRecord + RetourLigne + RetourLigne +
        QStringLiteral("Vous obtenez ") + scoreTexte + QStringLiteral(" points !") + RetourLigne +
        QStringLiteral("Pour le virer de sa place, inscrivez votre nom ci-dessous...") +
        RetourLigne;
    const QString nom =
        services.saisie.InputBox(QStringLiteral("Score Maximum"), invite, nomRecord);
    if (nom.isEmpty()) return;
    // A record kept for every player of the machine is written by its keeper program alone.
    if (const QByteArray gardien = services.dossier.Gardien(); !gardien.isEmpty()) {
        DemandeAuGardien(gardien, static_cast<int>(score), nom.toStdString());
        return;
    }
    // Another copy of the game in the same folder may have kept a better record while the dialog
    // was open: under the lock that every copy takes, the record is read again and replaced only
    // if this score still beats it, score and name together. The lock is not held across the
    // dialog, which may stay open for hours.
    EcritRecord(FichierIni.toStdString(), {scoreTexte.toStdString(), nom.toStdString()},
                [score](const Record& actuel) {
                    return score > Val(QString::fromStdString(actuel.score));
                });
}

}  // namespace tir
