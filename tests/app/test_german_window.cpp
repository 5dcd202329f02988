#include <QtTest>

#include "app/mainwindow.h"
#include "devicetesting.h"
#include "model/uilanguage.h"
#include "simulatedcontroller.h"
#include "simulateddevice.h"
#include "views/deviceform.h"
#include "views/libraryform.h"
#include "views/qxfcatalogdialog.h"
#include "windowtesting.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>

namespace
{

// Texts that German shares with English: the product's and maker's names and words that
// German lighting technicians use as they stand.
const QStringList kSameInGerman = {
    QStringLiteral("KDR-450P Fixture Library Editor"),
    QStringLiteral("KDR-450P"),
    QStringLiteral("Brenlow"),
    QStringLiteral("OK"),
    QStringLiteral("Version"),
    QStringLiteral("Auto"),
    QStringLiteral("Moving Head"),
    QStringLiteral("Scanner"),
    QStringLiteral("Dimmer"),
    QStringLiteral("Laser"),
    QStringLiteral("Hazer"),
    QStringLiteral("Fixture"),
};

// What the user sees, keyed by where it is, so the two languages can be laid side by side.
using Texts = QMap<QString, QString>;

QString keyOf(const QObject *o)
{
    QStringList path;
    for (; o; o = o->parent())
        path.prepend(QString::fromLatin1(o->metaObject()->className()) + QLatin1Char(':') +
                     o->objectName());
    return path.join(QLatin1Char('/'));
}

void addText(Texts &texts, const QString &key, const QString &shown)
{
    // Rich text is compared by what it reads, not by its markup.
    QString text = shown;
    if (Qt::mightBeRichText(shown)) {
        QTextDocument document;
        document.setHtml(shown);
        text = document.toPlainText();
    }
    // Texts without a letter ("--", numbers) are the same in every language.
    if (text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
        texts.insert(key, text);
}

void collectAction(Texts &texts, const QString &where, QAction *action)
{
    if (action->isSeparator())
        return;
    const QString key = where + QLatin1Char('/') + action->objectName() + QLatin1Char('#') +
                        action->icon().name() + action->shortcut().toString();
    addText(texts, key + QStringLiteral(".text"), action->text());
    addText(texts, key + QStringLiteral(".toolTip"), action->toolTip());
    if (QMenu *menu = action->menu()) {
        addText(texts, key + QStringLiteral(".menu"), menu->title());
        for (QAction *a : menu->actions())
            collectAction(texts, key, a);
    }
}

// Every text of a window and its children, shown or waiting to be shown (the progress
// panel, the editor), but not the rows of the lists, which are the user's data.
Texts collect(QWidget *root)
{
    Texts texts;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : widgets) {
        const QString key = keyOf(w);
        if (w->isWindow())
            addText(texts, key + QStringLiteral(".windowTitle"),
                    w->windowTitle().remove(QStringLiteral("[*]")));
        addText(texts, key + QStringLiteral(".toolTip"), w->toolTip());
        if (auto *label = qobject_cast<QLabel *>(w))
            addText(texts, key + QStringLiteral(".text"), label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            addText(texts, key + QStringLiteral(".text"), button->text());
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            addText(texts, key + QStringLiteral(".placeholder"), edit->placeholderText());
        if (auto *box = qobject_cast<QGroupBox *>(w))
            addText(texts, key + QStringLiteral(".title"), box->title());
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                addText(texts, key + QStringLiteral(".tab%1").arg(i), tabs->tabText(i));
        // The fixture types are the program's words; the device list holds device names.
        if (auto *combo = qobject_cast<QComboBox *>(w);
            combo && !combo->isEditable() && w->objectName() == "fixtureType")
            for (int i = 0; i < combo->count(); ++i)
                addText(texts, key + QStringLiteral(".item%1").arg(i), combo->itemText(i));
        if (auto *view = qobject_cast<QAbstractItemView *>(w); view && view->model())
            for (int c = 0; c < view->model()->columnCount(); ++c)
                addText(texts, key + QStringLiteral(".header%1").arg(c),
                        view->model()->headerData(c, Qt::Horizontal).toString());
        if (auto *bar = qobject_cast<QMenuBar *>(w))
            for (QAction *a : bar->actions())
                collectAction(texts, key, a);
        if (auto *bar = qobject_cast<QToolBar *>(w))
            for (QAction *a : bar->actions())
                collectAction(texts, key, a);
    }
    return texts;
}

// Collects the texts of the modal dialog of type D that the action opens, then closes it.
template <typename D> Texts dialogTexts(MainWindow &window, const char *action)
{
    Texts texts;
    QTimer::singleShot(0, &window, [&] {
        if (auto *dialog = window.findChild<D *>()) {
            texts = collect(dialog);
            dialog->reject();
        }
    });
    windowAction(window, action)->trigger();
    return texts;
}

void insertUnder(Texts &texts, const QString &prefix, const Texts &more)
{
    for (auto it = more.cbegin(); it != more.cend(); ++it)
        texts.insert(prefix + it.key(), it.value());
}

// The items of the context menu a pane opens at its table (the menu's loop is modal).
template <typename Pane> Texts contextMenuTexts(Pane *pane)
{
    Texts texts;
    QTimer::singleShot(0, pane, [&] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (QAction *a : menu->actions())
                collectAction(texts, QStringLiteral("menu"), a);
            menu->close();
        }
    });
    pane->showContextMenu(QPoint(5, 5));
    return texts;
}

int libraryRowNamed(MainWindow &window, const QString &name)
{
    return int(libraryFixtureNames(window).indexOf(name));
}

// One typical session: the window with a library and a simulated controller whose patch list
// is set, a definition selected, the about and firmware dialogs, both context menus, a new
// definition and the step Undo offers, a download, an upload of it again with another (the
// held and patch-list questions), a delete on the controller, the QLC+ catalogue, a damaged
// file to open, and closing with changes. Returns every text the user met, the status bar's
// after each operation among them.
Texts typicalSession(const QString &language, const QString &library, const QString &broken)
{
    UiLanguage::install(qApp, {language});
    SimulatedBus bus;
    bus.addController(0x0103, {"Stored One", "Stored Two", "Stored Three"})
        ->controller()
        ->setPatchListEmpty(false);
    ScriptedPrompts prompts;
    Texts texts;
    {
        MainWindow window(library);
        window.resize(1200, 690);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window) || !waitForDeviceRows(window, 3)) {
            qWarning("the window or the simulated controller did not come up");
            return {};
        }
        const auto status = [&](const char *step) {
            addText(texts, QStringLiteral("status.") + QLatin1String(step),
                    window.statusBar()->currentMessage());
        };
        status("found");
        selectRows(libraryTable(window), {0});
        texts.insert(collect(&window));
        texts.insert(dialogTexts<QDialog>(window, "actionAbout"));
        insertUnder(texts, QStringLiteral("firmware/"),
                    dialogTexts<QDialog>(window, "actionUpdate_firmware"));
        insertUnder(texts, QStringLiteral("libraryMenu/"),
                    contextMenuTexts(window.findChild<LibraryForm *>()));
        selectRows(deviceTable(window), {0});
        insertUnder(texts, QStringLiteral("deviceMenu/"), contextMenuTexts(window.deviceForm()));

        QTest::mouseClick(window.findChild<QPushButton *>("addFixtureDefinition"), Qt::LeftButton);
        if (libraryRowCount(window) != 3) {
            qWarning("the new definition was not added");
            return {};
        }
        collectAction(texts, QStringLiteral("afterEdit"), windowAction(window, "actionUndo"));

        selectRows(deviceTable(window), {0});
        window.downloadCurrentSelection();
        if (!waitForDeviceRows(window, 3) || libraryRowNamed(window, "Stored One") < 0) {
            qWarning("the download did not arrive");
            return {};
        }
        status("download");
        selectRows(libraryTable(window),
                   {libraryRowNamed(window, "Stored One"), libraryRowNamed(window, "Beam 230")});
        prompts.thenAnswer(QMessageBox::No);  // the held definition is skipped
        prompts.thenAnswer(QMessageBox::Yes); // the patch list is cleared
        window.uploadCurrentSelection();
        if (!waitForDeviceRows(window, 4)) {
            qWarning("the upload did not end with four definitions stored");
            return {};
        }
        status("upload");
        selectRows(deviceTable(window), {0});
        prompts.thenAnswer(QMessageBox::Yes);
        window.deleteCurrentlySelectedFixturesOnDevice();
        if (!waitForDeviceRows(window, 3)) {
            qWarning("the delete did not end with three definitions stored");
            return {};
        }
        status("delete");

        windowAction(window, "actionImport_QLC_Fixtures")->trigger();
        if (auto *catalogue = window.findChild<QxfCatalogDialog *>()) {
            insertUnder(texts, QStringLiteral("catalogue/"), collect(catalogue));
            catalogue->close();
        }

        prompts.thenAnswer(QMessageBox::Discard);
        prompts.thenChooseRefusedFile(broken, QMessageBox::Ok);
        windowAction(window, "action_Open_Archive")->trigger();
        prompts.thenAnswer(QMessageBox::Discard);
        window.close();
    }
    for (int i = 0; i < prompts.asked.size(); ++i) {
        const UserPrompts::Prompt &p = prompts.asked.at(i);
        const QString key = QStringLiteral("prompt%1").arg(i);
        addText(texts, key + QStringLiteral(".title"), p.title);
        addText(texts, key + QStringLiteral(".text"), p.text);
        addText(texts, key + QStringLiteral(".filter"), p.filter);
        addText(texts, key + QStringLiteral(".details"), p.informativeText);
    }
    texts.insert(QStringLiteral("prompts.count"), QString::number(prompts.asked.size()));
    return texts;
}

} // namespace

class GermanWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        useTestSettings(dir.filePath("settings"));
        QVERIFY(writeLibrary(dir.filePath("rig.blfl"),
                             {{"Beam 230", "Northlight", {"Pan", "Tilt", "Dimmer"}},
                              {"Wash 19", "Northlight", {"Red", "Green", "Blue"}}}));
        QFile broken(dir.filePath("broken.blfl"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        QVERIFY(broken.write("not a library") > 0);
    }

    void cleanupTestCase() { UiLanguage::install(qApp, {QStringLiteral("en")}); }

    void noTextOfATypicalSessionStaysEnglish()
    {
        const QString library = dir.filePath("rig.blfl");
        const QString broken = dir.filePath("broken.blfl");
        const Texts english = typicalSession(QStringLiteral("en"), library, broken);
        const Texts german = typicalSession(QStringLiteral("de"), library, broken);
        QVERIFY2(english.size() > 80, qPrintable(QString::number(english.size())));
        QCOMPARE(german.value("prompts.count"), english.value("prompts.count"));
        QCOMPARE(german.value("prompts.count"), QString("8"));
        QCOMPARE(german.keys(), english.keys());
        for (const char *part :
             {"status.found", "status.download", "status.upload", "status.delete", "libraryMenu/",
              "deviceMenu/", "afterEdit/", "catalogue/"})
            QVERIFY2(!english.keys().filter(QLatin1String(part)).isEmpty(), part);

        QStringList untranslated;
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            QString same = german.value(it.key());
            if (same != it.value() || it.key() == QLatin1String("prompts.count"))
                continue;
            // Names and file names may stand in a translated text; the rest must differ.
            for (const QString &name : kSameInGerman)
                same.remove(name);
            same.remove(dir.path());
            same.remove(QRegularExpression(QStringLiteral("\\S+\\.blfl")));
            same.remove(QRegularExpression(QStringLiteral("/\\S*"))); // the catalogue's folders
            if (same.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))))
                untranslated << it.key() + QStringLiteral(" = ") + it.value();
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
        // Spot checks that the German is the one lighting technicians read.
        const QStringList all = german.values();
        QVERIFY(all.contains(QStringLiteral("Hersteller")));
        QVERIFY(all.contains(QStringLiteral("Bibliothek speichern")));
        QVERIFY(all.contains(QStringLiteral("Die Bibliothek konnte nicht geöffnet werden.")));
    }
};

QTEST_MAIN(GermanWindow)
#include "test_german_window.moc"
