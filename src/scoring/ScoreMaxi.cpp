// The record kept in "Tir.ini": the best winning score ever reached and its holder's name.
#include "platform/Profil.h"
#include "window/Form1.h"

namespace tir {

namespace {

const QByteArray kSection = QByteArrayLiteral("Tir_au_Murax");
const QByteArray kCleScore = QByteArrayLiteral("ScoreMaxi");
const QByteArray kCleNom = QByteArrayLiteral("NomJoueur");
constexpr int kTailleTampon = 255;  // at most 254 bytes come back

QString LitRecord(const QByteArray& cle, const QString& fichier) {
    return QString::fromUtf8(LitProfil(kSection, cle, QByteArray(), kTailleTampon, fichier));
}

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
    const QString scoreRecord = LitRecord(kCleScore, FichierIni);
    const QString nomRecord = LitRecord(kCleNom, FichierIni);
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
    EcritProfil(kSection, kCleScore, scoreTexte.toUtf8(), FichierIni);
    EcritProfil(kSection, kCleNom, NomSansSautDeLigne(nom).toUtf8(), FichierIni);
}

}  // namespace tir
