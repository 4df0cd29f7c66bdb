// Qt's own texts in French, from Debian's Qt translations.
#include "window/Traductions.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tir {

namespace {

// The translation of Qt's base module: dialogs, standard buttons, a text field's context menu.
const char* const kTraductionQt = "qtbase_fr";

}  // namespace

void InstalleTraductions(QCoreApplication& app) {
    InstalleTraductions(app, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool InstalleTraductions(QCoreApplication& app, const QString& dossier) {
    // The translator lives as long as the application, as its child under the file's name.
    if (app.findChild<QTranslator*>(QLatin1String(kTraductionQt), Qt::FindDirectChildrenOnly)) {
        return true;
    }
    auto* traducteur = new QTranslator(&app);
    if (!traducteur->load(QLatin1String(kTraductionQt), dossier) ||
        !QCoreApplication::installTranslator(traducteur)) {
        delete traducteur;
        return false;
    }
    traducteur->setObjectName(QLatin1String(kTraductionQt));
    return true;
}

}  // namespace tir
