// Tir au Murax: the command line, one window, its real services, and the event loop.
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>
#include <cstdio>

#include "platform/Arret.h"
#include "platform/ServicesReels.h"
#include "window/Form1.h"
#include "window/Options.h"
#include "window/Traductions.h"

namespace {

// Screen readers reach the game through the desktop's session bus, which Qt looks for at
// start-up. With no address given, D-Bus tries the per-user socket, and otherwise forks to run
// "dbus-launch" in every folder of the PATH. When neither the socket nor dbus-launch exists that
// search can only fail, and it costs a fork of the whole process before the first frame: point
// D-Bus at the per-user socket alone, so it fails at once. Where a bus can be found nothing
// changes, and a screen reader finds the game as before.
void EpargneLaRechercheDuBus() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return;
    const QString runtime =
        qEnvironmentVariable("XDG_RUNTIME_DIR", QStringLiteral("/run/user/%1").arg(getuid()));
    const QString socket = runtime + QStringLiteral("/bus");
    if (QFileInfo::exists(socket)) return;
    if (!QStandardPaths::findExecutable(QStringLiteral("dbus-launch")).isEmpty()) return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", QStringLiteral("unix:path=%1").arg(socket).toLocal8Bit());
}

const char* const kSansAffichage =
    "Tir au Murax a besoin d'une session graphique (X11 ou Wayland)\u00a0: aucun affichage "
    "n'est accessible d'ici.\nLancez le jeu depuis le bureau, ou indiquez l'écran à utiliser "
    "(variable DISPLAY ou WAYLAND_DISPLAY).\n";

// Whether a window system may be reached: a platform named on the command line or in
// QT_QPA_PLATFORM is left to Qt to try; otherwise Qt tries X11 or Wayland, which need their
// display's address.
bool AffichagePossible(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "-platform" || a == "--platform" || a.startsWith("-platform=")) return true;
    }
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// While the application starts, a window system that cannot be reached makes Qt stop the program
// with an English message and a core dump: the player reads instead, in French, what is missing,
// and the game ends with status 1. Qt's warnings of the same moment are held, and shown only if
// the start succeeds.
QtMessageHandler gAncienMessager = nullptr;
QList<std::pair<QtMsgType, QString>> gMessagesRetenus;

void MessagerDuDemarrage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(kSansAffichage, stderr);
        std::fflush(stderr);
        _exit(1);
    }
    gMessagesRetenus.append({type, message});
}

void FinDuDemarrage() {
    qInstallMessageHandler(gAncienMessager);
    for (const auto& [type, message] : std::as_const(gMessagesRetenus)) {
        const QByteArray texte = message.toUtf8();
        switch (type) {
            case QtDebugMsg:
                qDebug("%s", texte.constData());
                break;
            case QtInfoMsg:
                qInfo("%s", texte.constData());
                break;
            case QtCriticalMsg:
                qCritical("%s", texte.constData());
                break;
            default:
                qWarning("%s", texte.constData());
                break;
        }
    }
    gMessagesRetenus.clear();
}

// Prints what reading the command line gave, and the status to end with.
int Affiche(const tir::LectureOptions& lu) {
    std::fputs(lu.texte.toLocal8Bit().constData(), lu.sortie == 0 ? stdout : stderr);
    return lu.sortie;
}

// No window system: the command line is still read (--help and --version work from a text
// console), then the player is told what is missing.
int SansAffichage(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    tir::InstalleTraductions(*QCoreApplication::instance());
    const tir::LectureOptions lu = tir::LisOptions(tir::SansOptionsDeQt(app.arguments()));
    if (lu.sortie >= 0) return Affiche(lu);
    std::fputs(kSansAffichage, stderr);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    tir::IgnoreSignauxDesEcritures();
    if (!AffichagePossible(argc, argv)) return SansAffichage(argc, argv);
    EpargneLaRechercheDuBus();
    gAncienMessager = qInstallMessageHandler(MessagerDuDemarrage);
    QApplication app(argc, argv);
    FinDuDemarrage();
    tir::InstalleTraductions(app);
    // Qt's own options are out of the arguments by now.
    const tir::LectureOptions lu = tir::LisOptions(QApplication::arguments());
    if (lu.sortie >= 0) return Affiche(lu);
    tir::ArretSurSignal();
    // The name of the desktop entry: a Wayland desktop finds the game's icon and name through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.tiraumurax.TirAuMurax"));
    // The classic bevelled look the layout was drawn for.
    QApplication::setStyle(QStyleFactory::create("Windows"));
    QApplication::setPalette(QApplication::style()->standardPalette());

    tir::HorlogeReelle horloge;
    tir::HasardReel hasard;
    tir::LecteurSdl lecteur;
    tir::SaisieQt saisie;
    tir::DossierProgramme dossier;
    tir::Form1 fenetre(tir::Services{horloge, hasard, lecteur, saisie, dossier}, nullptr,
                       lu.options);
    fenetre.show();
    tir::ArretAvecLaFenetre(fenetre);
    tir::FermetureSousDialogue(fenetre);
    return QApplication::exec();
}
