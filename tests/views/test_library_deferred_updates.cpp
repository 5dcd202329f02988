#include <QtTest>

#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringListModel>

#include "model/qblfixturedefinition.h"
#include "model/twocolumnssortfilterproxymodel.h"
#include "views/libraryform.h"

// The pane serves one request per timer tick (100 ms once it runs, 400 ms at first).
class LibraryDeferredUpdates : public QObject
{
    Q_OBJECT

private:
    LibraryForm *form = nullptr;

    void add(const QString &name, const QString &maker)
    {
        QBLFixtureDefinition d;
        d.setFixtureName(name);
        d.setManufacturerName(maker);
        form->addDefinition(&d);
    }

    // Waits until a few ticks pass without any served request.
    void settle()
    {
        QSignalSpy filtered(form, &LibraryForm::filterUpdated);
        QSignalSpy counted(form, &LibraryForm::signalUpdateCounters);
        QStringListModel *completions =
            qobject_cast<QStringListModel *>(lineEdit()->completer()->model());
        QSignalSpy completed(completions, &QAbstractItemModel::modelReset);
        for (int quiet = 0; quiet < 6;) {
            const qsizetype before = filtered.size() + counted.size() + completed.size();
            QTest::qWait(110);
            quiet = filtered.size() + counted.size() + completed.size() == before ? quiet + 1 : 0;
        }
    }

    QLineEdit *lineEdit() { return form->findChild<QLineEdit *>("filterLineEdit"); }
    QStringList completions()
    {
        return qobject_cast<QStringListModel *>(lineEdit()->completer()->model())->stringList();
    }

private slots:
    void init()
    {
        form = new LibraryForm;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        add("Spot 575", "Brenlow");
        add("Spotlight Mini", "Lumatek");
        add("Wash 300", "Brenlow");
        add("Fog 900", "Smokey");
        settle();
    }

    void cleanup()
    {
        delete form;
        form = nullptr;
    }

    void fiveQuickKeystrokesRefilterOnceAndThenCountOnce()
    {
        QSignalSpy filtered(form, &LibraryForm::filterUpdated);
        QSignalSpy counted(form, &LibraryForm::signalUpdateCounters);
        QTest::keyClicks(lineEdit(), "spotl");
        QCOMPARE(form->proxyModel()->rowCount(), 4); // nothing happens between ticks

        QVERIFY(filtered.wait(3000));
        QCOMPARE(filtered.size(), 1);
        QCOMPARE(counted.size(), 0);
        QCOMPARE(form->proxyModel()->rowCount(), 1);

        QVERIFY(counted.wait(3000));
        QCOMPARE(filtered.size(), 1);
        QCOMPARE(counted.size(), 1);
        QCOMPARE(counted.at(0), (QList<QVariant>{1, 4, 0}));
        settle();
        QCOMPARE(filtered.size(), 1);
        QCOMPARE(counted.size(), 1);
    }

    void theFilterMatchesManufacturersToo()
    {
        QTest::keyClicks(lineEdit(), "BRENLOW");
        QTRY_COMPARE_WITH_TIMEOUT(form->proxyModel()->rowCount(), 2, 3000);
        QTest::mouseClick(form->findChild<QPushButton *>("manufacturerBttn"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(form->proxyModel()->rowCount(), 0, 3000);
    }

    void theManufacturerButtonRefiltersFirstAndRefreshesCompletionsLater()
    {
        QCOMPARE(completions(), (QStringList{"Brenlow", "Fog 900", "Lumatek", "Smokey", "Spot 575",
                                             "Spotlight Mini", "Wash 300"}));
        QSignalSpy filtered(form, &LibraryForm::filterUpdated);
        QStringListModel *model =
            qobject_cast<QStringListModel *>(lineEdit()->completer()->model());
        QSignalSpy completed(model, &QAbstractItemModel::modelReset);
        QTest::mouseClick(form->findChild<QPushButton *>("manufacturerBttn"), Qt::LeftButton);
        QVERIFY(filtered.wait(3000));
        QCOMPARE(completed.size(), 0);
        QVERIFY(completed.wait(3000));
        QCOMPARE(filtered.size(), 1);
        QCOMPARE(completions(), (QStringList{"Fog 900", "Spot 575", "Spotlight Mini", "Wash 300"}));
    }

    void escapeClearsTheFilter()
    {
        QTest::keyClicks(lineEdit(), "wash");
        QTRY_COMPARE_WITH_TIMEOUT(form->proxyModel()->rowCount(), 1, 3000);
        QTest::keyClick(lineEdit(), Qt::Key_Escape);
        QTRY_COMPARE_WITH_TIMEOUT(form->proxyModel()->rowCount(), 4, 3000);
    }

    void theCounterFollowsTheSelection()
    {
        QSignalSpy counted(form, &LibraryForm::signalUpdateCounters);
        form->selectAll();
        QVERIFY(counted.wait(3000));
        QCOMPARE(counted.last(), (QList<QVariant>{4, 4, 4}));
        form->clearSelection();
        QVERIFY(counted.wait(3000));
        QCOMPARE(counted.last(), (QList<QVariant>{4, 4, 0}));
    }
};

QTEST_MAIN(LibraryDeferredUpdates)
#include "test_library_deferred_updates.moc"
