#include "windowtesting.h"

#include "app/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Closing the window with and without unsaved library changes.
class ClosingWithChanges : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir files;

    QString copyOfSample(const QString &name)
    {
        const QString path = files.filePath(name);
        QFile::remove(path);
        if (!QFile::copy(QStringLiteral(KDR_SOURCE_DIR "/tests/app/data/sample.blfl"), path))
            return QString();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(settingsDir.isValid());
        useTestSettings(settingsDir.path());
    }

    void init() { clearSettings(); }

    void anUnchangedLibraryClosesWithoutAQuestion()
    {
        const QString path = copyOfSample("plain.blfl");
        ScriptedPrompts prompts;
        MainWindow window(path);
        window.show();
        // The first device discovery has ended; closing during it waits for its end.
        QTRY_VERIFY(!window.isOperationRunning());
        QVERIFY(window.close());
        QVERIFY(prompts.asked.isEmpty());
        QCOMPARE(settingValue("library"), path);
    }

    void aChangedLibraryAsksSaveDiscardOrCancel()
    {
        ScriptedPrompts prompts;
        MainWindow window(copyOfSample("changed.blfl"));
        window.show();
        // The first device discovery has ended; closing during it waits for its end.
        QTRY_VERIFY(!window.isOperationRunning());
        window.windowModified();
        prompts.thenAnswer(QMessageBox::Discard);
        QVERIFY(window.close());
        QCOMPARE(prompts.asked.size(), 1);
        const UserPrompts::Prompt &question = prompts.asked.first();
        QCOMPARE(question.text, QStringLiteral("The library has been modified."));
        QCOMPARE(question.informativeText, QStringLiteral("Do you want to save your changes?"));
        QCOMPARE(question.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(question.defaultButton, QMessageBox::Save);
    }

    void cancelKeepsTheWindowOpenAndStillRemembersTheLibrary()
    {
        const QString path = copyOfSample("cancel.blfl");
        ScriptedPrompts prompts;
        MainWindow window(path);
        window.show();
        // The first device discovery has ended; closing during it waits for its end.
        QTRY_VERIFY(!window.isOperationRunning());
        window.windowModified();
        clearSettings();
        prompts.thenAnswer(QMessageBox::Cancel);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(window.isWindowModified());
        QCOMPARE(settingValue("library"), path);
    }

    void saveWritesTheLibraryAndCloses()
    {
        const QString path = copyOfSample("save.blfl");
        ScriptedPrompts prompts;
        MainWindow window(path);
        window.show();
        // The first device discovery has ended; closing during it waits for its end.
        QTRY_VERIFY(!window.isOperationRunning());
        QVERIFY(QFile::remove(path));
        window.windowModified();
        prompts.thenAnswer(QMessageBox::Save);
        prompts.thenChooseFile(path); // the file is gone, so Save asks for a name
        QVERIFY(window.close());
        QVERIFY(!fixtureNamesIn(path).isEmpty());
    }

    void aSaveThatDoesNotHappenKeepsTheWindowOpen()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        window.show();
        // The first device discovery has ended; closing during it waits for its end.
        QTRY_VERIFY(!window.isOperationRunning());
        window.windowModified();
        prompts.thenAnswer(QMessageBox::Save);
        prompts.thenCancelFileDialog(); // a new library has no file: Save As, cancelled
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(window.isWindowModified());
    }

    void quitClosesTheWindow()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        window.show();
        // The first device discovery has ended; closing during it waits for its end.
        QTRY_VERIFY(!window.isOperationRunning());
        windowAction(window, "actionQuit")->trigger();
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(ClosingWithChanges)
#include "test_closing_with_changes.moc"
