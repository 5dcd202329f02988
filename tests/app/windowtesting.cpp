#include "windowtesting.h"

#include "app/mainwindow.h"
#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"
#include "model/uilanguage.h"
#include "simulatedftdidriver.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QWindow>

#include <atomic>

namespace
{

class EmptyBus : public SimulatedFtdiDriver
{
public:
    FtdiStatus createDeviceInfoList(quint32 *count) override
    {
        ++listings;
        return SimulatedFtdiDriver::createDeviceInfoList(count);
    }
    std::atomic<int> listings{0};
};

EmptyBus *g_emptyBus = nullptr;

void installEmptyBus()
{
    // Never deleted, like a program's backend: worker threads may use it until the end.
    g_emptyBus = new EmptyBus;
    g_emptyBus->setWireTimeModel(false);
    FtdiDriver::setCurrent(g_emptyBus);
    FtdiDriver::forbidPlatformBackend();
}
Q_CONSTRUCTOR_FUNCTION(installEmptyBus)

} // namespace

int emptyBusListings()
{
    return g_emptyBus->listings.load();
}

ScriptedPrompts::ScriptedPrompts()
{
    UserPrompts::setAnswerer([this](const UserPrompts::Prompt &prompt) {
        asked.append(prompt);
        if (m_answers.isEmpty()) {
            ++unexpected;
            return UserPrompts::Answer{QMessageBox::Cancel, QString()};
        }
        const Scripted next = m_answers.takeFirst();
        if (next.escape)
            return UserPrompts::Answer{prompt.escapeButton, QString()};
        return next.answer;
    });
}

ScriptedPrompts::~ScriptedPrompts()
{
    UserPrompts::setAnswerer({});
}

void ScriptedPrompts::thenAnswer(QMessageBox::StandardButton button)
{
    m_answers.append({{button, QString()}, false});
}

void ScriptedPrompts::thenPressEscape()
{
    m_answers.append({{}, true});
}

void ScriptedPrompts::thenChooseFile(const QString &fileName)
{
    m_answers.append({{QMessageBox::NoButton, fileName}, false});
}

void ScriptedPrompts::thenChooseRefusedFile(const QString &fileName,
                                            QMessageBox::StandardButton answer)
{
    thenChooseFile(fileName);
    thenAnswer(answer);
    thenCancelFileDialog();
}

void ScriptedPrompts::thenChooseFiles(const QStringList &fileNames)
{
    m_answers.append({UserPrompts::Answer(fileNames), false});
}

QStringList ScriptedPrompts::askedTexts() const
{
    QStringList texts;
    for (const UserPrompts::Prompt &prompt : asked)
        texts.append(prompt.text);
    return texts;
}

void useTestSettings(const QString &folder)
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    clearSettings();
}

void clearSettings()
{
    QSettings settings(QStringLiteral("Brenlow AG"),
                       QStringLiteral("KDR-450P Fixture Library Editor"));
    settings.clear();
    settings.sync();
}

QString settingValue(const QString &key)
{
    QSettings settings(QStringLiteral("Brenlow AG"),
                       QStringLiteral("KDR-450P Fixture Library Editor"));
    return settings.value(key).toString();
}

void setSettingValue(const QString &key, const QString &value)
{
    QSettings settings(QStringLiteral("Brenlow AG"),
                       QStringLiteral("KDR-450P Fixture Library Editor"));
    settings.setValue(key, value);
    settings.sync();
}

bool writeLibrary(const QString &path, const QList<DefinitionSpec> &definitions)
{
    QList<QBLFixtureDefinition *> list;
    for (const DefinitionSpec &wanted : definitions) {
        auto *definition = new QBLFixtureDefinition;
        definition->setFixtureName(wanted.fixtureName);
        definition->setManufacturerName(wanted.manufacturerName);
        int number = 1;
        for (const QString &name : wanted.channelNames) {
            auto *channel = new QBLFixtureChannel;
            channel->setNumber(number++);
            channel->setName(name);
            definition->channels().append(channel);
        }
        list.append(definition);
    }
    BLFLArchive archive(path);
    archive.setDefinitions(&list);
    const bool saved = archive.save();
    qDeleteAll(list);
    return saved;
}

bool TestFolder::makeTestFolder(Texts texts)
{
    if (!dir.isValid())
        return false;
    useTestSettings(dir.filePath("settings"));
    if (texts == Texts::Source)
        return true;
    const QString installed = UiLanguage::install(qApp, {QStringLiteral("en")});
    if (installed != QLatin1String("en")) {
        qWarning("English was not installed: %s", qPrintable(installed));
        return false;
    }
    return true;
}

bool TestFolder::makeTestFolderWithLibrary(Texts texts)
{
    if (!makeTestFolder(texts))
        return false;
    libraryPath = dir.filePath("lib.blfl");
    return writeLibrary(libraryPath, {{"Alpha Spot", "Maker", {"Pan", "Tilt"}},
                                      {"Bravo Wash", "Maker", {"Red", "Green", "Blue"}},
                                      {"Charlie Par", "Other", {"Dimmer"}}});
}

bool StageFiles::makeStageFiles()
{
    if (!m_settingsDir.isValid() || !files.isValid())
        return false;
    useTestSettings(m_settingsDir.path());
    return writeLibrary(path("stage.blfl"),
                        {{"Spot 250", "Acme", {"Pan", "Tilt"}}, {"Wash 575", "Acme", {"Dimmer"}}});
}

QStringList fixtureNamesIn(const QString &path)
{
    QStringList names;
    BLFLArchive archive(path);
    if (!archive.load())
        return names;
    for (QBLFixtureDefinitionLoader *loader : archive.loaders()) {
        loader->parse();
        if (!loader->definitions())
            continue;
        for (const QBLFixtureDefinition *definition : *loader->definitions())
            names.append(definition->fixtureName());
    }
    return names;
}

QTableView *libraryTable(MainWindow &window)
{
    return window.findChild<QTableView *>(QStringLiteral("fixtureDefinitionsTableView"));
}

int libraryRowCount(MainWindow &window)
{
    QTableView *table = libraryTable(window);
    return table && table->model() ? table->model()->rowCount() : -1;
}

QStringList libraryFixtureNames(MainWindow &window)
{
    QStringList names;
    QTableView *table = libraryTable(window);
    if (!table || !table->model())
        return names;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        names.append(table->model()->index(row, 0).data().toString());
    return names;
}

QAction *windowAction(MainWindow &window, const char *objectName)
{
    return window.findChild<QAction *>(QLatin1String(objectName));
}

void triggerAction(MainWindow &window, const char *objectName)
{
    QAction *found = windowAction(window, objectName);
    QVERIFY2(found, objectName);
    found->trigger();
}

QString shownTitle(MainWindow &window)
{
    window.winId(); // makes the native window that carries the resolved title
    return window.windowHandle()->title();
}
