#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QUndoStack>

#include "model/localfixturedefinitionlistmodel.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "model/twocolumnssortfilterproxymodel.h"
#include "views/libraryform.h"
#include "views/libraryhistory.h"
#include "views/localfixturedefinitioneditform.h"

#include <memory>
#include <vector>

namespace
{

// Every stored field of every definition, rows and channels in list order.
QString dump(const LibraryForm &form)
{
    QString out;
    for (const QBLFixtureDefinition *d : form.listModel()->definitions()) {
        out += QString("%1|%2|%3|%4|%5|%6|%7\n")
                   .arg(d->fixtureName(), d->fixtureNameShort())
                   .arg(d->isAutoFixtureNameShort())
                   .arg(d->manufacturerName(), d->manufacturerNameShort())
                   .arg(d->isAutoManufacturerNameShort())
                   .arg(d->fixtureType());
        for (const QBLFixtureChannel *c : d->channels())
            out += QString("  %1|%2|%3|%4\n")
                       .arg(c->number())
                       .arg(c->name(), c->nameShort())
                       .arg(c->isAutoNameShort());
    }
    return out;
}

std::unique_ptr<QBLFixtureDefinition> makeDefinition(int k)
{
    auto d = std::make_unique<QBLFixtureDefinition>();
    d->setFixtureName(QString("Fixture %1").arg(k));
    d->setManufacturerName(QString("Maker %1").arg(k % 7));
    d->applyAutoShortNames();
    for (int c = 0; c < k % 5; ++c) {
        auto *channel = new QBLFixtureChannel;
        channel->setNumber(c + 1);
        channel->setName(QString("Ch %1").arg(c + 1));
        channel->applyAutoNameShort();
        d->channels().append(channel);
    }
    return d;
}

} // namespace

class LibraryUndo : public QObject
{
    Q_OBJECT

    std::unique_ptr<LibraryForm> form;

    template <typename T> T *child(const char *name)
    {
        T *widget = form->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    QUndoStack *stack() { return form->history()->stack(); }
    QTableView *table() { return form->tableView(); }

    void fill(int count)
    {
        std::vector<std::unique_ptr<QBLFixtureDefinition>> made;
        QList<const QBLFixtureDefinition *> list;
        for (int k = 0; k < count; ++k) {
            made.push_back(makeDefinition(k));
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

    // One random edit of any kind the library knows.
    void randomEdit(QRandomGenerator &random)
    {
        const int rows = table()->model()->rowCount();
        if (rows > 0)
            selectProxyRows({int(random.bounded(rows))});
        const int channels = form->editor()->definition()
                                 ? form->editor()->definition()->nbrOfChannels()
                                 : 0;
        if (channels > 0)
            form->editor()->showChannel(int(random.bounded(channels)));
        switch (random.bounded(17)) {
        case 0:
            form->on_addFixtureDefinition_clicked();
            break;
        case 1:
            if (rows > 1)
                selectProxyRows({int(random.bounded(rows)), int(random.bounded(rows))});
            form->duplicateFixtures_clicked();
            break;
        case 2:
            if (rows > 2)
                selectProxyRows({0, int(random.bounded(rows)), rows - 1});
            form->deleteSelected();
            break;
        case 3: {
            std::unique_ptr<QBLFixtureDefinition> a = makeDefinition(int(random.bounded(90)));
            std::unique_ptr<QBLFixtureDefinition> b = makeDefinition(int(random.bounded(90)));
            form->addDefinitions({a.get(), b.get()}, "Import Library");
            break;
        }
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
            type("manufacturerName", "xy");
            break;
        case 7:
            type("fixtureNameShort", "S");
            break;
        case 8:
            type("manufacturerNameShort", "M");
            break;
        case 9:
            if (child<QCheckBox>("autoFixtureNameShort")->isEnabled())
                QTest::mouseClick(child<QCheckBox>("autoFixtureNameShort"), Qt::LeftButton);
            break;
        case 10:
            if (child<QCheckBox>("autoManufacturerNameShort")->isEnabled())
                QTest::mouseClick(child<QCheckBox>("autoManufacturerNameShort"), Qt::LeftButton);
            break;
        case 11:
            QTest::mouseClick(child<QPushButton>("addChannel"), Qt::LeftButton);
            break;
        case 12:
            QTest::mouseClick(child<QPushButton>("pushButton"), Qt::LeftButton);
            break;
        case 13:
            QTest::mouseClick(child<QPushButton>("channelUp"), Qt::LeftButton);
            break;
        case 14:
            QTest::mouseClick(child<QPushButton>("channelDown"), Qt::LeftButton);
            break;
        case 15:
            type("channelName", "q");
            break;
        case 16:
            if (child<QCheckBox>("autoChannelNameShort")->isEnabled())
                QTest::mouseClick(child<QCheckBox>("autoChannelNameShort"), Qt::LeftButton);
            type("channelNameShort", "z");
            break;
        }
        // Leaving a field ends its typing step, as a user moving on does.
        ++leave;
        if (leave % 3 == 0)
            table()->setFocus();
    }
    int leave = 0;

private slots:
    void init()
    {
        form = std::make_unique<LibraryForm>();
        form->resize(600, 700);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() { form.reset(); }

    void undoingEverySequenceRestoresTheStartAndRedoingRestoresTheEnd()
    {
        fill(50);
        stack()->clear();
        QRandomGenerator random(13);
        for (int sequence = 0; sequence < 200; ++sequence) {
            const QString start = dump(*form);
            const int edits = 1 + int(random.bounded(40));
            for (int k = 0; k < edits; ++k)
                randomEdit(random);
            const QString end = dump(*form);
            const int steps = stack()->index();
            while (stack()->canUndo())
                stack()->undo();
            QCOMPARE(dump(*form), start);
            QCOMPARE(form->listModel()->rowCount(), form->proxyModel()->rowCount());
            while (stack()->canRedo())
                stack()->redo();
            QCOMPARE(stack()->index(), steps);
            QCOMPARE(dump(*form), end);
            stack()->clear();
        }
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
