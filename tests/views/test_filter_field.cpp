#include <QtTest>

#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>

#include "views/widgets/clearablelineedit.h"

class FilterField : public QObject
{
    Q_OBJECT

private slots:
    void typingTheFirstCharacterShowsTheClearButtonAndErasingTheLastShowsSearch()
    {
        ClearableLineEdit edit;
        QVERIFY(edit.isShowingSearchIcon());
        QTest::keyClicks(&edit, "a");
        QVERIFY(!edit.isShowingSearchIcon());
        QTest::keyClicks(&edit, "b");
        QVERIFY(!edit.isShowingSearchIcon());
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QVERIFY(!edit.isShowingSearchIcon());
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QVERIFY(edit.isShowingSearchIcon());
    }

    void escapeAnywhereInTheWindowClearsTheField()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *edit = new ClearableLineEdit(&window);
        auto *other = new QLineEdit(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->setText("spot");
        other->setFocus();
        QSignalSpy changed(edit, &QLineEdit::textChanged);
        QTest::keyClick(other, Qt::Key_Escape);
        QCOMPARE(edit->text(), QString());
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.last().at(0).toString(), QString());
        QVERIFY(edit->isShowingSearchIcon());
    }

    void escapeOnAnEmptyFieldStillAnnouncesEmptyText()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *edit = new ClearableLineEdit(&window);
        layout->addWidget(edit);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->setFocus();
        QSignalSpy changed(edit, &QLineEdit::textChanged);
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString());
    }

    void clickingTheButtonClearsTheText()
    {
        ClearableLineEdit edit;
        edit.setText("wash");
        QSignalSpy changed(&edit, &QLineEdit::textChanged);
        edit.button()->click();
        QCOMPARE(edit.text(), QString());
        // One from clearing the text, one announced on purpose.
        QCOMPARE(changed.count(), 2);
    }

    void theButtonSitsFlushRightAndCentred()
    {
        ClearableLineEdit edit;
        edit.resize(200, 40);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        const QRect b = edit.button()->geometry();
        QVERIFY(b.right() < edit.width());
        QVERIFY(b.left() > edit.width() / 2);
        QVERIFY(qAbs(b.center().y() - edit.rect().center().y()) <= 1);
    }
};

QTEST_MAIN(FilterField)
#include "test_filter_field.moc"
