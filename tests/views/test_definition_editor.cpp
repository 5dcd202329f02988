#include <QtTest>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeView>

#include "requiredchild.h"
#include "model/localchannellistmodel.h"
#include "model/localfixturedefinitionlistmodel.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "views/localfixturedefinitioneditform.h"

class DefinitionEditor : public QObject
{
    Q_OBJECT

private:
    LocalFixtureDefinitionListModel *library = nullptr;
    LocalFixtureDefinitionEditForm *form = nullptr;

    template <typename T> T *child(const char *name) { return requiredChild<T>(form, name); }
    QBLFixtureDefinition *row(int r) { return library->definitionAt(r); }
    QStringList viewNames()
    {
        QStringList names;
        const QAbstractItemModel *m = child<QTreeView>("channelListView")->model();
        for (int r = 0; r < m->rowCount(); ++r)
            names << m->index(r, 1).data().toString();
        return names;
    }
    QBLFixtureChannel *currentChannel()
    {
        return static_cast<QBLFixtureChannel *>(
            child<QTreeView>("channelListView")->currentIndex().data(Qt::UserRole).value<void *>());
    }

private slots:
    void init()
    {
        library = new LocalFixtureDefinitionListModel({}, this);
        library->insertRows(0, 2);
        form = new LocalFixtureDefinitionEditForm;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanup()
    {
        delete form;
        delete library;
    }

    void withoutADefinitionTheFormIsDisabledAndEmpty()
    {
        QVERIFY(!form->isEnabled());
        QVERIFY(!child<QPushButton>("channelUp")->isEnabled());
        QVERIFY(!child<QWidget>("fixtureType")->isVisibleTo(form));
        QVERIFY(!child<QWidget>("textEdit")->isVisibleTo(form));
        form->setDefinition(row(0));
        QVERIFY(form->isEnabled());
        form->setDefinition(nullptr);
        QVERIFY(!form->isEnabled());
    }

    void typingTheNameUpdatesTheAutomaticShortNameAndTheLibraryRow()
    {
        form->setDefinition(row(1));
        QSignalSpy edited(form, &LocalFixtureDefinitionEditForm::contentEdited);
        auto *name = child<QLineEdit>("fixtureName");
        QTest::keyClicks(name, "Spot");
        QCOMPARE(child<QLineEdit>("fixtureNameShort")->text(), QString("Spot"));
        QCOMPARE(library->index(1, 0).data().toString(), QString("Spot"));
        QTest::keyClicks(name, " 1200 Profile Zoom XL");
        QCOMPARE(row(1)->fixtureName(), QString("Spot 1200 Profile Zoom XL"));
        QCOMPARE(row(1)->fixtureNameShort(), QString("Spot 1200 Profile Zo"));
        QCOMPARE(library->index(1, 0).data().toString(), QString("Spot 1200 Profile Zoom XL"));
        QCOMPARE(edited.count(), 25);
        QCOMPARE(row(0)->fixtureName(), QString());
    }

    void shortNameFieldsTakeTheTwentyCharactersThatAreStored()
    {
        form->setDefinition(row(0));
        QTest::mouseClick(child<QCheckBox>("autoManufacturerNameShort"), Qt::LeftButton);
        QTest::mouseClick(child<QCheckBox>("autoFixtureNameShort"), Qt::LeftButton);
        const QString twentyFive = "ABCDEFGHIJKLMNOPQRSTUVWXY";
        auto *maker = child<QLineEdit>("manufacturerNameShort");
        QTest::keyClicks(maker, twentyFive);
        QCOMPARE(maker->text(), twentyFive.left(20));
        QCOMPARE(row(0)->manufacturerNameShort(), twentyFive.left(20));
        auto *fixture = child<QLineEdit>("fixtureNameShort");
        QTest::keyClicks(fixture, twentyFive);
        QCOMPARE(fixture->text(), twentyFive.left(20));
        QCOMPARE(row(0)->fixtureNameShort(), twentyFive.left(20));
    }

    void uncheckingAutoKeepsTheShortNameAndMakesItEditable()
    {
        row(0)->setFixtureName("Moving Wash 575");
        form->setDefinition(row(0));
        auto *shortField = child<QLineEdit>("fixtureNameShort");
        QVERIFY(!shortField->isEnabled());
        QSignalSpy edited(form, &LocalFixtureDefinitionEditForm::contentEdited);
        QTest::mouseClick(child<QCheckBox>("autoFixtureNameShort"), Qt::LeftButton);
        QVERIFY(shortField->isEnabled());
        QVERIFY(!row(0)->isAutoFixtureNameShort());
        QCOMPARE(row(0)->fixtureNameShort(), QString("Moving Wash 575"));
        QCOMPARE(edited.count(), 1);
        QTest::keyClicks(child<QLineEdit>("fixtureName"), " II");
        QCOMPARE(row(0)->fixtureNameShort(), QString("Moving Wash 575"));
    }

    void clickingAnyAutoBoxMarksTheLibraryEditedButShowingADefinitionDoesNot()
    {
        row(0)->setManufacturerName("Brenlow");
        row(0)->setAutoManufacturerNameShort(false);
        row(0)->setManufacturerNameShort("BL");
        QSignalSpy edited(form, &LocalFixtureDefinitionEditForm::contentEdited);
        form->setDefinition(row(0));
        form->setDefinition(row(1));
        form->setDefinition(row(0));
        QCOMPARE(edited.count(), 0);
        QTest::mouseClick(child<QCheckBox>("autoManufacturerNameShort"), Qt::LeftButton);
        QVERIFY(row(0)->isAutoManufacturerNameShort());
        QCOMPARE(row(0)->manufacturerNameShort(), QString("Brenlow"));
        QCOMPARE(edited.count(), 1);
    }

    void addingThreeChannelsNumbersAndNamesThemInOrder()
    {
        form->setDefinition(row(0));
        QSignalSpy edited(form, &LocalFixtureDefinitionEditForm::contentEdited);
        for (int k = 0; k < 3; ++k)
            QTest::mouseClick(child<QPushButton>("addChannel"), Qt::LeftButton);
        QCOMPARE(edited.count(), 3);
        QCOMPARE(viewNames(), (QStringList{"Channel 1", "Channel 2", "Channel 3"}));
        QCOMPARE(row(0)->nbrOfChannels(), 3);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(row(0)->channels().at(k)->number(), k + 1);
        QCOMPARE(currentChannel(), row(0)->channels().at(2));
        QCOMPARE(child<QLineEdit>("channelName")->text(), QString("Channel 3"));
        QCOMPARE(child<QLineEdit>("channelNameShort")->text(), QString("Channel 3"));
        QVERIFY(!child<QPushButton>("channelDown")->isEnabled());
        QVERIFY(child<QPushButton>("channelUp")->isEnabled());
        QVERIFY(child<QPushButton>("pushButton")->isEnabled());
        QCOMPARE(library->index(0, 1).data(), QVariant(3));
    }

    void typingReplacesTheNewChannelsDefaultNameAndItsAutomaticShortName()
    {
        form->setDefinition(row(0));
        QTest::mouseClick(child<QPushButton>("addChannel"), Qt::LeftButton);
        QTest::keyClicks(child<QLineEdit>("channelName"), "Colour wheel rotation");
        QBLFixtureChannel *channel = row(0)->channels().at(0);
        QCOMPARE(channel->name(), QString("Colour wheel rotation"));
        QCOMPARE(channel->nameShort(), QString("Colour wheel"));
        QCOMPARE(child<QLineEdit>("channelNameShort")->text(), QString("Colour wheel"));
        QCOMPARE(viewNames(), QStringList{"Colour wheel rotation"});
    }

    void movingAChannelDownAndDeletingItDeletesThatChannel()
    {
        form->setDefinition(row(0));
        for (int k = 0; k < 3; ++k)
            QTest::mouseClick(child<QPushButton>("addChannel"), Qt::LeftButton);
        auto *view = child<QTreeView>("channelListView");
        view->setCurrentIndex(view->model()->index(0, 0));
        QBLFixtureChannel *first = row(0)->channels().at(0);
        QCOMPARE(currentChannel(), first);
        QVERIFY(!child<QPushButton>("channelUp")->isEnabled());

        QTest::mouseClick(child<QPushButton>("channelDown"), Qt::LeftButton);
        QCOMPARE(viewNames(), (QStringList{"Channel 2", "Channel 1", "Channel 3"}));
        QCOMPARE(row(0)->channels().at(0), first); // list position unchanged
        QCOMPARE(first->number(), 2);
        QCOMPARE(currentChannel(), first);
        QVERIFY(child<QPushButton>("channelUp")->isEnabled());

        QPointer<QBLFixtureChannel> moved = first;
        QTest::mouseClick(child<QPushButton>("pushButton"), Qt::LeftButton);
        QVERIFY(moved.isNull());
        QCOMPARE(viewNames(), (QStringList{"Channel 2", "Channel 3"}));
        QCOMPARE(row(0)->channels().at(0)->number(), 1);
        QCOMPARE(row(0)->channels().at(1)->number(), 2);
        QCOMPARE(library->index(0, 1).data(), QVariant(2));
    }

    void theKeysAddAndMoveChannelsAsTheButtonsDo()
    {
        form->setDefinition(row(0));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        auto *name = child<QLineEdit>("channelName");
        child<QTreeView>("channelListView")->setFocus();
        QTest::keyClick(child<QTreeView>("channelListView"), Qt::Key_Insert);
        QCOMPARE(viewNames(), QStringList{"Channel 1"});
        QVERIFY(name->hasFocus());
        QCOMPARE(name->selectedText(), QString("Channel 1"));

        // Enter in the last channel's name goes on to a new one, elsewhere it adds nothing.
        QTest::keyClicks(name, "Pan");
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(viewNames(), (QStringList{"Pan", "Channel 2"}));
        QCOMPARE(name->selectedText(), QString("Channel 2"));
        auto *view = child<QTreeView>("channelListView");
        view->setCurrentIndex(view->model()->index(0, 0));
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(row(0)->nbrOfChannels(), 2);

        // Ctrl+Up/Down move the current channel; at the ends they do nothing.
        QTest::keyClick(name, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(viewNames(), (QStringList{"Pan", "Channel 2"}));
        QTest::keyClick(name, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(viewNames(), (QStringList{"Channel 2", "Pan"}));
        QCOMPARE(currentChannel()->name(), QString("Pan"));

        for (const char *button : {"addChannel", "pushButton", "channelUp", "channelDown"})
            QVERIFY2(!child<QPushButton>(button)->toolTip().isEmpty(), button);
        QVERIFY(
            child<QPushButton>("channelUp")
                ->toolTip()
                .contains(QKeySequence(Qt::CTRL | Qt::Key_Up).toString(QKeySequence::NativeText)));
    }

    void aSingleChannelCannotMove()
    {
        form->setDefinition(row(0));
        QTest::mouseClick(child<QPushButton>("addChannel"), Qt::LeftButton);
        QVERIFY(!child<QPushButton>("channelUp")->isEnabled());
        QVERIFY(!child<QPushButton>("channelDown")->isEnabled());
    }

    void showingADefinitionRenumbersItsChannelsForGood()
    {
        for (int number : {2, 4, 6}) {
            auto *c = new QBLFixtureChannel;
            c->setNumber(number);
            c->setName(QString("n%1").arg(number));
            row(1)->channels().append(c);
        }
        form->setDefinition(row(1));
        QCOMPARE(viewNames(), (QStringList{"n2", "n4", "n6"}));
        form->setDefinition(nullptr);
        QCOMPARE(row(1)->channels().at(2)->number(), 3);
    }

    void removingTheEditedRowEmptiesAndDisablesTheForm()
    {
        row(1)->setFixtureName("Going");
        form->setDefinition(row(1));
        form->fixtureDefinitionToBeRemoved(library->index(0, 0));
        QVERIFY(form->isEnabled());
        form->fixtureDefinitionToBeRemoved(library->index(1, 0));
        QVERIFY(!form->isEnabled());
        QVERIFY(form->definition() == nullptr);
        QCOMPARE(child<QLineEdit>("fixtureName")->text(), QString());
        QCOMPARE(form->channelModel()->rowCount(), 0);
    }
};

QTEST_MAIN(DefinitionEditor)
#include "test_definition_editor.moc"
