// The record kept in "Tir.ini": the best winning score ever reached and its holder's name.
#include "platform/Profil.h"
#include "window/Form1.h"

namespace tir {

namespace {

const QByteArray kSection = QByteArrayLiteral("Tir_au_Murax");
const QByteArray kCleScore = QByteArrayLiteral("ScoreMaxi");
const QByteArray kCleNom = QByteArrayLiteral("NomJoueur");
constexpr int kTailleTampon = 255;  // at most 254 bytes come back

// The name as typed, but a line break or any other control character becomes a space: a pasted
// line break would otherwise add lines of its own to the file.
QString NomSansSautDeLigne(QString nom) {
    for (QChar& c : nom) {
        const QChar::Category categorie = c.category();
        if (categorie == QChar::Other_Control || categorie == QChar::Separator_Line ||
            categorie == QChar::Separator_Paragraph) {
            c = QLatin1Char(' ');
        }
    }
    return nom;
}

}  // namespace

// Compares the score of the winner w with the record; a better score plays the jingle, asks the
// winner's name and stores both when a name is given.
void Form1::VerifieScoreMaxi(int w) {
    // The record is for people: a win of the computer is never kept nor asks for a name.
    if (options.ordinateur[w]) return;
    const std::vector<QByteArray> record =
        LitProfil(kSection, {kCleScore, kCleNom}, QByteArray(), kTailleTampon, FichierIni);
    const QString scoreRecord = QString::fromUtf8(record[0]);
    const QString nomRecord = QString::fromUtf8(record[1]);
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
    // Another copy of the game in the same folder may have kept a better record while the dialog
    // was open: under the lock that every copy takes, the record is read again and replaced only
    // if this score still beats it, score and name in one new file. The lock is not held across
    // the dialog, which may stay open for hours.
    ProfilVerrouille profil(FichierIni);
    if (!profil.Pris()) return;
    const QByteArray actuel = profil.Lit(kSection, {kCleScore}, QByteArray(), kTailleTampon)[0];
    if (!(score > Val(QString::fromUtf8(actuel)))) return;
    profil.Ecrit(kSection,
                 {{kCleScore, scoreTexte.toUtf8()}, {kCleNom, NomSansSautDeLigne(nom).toUtf8()}});
}

}  // namespace tir
