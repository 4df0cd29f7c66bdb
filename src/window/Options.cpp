// The command line: Qt's parser, with French descriptions and messages.
#include "window/Options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace tir {

namespace {

const QString kOrdinateur = QStringLiteral("ordinateur");
const QString kNiveau = QStringLiteral("niveau");
const QString kTraces = QStringLiteral("traces");

// Qt's own options that take a value, and those that take none (without their dash).
const QStringList kOptionsQtAvecValeur = {"platform",
                                          "platformpluginpath",
                                          "platformtheme",
                                          "plugin",
                                          "qwindowgeometry",
                                          "geometry",
                                          "qwindowtitle",
                                          "title",
                                          "qwindowicon",
                                          "icon",
                                          "display",
                                          "style",
                                          "stylesheet",
                                          "session",
                                          "name",
                                          "visual",
                                          "fn",
                                          "font",
                                          "bg",
                                          "background",
                                          "fg",
                                          "foreground",
                                          "btn",
                                          "button",
                                          "cmap",
                                          "ncols"};
const QStringList kOptionsQtSansValeur = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// "--ordinateur" alone means B. Qt's parser has no option whose value may be left out, so a bare
// one gets its value here, unless the next argument is the players themselves.
bool EstJoueurs(const QString& texte) {
    const QString t = texte.toUpper();
    return t == "A" || t == "B" || t == "AB" || t == "BA";
}

QStringList OrdinateurSansValeur(QStringList arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--") break;
        const bool seul = arguments[i] == "--ordinateur" || arguments[i] == "-ordinateur";
        if (seul && (i + 1 == arguments.size() || !EstJoueurs(arguments[i + 1]))) {
            arguments[i] = QStringLiteral("--ordinateur=B");
        }
    }
    return arguments;
}

void DecritOptions(QCommandLineParser& parseur) {
    parseur.setApplicationDescription(QString::fromUtf8(
        "Tir au Murax\u00a0: un jeu d'artillerie pour deux joueurs au même clavier.\n"
        "Sans option, la fenêtre est celle du jeu à deux. Les options de Qt (-platform, "
        "-geometry, -style…) restent valables."));
    parseur.addOption({kOrdinateur,
                       QString::fromUtf8("L'ordinateur joue le joueur B (--ordinateur), le joueur "
                                         "A (--ordinateur=A) ou les deux (--ordinateur=AB, une "
                                         "démonstration)."),
                       QString::fromUtf8("joueurs")});
    parseur.addOption(
        {kNiveau,
         QString::fromUtf8("La force de l'ordinateur\u00a0: debutant, moyen (par défaut), expert "
                           "ou auto (il joue à la mesure de son adversaire)."),
         QString::fromUtf8("niveau")});
    parseur.addOption(
        {kTraces, QString::fromUtf8("Marque d'une petite croix, à la couleur du tireur, le point "
                                    "où est tombé le dernier obus de chaque joueur sur ce champ "
                                    "de bataille.")});
    // Qt's own help and version options describe themselves in English.
    parseur.addOption({{"h", "help", "?"}, QString::fromUtf8("Affiche cette aide.")});
    parseur.addOption({{"v", "version"}, QString::fromUtf8("Affiche la version du jeu.")});
}

// French quotation marks and spacing in Qt's own messages, which quote with straight marks
// and put a plain space before a colon.
QString EnFrancais(QString texte) {
    static const QRegularExpression guillemets(QStringLiteral("\"([^\"]*)\""));
    texte.replace(guillemets, QString::fromUtf8("«\u00a0\\1\u00a0»"));
    return texte.replace(QStringLiteral(" :"), QString::fromUtf8("\u00a0:"));
}

LectureOptions Erreur(const QString& message) {
    const QString programme = QStringLiteral("tir-au-murax");
    return {
        Options{}, 2,
        QString::fromUtf8("%1\u00a0: %2\nEssayez «\u00a0%1 --help\u00a0» pour en savoir plus.\n")
            .arg(programme, EnFrancais(message))};
}

// The level named `texte`, accents and capitals allowed; false when it names none.
bool LisNiveau(const QString& texte, Niveau& niveau) {
    const QString t = texte.toLower();
    if (t == "debutant" || t == QString::fromUtf8("débutant")) {
        niveau = Niveau::Debutant;
    } else if (t == "moyen") {
        niveau = Niveau::Moyen;
    } else if (t == "expert") {
        niveau = Niveau::Expert;
    } else if (t == "auto") {
        niveau = Niveau::Auto;
    } else {
        return false;
    }
    return true;
}

}  // namespace

LectureOptions LisOptions(const QStringList& arguments) {
    QCommandLineParser parseur;
    DecritOptions(parseur);
    if (!parseur.parse(OrdinateurSansValeur(arguments))) return Erreur(parseur.errorText());
    if (parseur.isSet(QStringLiteral("help")))
        return {Options{}, 0, EnFrancais(parseur.helpText())};
    if (parseur.isSet(QStringLiteral("version"))) {
        return {Options{}, 0, QStringLiteral("Tir au Murax %1\n").arg(QStringLiteral(TIR_VERSION))};
    }
    if (!parseur.positionalArguments().isEmpty()) {
        return Erreur(QString::fromUtf8("argument inattendu «\u00a0%1\u00a0».")
                          .arg(parseur.positionalArguments().constFirst()));
    }
    LectureOptions lu;
    if (parseur.isSet(kOrdinateur)) {
        const QString joueurs = parseur.value(kOrdinateur);
        if (!EstJoueurs(joueurs)) {
            return Erreur(QString::fromUtf8("joueur inconnu pour --ordinateur\u00a0: "
                                            "«\u00a0%1\u00a0» (A, B ou AB).")
                              .arg(joueurs));
        }
        lu.options.ordinateur = {joueurs.contains('A', Qt::CaseInsensitive),
                                 joueurs.contains('B', Qt::CaseInsensitive)};
    }
    if (parseur.isSet(kNiveau) && !LisNiveau(parseur.value(kNiveau), lu.options.niveau)) {
        return Erreur(QString::fromUtf8("niveau inconnu\u00a0: «\u00a0%1\u00a0» (debutant, "
                                        "moyen, expert ou auto).")
                          .arg(parseur.value(kNiveau)));
    }
    lu.options.traces = parseur.isSet(kTraces);
    return lu;
}

QStringList SansOptionsDeQt(const QStringList& arguments) {
    QStringList reste;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == "--") return reste + arguments.mid(i);  // the rest is not options
        if (i == 0 || !a.startsWith('-')) {
            reste << a;
            continue;
        }
        QString nom = a.mid(a.startsWith(QStringLiteral("--")) ? 2 : 1);
        const bool valeurJointe = nom.contains('=');
        nom = nom.section('=', 0, 0);
        if (kOptionsQtSansValeur.contains(nom)) continue;
        if (!kOptionsQtAvecValeur.contains(nom)) {
            reste << a;
            continue;
        }
        if (!valeurJointe) ++i;  // the value follows
    }
    return reste;
}

}  // namespace tir
