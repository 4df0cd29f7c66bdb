// Tir au Murax: one window, its real services, and the event loop.
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>

#include "platform/Arret.h"
#include "platform/ServicesReels.h"
#include "window/Form1.h"
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

}  // namespace

int main(int argc, char** argv) {
    tir::IgnoreSignauxDesEcritures();
    EpargneLaRechercheDuBus();
    QApplication app(argc, argv);
    tir::ArretSurSignal();
    // The name of the desktop entry: a Wayland desktop finds the game's icon and name through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("fr.tiraumurax.TirAuMurax"));
    tir::InstalleTraductions(app);
    // The classic bevelled look the layout was drawn for.
    QApplication::setStyle(QStyleFactory::create("Windows"));
    QApplication::setPalette(QApplication::style()->standardPalette());

    tir::HorlogeReelle horloge;
    tir::HasardReel hasard;
    tir::LecteurSdl lecteur;
    tir::SaisieQt saisie;
    tir::DossierProgramme dossier;
    tir::Form1 fenetre(tir::Services{horloge, hasard, lecteur, saisie, dossier});
    fenetre.show();
    tir::ArretAvecLaFenetre(fenetre);
    tir::FermetureSousDialogue(fenetre);
    return QApplication::exec();
}
