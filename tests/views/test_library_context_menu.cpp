#include <QtTest>

#include <QMenu>
#include <QSignalSpy>
#include <QTableView>

#include "model/localfixturedefinitionlistmodel.h"
#include "model/qblfixturedefinition.h"
#include "views/libraryform.h"

class LibraryContextMenu : public QObject
{
    Q_OBJECT

private:
    static QStringList entries(QMenu *menu)
    {
        QStringList texts;
        for (QAction *action : menu->actions())
            texts << (action->isSeparator() ? QString("--") : action->text());
        return texts;
    }
    static QAction *entry(QMenu *menu, const QString &text)
    {
        for (QAction *action : menu->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    static void fill(LibraryForm &form, int count)
    {
        for (int k = 0; k < count; ++k) {
            QBLFixtureDefinition d;
            d.setFixtureName(QString("Fixture %1").arg(k));
            form.addDefinition(&d);
        }
    }

private slots:
    void withoutSelectionOnlySelectAllAndAddAreOffered()
    {
        LibraryForm form;
        fill(form, 2);
        form.clearSelection();
        std::unique_ptr<QMenu> menu(form.createContextMenu(nullptr));
        QCOMPARE(entries(menu.get()),
                 (QStringList{"Select all", "--", "Add new fixture definition"}));
    }

    void withASelectionEveryEntryIsOfferedAndDeleteSaysWhatItDeletes()
    {
        LibraryForm form;
        fill(form, 2);
        form.selectAll();
        std::unique_ptr<QMenu> menu(form.createContextMenu(nullptr));
        QCOMPARE(
            entries(menu.get()),
            (QStringList{"Select all", "Clear selection", "--", "Copy selected to KDR-450P",
                         "Add new fixture definition", "Duplicate selected fixture definitions",
                         "Delete selected fixture definitions"}));
    }

    void whileAnOperationRunsOnlyCopyingToTheDeviceIsDisabled()
    {
        LibraryForm form;
        fill(form, 1);
        form.selectAll();
        form.operationStarts();
        std::unique_ptr<QMenu> menu(form.createContextMenu(nullptr));
        QVERIFY(!entry(menu.get(), "Copy selected to KDR-450P")->isEnabled());
        QVERIFY(entry(menu.get(), "Duplicate selected fixture definitions")->isEnabled());
        QVERIFY(entry(menu.get(), "Delete selected fixture definitions")->isEnabled());
        // An open menu follows the end of the operation.
        form.operationEnds();
        QVERIFY(entry(menu.get(), "Copy selected to KDR-450P")->isEnabled());
    }

    void theEntriesDoWhatTheySay()
    {
        LibraryForm form;
        fill(form, 3);
        form.selectAll();
        QSignalSpy copy(&form, &LibraryForm::copyToDeviceRequested);
        std::unique_ptr<QMenu> menu(form.createContextMenu(nullptr));
        entry(menu.get(), "Copy selected to KDR-450P")->trigger();
        QCOMPARE(copy.size(), 1);
        entry(menu.get(), "Duplicate selected fixture definitions")->trigger();
        QCOMPARE(form.listModel()->rowCount(), 6);
        entry(menu.get(), "Add new fixture definition")->trigger();
        QCOMPARE(form.listModel()->rowCount(), 7);
        form.selectAll();
        menu.reset(form.createContextMenu(nullptr));
        entry(menu.get(), "Clear selection")->trigger();
        QVERIFY(form.selectedDefinitions().isEmpty());
        entry(menu.get(), "Select all")->trigger();
        QCOMPARE(form.selectedDefinitions().size(), 7);
        entry(menu.get(), "Delete selected fixture definitions")->trigger();
        QCOMPARE(form.listModel()->rowCount(), 0);
    }
};

QTEST_MAIN(LibraryContextMenu)
#include "test_library_context_menu.moc"
