// Tir au Murax: one window, its real services, and the event loop.
#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include "platform/ServicesReels.h"
#include "window/Form1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
    return QApplication::exec();
}
