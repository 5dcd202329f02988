#pragma once

#include "views/widgets/userprompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class MainWindow;
class QTableView;
class QAction;

// Every program of these tests runs its windows on a simulated bus from its start on: an empty
// one, unless a test installs its own (SimulatedBus) for its lifetime. The serial-port backend
// is forbidden, so a window never probes the machine's ports; reaching it stops the program.
// How often the empty bus was asked for its device list.
int emptyBusListings();

// Answers the window's message boxes and file dialogs in the order they come and keeps every
// prompt for the test to inspect. A prompt without a prepared answer is recorded as
// unexpected and answered like a cancelled dialog.
class ScriptedPrompts
{
public:
    ScriptedPrompts();
    ~ScriptedPrompts();

    void thenAnswer(QMessageBox::StandardButton button);
    void thenChooseFile(const QString &fileName);
    void thenChooseFiles(const QStringList &fileNames);
    void thenCancelFileDialog() { thenChooseFile(QString()); }
    // The file chosen, the message box that refuses it answered, and the file dialog that
    // comes back cancelled.
    void thenChooseRefusedFile(const QString &fileName, QMessageBox::StandardButton answer);
    // Answers the next message box as the Escape key would.
    void thenPressEscape();

    QList<UserPrompts::Prompt> asked;
    int unexpected = 0;

    QStringList askedTexts() const;
    bool allAnswersUsed() const { return m_answers.isEmpty(); }

private:
    struct Scripted {
        UserPrompts::Answer answer;
        bool escape = false;
    };
    QList<Scripted> m_answers;
};

// Points the settings store at a private folder so tests never touch the user's settings.
// Call once before the first window is made.
void useTestSettings(const QString &folder);
void clearSettings();
QString settingValue(const QString &key);
void setSettingValue(const QString &key, const QString &value);

struct DefinitionSpec {
    QString fixtureName;
    QString manufacturerName;
    QStringList channelNames;
};

// Writes a library file through the archive class; false when the save failed.
bool writeLibrary(const QString &path, const QList<DefinitionSpec> &definitions);

// For test classes (as a second base after QObject) that keep their files in one private folder
// with the test settings in it.
class TestFolder
{
protected:
    // English is installed as the program does at its start, for the plural forms of counted
    // texts; without it the window shows the texts as written in the source.
    enum class Texts { Source, English };

    // For initTestCase: false when the folder cannot be made or English is not installed.
    bool makeTestFolder(Texts texts = Texts::Source);
    // The same, and libraryPath written in the folder: three definitions, two of one maker.
    bool makeTestFolderWithLibrary(Texts texts = Texts::Source);

    QTemporaryDir dir;
    QString libraryPath;
};

// For test classes (as a second base after QObject) that open library files: test settings in
// a private folder, and a folder of files that starts with stage.blfl (two definitions).
class StageFiles
{
protected:
    // For initTestCase: false when a folder or stage.blfl could not be made.
    bool makeStageFiles();
    QString path(const QString &name) const { return files.filePath(name); }

    QTemporaryDir files;

private:
    QTemporaryDir m_settingsDir;
};
// Fixture names of the definitions a library file holds, in file order (empty if unreadable).
QStringList fixtureNamesIn(const QString &path);

// Pieces of a window that tests drive or read.
QTableView *libraryTable(MainWindow &window);
int libraryRowCount(MainWindow &window);
QStringList libraryFixtureNames(MainWindow &window);
QAction *windowAction(MainWindow &window, const char *objectName);
// Triggers the action; a missing one fails the test.
void triggerAction(MainWindow &window, const char *objectName);
// The title as the window system shows it, with the modified mark resolved.
QString shownTitle(MainWindow &window);
