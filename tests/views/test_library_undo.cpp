#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>

#include "requiredchild.h"
#include "app/mainwindow.h"
#include "devicerecord.h"
#include "library/blflarchive.h"
#include "library/libraryjson.h"
#include "library/qxffixturefile.h"
#include "model/localfixturedefinitionlistmodel.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "model/twocolumnssortfilterproxymodel.h"
#include "views/libraryform.h"
#include "views/libraryhistory.h"
#include "views/localfixturedefinitioneditform.h"
#include "views/widgets/userprompts.h"

#include <memory>
#include <vector>

namespace
{

// The library as `library list --json --channels` prints it: every stored field.
QByteArray json(const LibraryForm &form)
{
    const QList<QBLFixtureDefinition *> all = form.listModel()->definitions();
    return LibraryJson::write(QList<const QBLFixtureDefinition *>(all.cbegin(), all.cend()), true);
}

// Short names are left automatic (a file stores them empty) except on every fifth definition
// and the third channel, which carry chosen ones.
std::unique_ptr<QBLFixtureDefinition> makeDefinition(int k)
{
    auto d = std::make_unique<QBLFixtureDefinition>();
    d->setFixtureName(QString("Fixture %1").arg(k));
    d->setManufacturerName(QString("Maker %1").arg(k % 7));
    if (k % 5 == 4) {
        d->setAutoFixtureNameShort(false);
        d->setFixtureNameShort(QString("F%1").arg(k));
    }
    for (int c = 0; c < k % 5; ++c) {
        auto *channel = new QBLFixtureChannel;
        channel->setNumber(c + 1);
        channel->setName(QString("Ch %1").arg(c + 1));
        if (c % 3 == 2) {
            channel->setAutoNameShort(false);
            channel->setNameShort(QString("C%1").arg(c));
        }
        d->channels().append(channel);
    }
    return d;
}

bool writeLibraryFile(const QString &path, int first, int count)
{
    std::vector<std::unique_ptr<QBLFixtureDefinition>> made;
    QList<QBLFixtureDefinition *> list;
    for (int k = first; k < first + count; ++k) {
        made.push_back(makeDefinition(k));
        list.append(made.back().get());
    }
    BLFLArchive archive(path);
    archive.setDefinitions(&list);
    return archive.save();
}

// Definitions as a download from the controller makes them: read back from device records.
std::vector<std::unique_ptr<QBLFixtureDefinition>> downloaded(int first, int count)
{
    std::vector<std::unique_ptr<QBLFixtureDefinition>> out;
    for (int k = first; k < first + count; ++k) {
        std::unique_ptr<QBLFixtureDefinition> stored = makeDefinition(k);
        out.push_back(std::make_unique<QBLFixtureDefinition>());
        decodeDeviceRecord(encodeDeviceRecord(*stored), *out.back());
    }
    return out;
}

// Definitions as the QLC+ catalogue makes them: one per mode of a fixture file.
std::vector<std::unique_ptr<QBLFixtureDefinition>> fromCatalogue(int k)
{
    const QByteArray document =
        "<FixtureDefinition><Manufacturer>Acme</Manufacturer><Model>Par " + QByteArray::number(k) +
        "</Model><Type>Dimmer</Type><Channel Name=\"Dim\"/><Channel Name=\"Strobe\"/>"
        "<Mode Name=\"1ch\"><Channel Number=\"0\">Dim</Channel></Mode>"
        "<Mode Name=\"2ch\"><Channel Number=\"0\">Dim</Channel>"
        "<Channel Number=\"1\">Strobe</Channel></Mode></FixtureDefinition>";
    QxfFixture fixture;
    QString reason;
    if (!Qxf::parse(document, fixture, reason))
        return {};
    return Qxf::toDefinitions(fixture);
}

} // namespace

class LibraryUndo : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    // The pane under test: alone, or inside the window for the window's modified mark.
    std::unique_ptr<QWidget> top;
    LibraryForm *form = nullptr;
    MainWindow *window = nullptr;

    template <typename T> T *child(const char *name) { return requiredChild<T>(form, name); }
    QUndoStack *stack() { return form->history()->stack(); }
    QTableView *table() { return form->tableView(); }

    void fill(int count)
    {
        std::vector<std::unique_ptr<QBLFixtureDefinition>> made;
        QList<const QBLFixtureDefinition *> list;
        for (int k = 0; k < count; ++k) {
            made.push_back(makeDefinition(k));
            made.back()->applyAutoShortNames();
            for (QBLFixtureChannel *channel : made.back()->channels())
                channel->applyAutoNameShort();
            list.append(made.back().get());
        }
        form->addDefinitions(list);
    }
    void selectProxyRows(const QList<int> &rows)
    {
        QItemSelectionModel *selection = table()->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(table()->model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (!rows.isEmpty())
            selection->setCurrentIndex(table()->model()->index(rows.last(), 0),
                                       QItemSelectionModel::NoUpdate);
        form->updateCurrentFixtureDefinition();
    }
    void type(const char *field, const QString &text)
    {
        auto *edit = child<QLineEdit>(field);
        if (edit->isEnabled())
            QTest::keyClicks(edit, text);
    }
    // A box its field has greyed out is left alone: the user could not click it.
    void clickIfEnabled(const char *box)
    {
        auto *check = child<QCheckBox>(box);
        if (check->isEnabled())
            QTest::mouseClick(check, Qt::LeftButton);
    }
    static QList<const QBLFixtureDefinition *>
    pointers(const std::vector<std::unique_ptr<QBLFixtureDefinition>> &definitions)
    {
        QList<const QBLFixtureDefinition *> list;
        for (const auto &d : definitions)
            list.append(d.get());
        return list;
    }

    // One random edit of any kind the library knows, through the path the window takes.
    void randomEdit(QRandomGenerator &random)
    {
        const int rows = table()->model()->rowCount();
        if (rows > 0)
            selectProxyRows({int(random.bounded(rows))});
        const int channels =
            form->editor()->definition() ? form->editor()->definition()->nbrOfChannels() : 0;
        if (channels > 0)
            form->editor()->showChannel(int(random.bounded(channels)));
        static const char *const autoShortNameBoxes[] = {"autoFixtureNameShort",
                                                         "autoManufacturerNameShort"};
        static const char *const channelButtons[] = {"addChannel", "pushButton", "channelUp",
                                                     "channelDown"};
        const int action = int(random.bounded(22));
        switch (action) {
        case 0:
            form->on_addFixtureDefinition_clicked();
            break;
        case 1:
            if (rows > 1)
                selectProxyRows({int(random.bounded(rows)), int(random.bounded(rows))});
            form->duplicateFixtures_clicked();
            break;
        case 2: {
            QList<int> chosen;
            for (int k = 2 + int(random.bounded(4)); k > 0 && rows > 0; --k)
                chosen.append(int(random.bounded(rows)));
            selectProxyRows(chosen);
            form->deleteSelected();
            break;
        }
        case 3:
            window->on_actionImport_Library_triggered();
            break;
        case 4:
            if (rows > 0)
                table()->model()->setData(
                    table()->model()->index(int(random.bounded(rows)), 2 * int(random.bounded(2))),
                    QString("Renamed %1").arg(random.bounded(100)));
            break;
        case 5:
            type("fixtureName", random.bounded(3) ? "ab" : "\b\b\b\b\b\b\b\b\b\b\b\b");
            break;
        case 6:
            type("manufacturerName", random.bounded(3) ? "xy" : "x\b");
            break;
        case 7:
            type("fixtureNameShort", "S");
            break;
        case 8:
            type("manufacturerNameShort", "M");
            break;
        case 9:
        case 10:
            clickIfEnabled(autoShortNameBoxes[action - 9]);
            break;
        case 11:
        case 12:
        case 13:
        case 14:
            QTest::mouseClick(child<QPushButton>(channelButtons[action - 11]), Qt::LeftButton);
            break;
        case 15:
            type("channelName", "q");
            break;
        case 16:
            clickIfEnabled("autoChannelNameShort");
            type("channelNameShort", "z");
            break;
        case 17:
            // The box is hidden in this version; the type is edited through it all the same.
            if (form->editor()->definition())
                child<QComboBox>("fixtureType")->setCurrentIndex(int(random.bounded(12)) - 1);
            break;
        case 18: {
            const auto list = downloaded(int(random.bounded(90)), 1 + int(random.bounded(3)));
            form->addDefinitions(
                pointers(list),
                list.size() == 1
                    ? QStringLiteral("Download Fixture Definition")
                    : QStringLiteral("Download %1 Fixture Definitions").arg(list.size()));
            break;
        }
        case 19: {
            const auto list = fromCatalogue(int(random.bounded(90)));
            QList<QBLFixtureDefinition *> chosen;
            for (const auto &d : list)
                if (chosen.isEmpty() || random.bounded(2))
                    chosen.append(d.get());
            form->addDefinitions(chosen);
            break;
        }
        case 20:
            if (rows > 0)
                selectProxyRows({int(random.bounded(rows))});
            form->deleteSelected();
            break;
        case 21:
            window->on_actionSave_Archive_triggered();
            break;
        }
        // Leaving a field ends its typing step, as a user moving on does.
        ++leave;
        if (leave % 3 == 0)
            table()->setFocus();
    }
    int leave = 0;

    // The window's mark is clear exactly when the history stands where the file was saved.
    bool markFollowsTheCleanIndex()
    {
        const bool atClean = stack()->index() == stack()->cleanIndex();
        if (window->isWindowModified() != atClean)
            return true;
        qWarning("modified mark %d at index %d, clean index %d", window->isWindowModified(),
                 stack()->index(), stack()->cleanIndex());
        return false;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
    }

    void init()
    {
        auto alone = std::make_unique<LibraryForm>();
        form = alone.get();
        top = std::move(alone);
        top->resize(600, 700);
        top->show();
        QVERIFY(QTest::qWaitForWindowExposed(top.get()));
    }
    void cleanup()
    {
        UserPrompts::setAnswerer({});
        window = nullptr;
        form = nullptr;
        top.reset();
    }

    void undoingEverySequenceRestoresTheStartAndRedoingRestoresTheEnd()
    {
        const QString path = dir.filePath("start.blfl");
        const QString imported = dir.filePath("import.blfl");
        QVERIFY(writeLibraryFile(path, 0, 50));
        QVERIFY(writeLibraryFile(imported, 100, 2));
        // Only Import asks: the file to import. Saving writes the existing file.
        int imports = 0;
        int unexpected = 0;
        UserPrompts::setAnswerer([&](const UserPrompts::Prompt &prompt) {
            if (prompt.kind != UserPrompts::Kind::OpenFile) {
                ++unexpected;
                return UserPrompts::Answer{QMessageBox::Cancel, QString()};
            }
            ++imports;
            return UserPrompts::Answer{QMessageBox::NoButton, imported};
        });
        auto opened = std::make_unique<MainWindow>(path);
        window = opened.get();
        form = window->findChild<LibraryForm *>("libraryForm");
        top = std::move(opened);
        top->show();
        QVERIFY(QTest::qWaitForWindowExposed(top.get()));
        QCOMPARE(form->listModel()->rowCount(), 50);
        // As read from the file: the automatic short names are stored empty.
        QVERIFY(json(*form).contains("\"fixtureNameShort\": \"\""));
        QVERIFY(json(*form).contains("\"nameShort\": \"\""));
        QVERIFY(!window->isWindowModified());

        QRandomGenerator random(13);
        for (int sequence = 0; sequence < 200; ++sequence) {
            const QByteArray start = json(*form);
            const int edits = 1 + int(random.bounded(40));
            for (int k = 0; k < edits; ++k) {
                randomEdit(random);
                QVERIFY(markFollowsTheCleanIndex());
            }
            const QByteArray end = json(*form);
            const int steps = stack()->index();
            while (stack()->canUndo()) {
                stack()->undo();
                QVERIFY(markFollowsTheCleanIndex());
            }
            QCOMPARE(json(*form), start);
            QCOMPARE(form->listModel()->rowCount(), form->proxyModel()->rowCount());
            while (stack()->canRedo()) {
                stack()->redo();
                QVERIFY(markFollowsTheCleanIndex());
            }
            QCOMPARE(stack()->index(), steps);
            QCOMPARE(json(*form), end);
            // Every other sequence is left undone, so the library does not only grow.
            if (sequence % 2)
                while (stack()->canUndo())
                    stack()->undo();
            stack()->clear();
            QVERIFY(markFollowsTheCleanIndex());
        }
        QCOMPARE(unexpected, 0);
        QVERIFY(imports > 0);
    }

    void typingInOneFieldIsOneStepUntilTheFieldIsLeft()
    {
        fill(2);
        stack()->clear();
        selectProxyRows({0});
        auto *name = child<QLineEdit>("fixtureName");
        QTest::keyClicks(name, " Spot");
        QCOMPARE(stack()->count(), 1);
        QCOMPARE(stack()->undoText(), QString("Edit Fixture Name"));
        QTest::keyClicks(child<QLineEdit>("manufacturerName"), "X");
        QCOMPARE(stack()->count(), 2);
        emit name->editingFinished();
        QTest::keyClicks(name, "!");
        QCOMPARE(stack()->count(), 3);
        stack()->undo();
        QCOMPARE(name->text(), QString("Fixture 0 Spot"));
        stack()->undo();
        stack()->undo();
        QCOMPARE(name->text(), QString("Fixture 0"));
        QCOMPARE(form->listModel()->definitionAt(0)->fixtureNameShort(), QString("Fixture 0"));
        // Typed and typed away again leaves no step.
        QTest::keyClicks(name, "a\b");
        QCOMPARE(stack()->index(), 0);
    }

    // A file stores automatic short names empty: looking at the definition derives none, and
    // typing that ends where it began leaves neither a step nor a derived short name behind.
    void aDefinitionReadFromAFileStaysAsReadUntilItIsEdited()
    {
        const QString path = dir.filePath("shown.blfl");
        QVERIFY(writeLibraryFile(path, 1, 3));
        BLFLArchive archive(path);
        QVERIFY(archive.load());
        QVERIFY(form->setArchive(&archive));
        const QByteArray read = json(*form);
        selectProxyRows({1});
        form->editor()->showChannel(1);
        QCOMPARE(child<QLineEdit>("fixtureNameShort")->text(), QString("Fixture 2"));
        QCOMPARE(child<QLineEdit>("channelNameShort")->text(), QString("Ch 2"));
        QCOMPARE(json(*form), read);
        QTest::keyClicks(child<QLineEdit>("fixtureName"), "a\b");
        QTest::keyClicks(child<QLineEdit>("channelName"), "b\b");
        QCOMPARE(stack()->count(), 0);
        QCOMPARE(json(*form), read);
        QTest::keyClicks(child<QLineEdit>("fixtureName"), "X");
        QCOMPARE(form->listModel()->definitionAt(1)->fixtureNameShort(), QString("Fixture 2X"));
        stack()->undo();
        QCOMPARE(json(*form), read);
    }

    void undoingADeleteSelectsWhatCameBackAndNamesTheCount()
    {
        fill(12);
        selectProxyRows({1, 2, 5});
        QStringList deleted;
        for (const QBLFixtureDefinition *d : form->selectedDefinitions())
            deleted << d->fixtureName();
        deleted.sort();
        form->deleteSelected();
        QCOMPARE(stack()->undoText(), QString("Delete 3 Fixture Definitions"));
        QCOMPARE(form->listModel()->rowCount(), 9);
        stack()->undo();
        QCOMPARE(form->listModel()->rowCount(), 12);
        QStringList selected;
        for (const QBLFixtureDefinition *d : form->selectedDefinitions())
            selected << d->fixtureName();
        selected.sort();
        QCOMPARE(selected, deleted);
        QVERIFY(form->editor()->definition());
        QVERIFY(selected.contains(form->editor()->definition()->fixtureName()));
    }

    void aRenameInTheTableIsUndoneAndShownInTheEditor()
    {
        fill(1);
        selectProxyRows({0});
        table()->model()->setData(table()->model()->index(0, 0), "Wash 7");
        QCOMPARE(child<QLineEdit>("fixtureName")->text(), QString("Wash 7"));
        QCOMPARE(child<QLineEdit>("fixtureNameShort")->text(), QString("Wash 7"));
        stack()->undo();
        QCOMPARE(child<QLineEdit>("fixtureName")->text(), QString("Fixture 0"));
        QCOMPARE(table()->model()->index(0, 0).data().toString(), QString("Fixture 0"));
    }

    void emptyingTheNameWithAutoShortNameRefiltersOnTheDerivedName()
    {
        fill(3);
        form->proxyModel()->setFilterOnFixtureName(true);
        form->proxyModel()->setFilterText("Fixture 1");
        QCOMPARE(form->proxyModel()->acceptedRowCount(), 1);
        selectProxyRows({0});
        auto *name = child<QLineEdit>("fixtureName");
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Backspace);
        QCOMPARE(form->listModel()->definitionAt(1)->displayName(), QString());
        QCOMPARE(form->proxyModel()->acceptedRowCount(), 0);
        QCOMPARE(form->proxyModel()->rowCount(), 0);
    }
};

QTEST_MAIN(LibraryUndo)
#include "test_library_undo.moc"
