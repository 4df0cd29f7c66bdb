// Qt's own texts in French: the standard buttons of a dialog and a text field's context menu.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <memory>

#include "window/Traductions.h"

namespace tir {
namespace {

// The entries of a text field's context menu, without their shortcut letters and keys.
QStringList MenuDuChamp() {
    QLineEdit champ;
    std::unique_ptr<QMenu> menu(champ.createStandardContextMenu());
    QStringList textes;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        textes << action->text().section('\t', 0, 0).remove('&');
    }
    return textes;
}

QString BoutonAnnuler() {
    QDialogButtonBox boutons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    return boutons.button(QDialogButtonBox::Cancel)->text().remove('&');
}

int TraducteursInstalles() {
    return static_cast<int>(
        qApp->findChildren<QTranslator*>(QString(), Qt::FindDirectChildrenOnly).size());
}

// Takes out what a test installed, so that every test starts from Qt's English.
struct SansTraduction {
    SansTraduction() { Retire(); }
    ~SansTraduction() { Retire(); }
    static void Retire() {
        for (QTranslator* t :
             qApp->findChildren<QTranslator*>(QString(), Qt::FindDirectChildrenOnly)) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
};

TEST(Traductions, TheTextFieldsContextMenuAndTheDialogButtonsAreInFrench) {
    // Guards against the record dialog mixing English from Qt with the game's French, and a
    // translator piled on at every call.
    SansTraduction propre;
    ASSERT_TRUE(MenuDuChamp().contains("Undo")) << "Qt speaks English until told otherwise";
    InstalleTraductions(*qApp);
    InstalleTraductions(*qApp);
    EXPECT_EQ(TraducteursInstalles(), 1);
    const QStringList menu = MenuDuChamp();
    for (const char* attendu :
         {"Annuler", "Rétablir", "Couper", "Copier", "Coller", "Supprimer", "Tout sélectionner"}) {
        EXPECT_TRUE(menu.contains(QString::fromUtf8(attendu)))
            << attendu << " in " << menu.join(", ").toStdString();
    }
    EXPECT_FALSE(menu.contains("Undo"));
    EXPECT_EQ(BoutonAnnuler(), "Annuler");
}

TEST(Traductions, AFolderWithoutTheTranslationChangesNothing) {
    // Guards against a failed load that installs an empty translator or stops the game.
    SansTraduction propre;
    QTemporaryDir vide;
    EXPECT_FALSE(InstalleTraductions(*qApp, vide.path()));
    EXPECT_EQ(TraducteursInstalles(), 0);
    EXPECT_TRUE(MenuDuChamp().contains("Undo"));
}

}  // namespace
}  // namespace tir
