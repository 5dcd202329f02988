#include "windowtesting.h"

#include "app/aboutdialog.h"
#include "app/mainwindow.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

// The about dialog: picture, name, version and the notices text, opened from the Help menu.
class AboutDialogContent : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;

private slots:
    void initTestCase() { useTestSettings(settingsDir.path()); }

    void theVersionLabelReadsTheProjectVersion()
    {
        AboutDialog dialog;
        auto *version = dialog.findChild<QLabel *>(QStringLiteral("versionLbl"));
        QVERIFY(version);
        QCOMPARE(version->text(), QStringLiteral("Version " KDR_VERSION));
    }

    void theNoticesListTheProgramsLicenceQtAndLibarchive()
    {
        AboutDialog dialog;
        auto *notices = dialog.findChild<QTextBrowser *>(QStringLiteral("textBrowser"));
        QVERIFY(notices);
        QVERIFY(notices->isReadOnly());
        const QString text = notices->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Permission is hereby granted")));
        QVERIFY(text.contains(QStringLiteral("GNU Lesser General Public License")));
        QVERIFY(text.contains(QStringLiteral("libarchive")));
    }

    void theDialogHasAFixedSizeAndShowsTheProductPicture()
    {
        AboutDialog dialog;
        QCOMPARE(dialog.minimumSize(), QSize(440, 330));
        QCOMPARE(dialog.maximumSize(), QSize(440, 330));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About KDR-450P Fixture Library Editor"));
        auto *picture = dialog.findChild<QLabel *>(QStringLiteral("label_2"));
        QVERIFY(picture);
        QVERIFY(!picture->pixmap().isNull());
    }

    void okClosesTheDialogOpenedFromTheHelpMenu()
    {
        ScriptedPrompts prompts;
        MainWindow window;
        bool seen = false;
        QTimer::singleShot(0, &window, [&] {
            auto *dialog = window.findChild<AboutDialog *>();
            seen = dialog && dialog->isVisible();
            if (dialog)
                dialog->findChild<QPushButton *>(QStringLiteral("buttonOK"))->click();
        });
        windowAction(window, "actionAbout")->trigger();
        QVERIFY(seen);
        // The dialog goes with deferred deletion once it has closed.
        QTRY_VERIFY(!window.findChild<AboutDialog *>());
    }
};

QTEST_MAIN(AboutDialogContent)
#include "test_about_dialog.moc"
