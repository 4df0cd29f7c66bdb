// The command line: the game's options read by Qt's parser, in French, and the start where no
// window system can be reached.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>

#include "window/Options.h"
#include "window/Traductions.h"

namespace tir {
namespace {

LectureOptions Lis(QStringList arguments) {
    InstalleTraductions(*QCoreApplication::instance());
    arguments.prepend(QStringLiteral("tir-au-murax"));
    return LisOptions(arguments);
}

TEST(Options, WhoTheComputerPlaysAndHowWellComeFromTheCommandLine) {
    struct Cas {
        QStringList arguments;
        std::array<bool, 2> ordinateur;
        Niveau niveau;
        bool traces;
    };
    const Cas cas[] = {
        {{}, {false, false}, Niveau::Moyen, false},
        {{"--ordinateur"}, {false, true}, Niveau::Moyen, false},
        {{"--ordinateur", "--traces"}, {false, true}, Niveau::Moyen, true},
        {{"--ordinateur=A", "--niveau=expert"}, {true, false}, Niveau::Expert, false},
        {{"--ordinateur", "ab", "--niveau", QString::fromUtf8("Débutant")},
         {true, true},
         Niveau::Debutant,
         false},
        {{"--niveau=auto", "--ordinateur"}, {false, true}, Niveau::Auto, false},
    };
    for (const Cas& c : cas) {
        const LectureOptions lu = Lis(c.arguments);
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(lu.sortie, -1) << lu.texte.toStdString();
        EXPECT_EQ(lu.options.ordinateur, c.ordinateur);
        EXPECT_EQ(lu.options.niveau, c.niveau);
        EXPECT_EQ(lu.options.traces, c.traces);
    }
}

TEST(Options, HelpIsFrenchAndABadOptionEndsWithStatusTwo) {
    const LectureOptions aide = Lis({"--help"});
    EXPECT_EQ(aide.sortie, 0);
    for (const char* mot : {"--ordinateur", "--niveau", "--traces", "--version", "Utilisation",
                            "démonstration", "-platform"}) {
        EXPECT_TRUE(aide.texte.contains(QString::fromUtf8(mot))) << mot;
    }
    EXPECT_EQ(Lis({"--version"}).texte, "Tir au Murax " TIR_VERSION_ATTENDUE "\n");
    const QStringList mauvais[] = {
        {"--niveau=fort"}, {"--ordinateur=C"}, {"--inconnue"}, {"partie"}, {"--niveau"}};
    for (const QStringList& arguments : mauvais) {
        const LectureOptions lu = Lis(arguments);
        EXPECT_EQ(lu.sortie, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(
            lu.texte.contains(QString::fromUtf8("Essayez «\u00a0tir-au-murax --help\u00a0»")))
            << lu.texte.toStdString();
    }
    EXPECT_TRUE(Lis({"--niveau=fort"}).texte.contains(QString::fromUtf8("niveau inconnu")));
    EXPECT_TRUE(Lis({"--inconnue"})
                    .texte.contains(QString::fromUtf8("Option inconnue «\u00a0inconnue\u00a0»")));
}

TEST(Options, QtsOwnOptionsAreTakenOutBeforeReadingWithoutAWindowSystem) {
    const QStringList arguments = {"jeu",           "-platform", "offscreen", "--traces",
                                   "-style=fusion", "-reverse",  "--",        "-geometry"};
    EXPECT_EQ(SansOptionsDeQt(arguments), QStringList({"jeu", "--traces", "--", "-geometry"}));
}

// Without any display the game says in French what is missing, and ends with status 1;
// --help still answers there.
TEST(Options, WithoutADisplayTheGameSaysSoInFrench) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* nom : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(nom);
    const auto lance = [&](const QStringList& arguments) {
        QProcess jeu;
        jeu.setProcessEnvironment(env);
        jeu.start(QStringLiteral(TIR_BINARY_DIR "/tir-au-murax"), arguments);
        EXPECT_TRUE(jeu.waitForFinished(20000));
        return std::pair{jeu.exitCode(),
                         QString::fromUtf8(jeu.readAll() + jeu.readAllStandardError())};
    };
    const auto [statut, texte] = lance({});
    EXPECT_EQ(statut, 1);
    EXPECT_TRUE(texte.contains(QString::fromUtf8("a besoin d'une session graphique")))
        << texte.toStdString();
    EXPECT_EQ(lance({"--help"}).first, 0);
    EXPECT_EQ(lance({"--niveau=fort"}).first, 2);
}

}  // namespace
}  // namespace tir
