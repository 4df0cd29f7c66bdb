// Qt's own texts in French: the buttons of the record dialog and the context menu of its text
// field.
#pragma once

#include <QString>

class QCoreApplication;

namespace tir {

// Installs Qt's French translation from Qt's own translations folder; silently does nothing
// when it is missing. Installing it again changes nothing.
void InstalleTraductions(QCoreApplication& app);

// The same from `dossier`; tells whether a translation is installed afterwards.
bool InstalleTraductions(QCoreApplication& app, const QString& dossier);

}  // namespace tir
