#include "syntheticfirmware.h"
#include "toolrunner.h"

#include "library/blflarchive.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QList<QBLFixtureDefinition *> makeDefinitions(const QList<QPair<QString, int>> &wanted)
{
    QList<QBLFixtureDefinition *> list;
    for (const auto &s : wanted) {
        auto *d = new QBLFixtureDefinition;
        d->setFixtureName(s.first);
        d->setManufacturerName(QStringLiteral("Tool Test"));
        d->setFixtureType(4);
        for (int c = 1; c <= s.second; ++c) {
            auto *ch = new QBLFixtureChannel;
            ch->setName(QStringLiteral("Ch %1").arg(c));
            ch->setNumber(c);
            d->channels().append(ch);
        }
        list.append(d);
    }
    return list;
}

bool writeLibrary(const QString &path, const QList<QPair<QString, int>> &wanted)
{
    QList<QBLFixtureDefinition *> defs = makeDefinitions(wanted);
    BLFLArchive archive(path);
    archive.setDefinitions(&defs);
    const bool ok = archive.save();
    qDeleteAll(defs);
    return ok;
}

QJsonArray fixturesOf(const ToolRun &run)
{
    return QJsonDocument::fromJson(run.out).object().value(QLatin1String("definitions")).toArray();
}

} // namespace

class DeviceStoreCommandsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_state;

    QStringList sim(const QStringList &args) const
    {
        return args + QStringList{QStringLiteral("--simulate"), QStringLiteral("--simulate-state"),
                                  m_state};
    }

    ToolRun fixtures() const
    {
        return runTool(
            sim({QStringLiteral("device"), QStringLiteral("fixtures"), QStringLiteral("--json")}));
    }

    void setPatchListEmpty(bool empty)
    {
        setFirstController(QStringLiteral("patchListEmpty"), empty);
    }

    void setFirstController(const QString &key, const QJsonValue &value)
    {
        QFile f(m_state);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QJsonObject root = QJsonDocument::fromJson(f.readAll()).object();
        f.close();
        QJsonArray controllers = root.value(QLatin1String("controllers")).toArray();
        QJsonObject first = controllers.at(0).toObject();
        first.insert(key, value);
        controllers.replace(0, first);
        root.insert(QStringLiteral("controllers"), controllers);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QJsonDocument(root).toJson());
    }

private slots:
    void init()
    {
        m_state = m_dir.filePath(QStringLiteral("sim-%1.json").arg(QTest::currentTestFunction()));
        QFile::remove(m_state);
    }

    void theDemoControllerListsItsDefinitionsWithSlots()
    {
        const ToolRun run = fixtures();
        QCOMPARE(run.exitCode, 0);
        const QJsonArray list = fixturesOf(run);
        QVERIFY(list.size() >= 2);
        const QJsonObject first = list.at(0).toObject();
        QCOMPARE(first.value(QLatin1String("slot")).toInt(), 0);
        for (const char *key : {"fixtureName", "fixtureNameShort", "manufacturerName",
                                "manufacturerNameShort", "fixtureType", "channelCount"})
            QVERIFY2(first.contains(QLatin1String(key)), key);
        const QJsonObject store = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(store.value(QLatin1String("capacity")).toInt(), 100);
        QCOMPARE(store.value(QLatin1String("freeSlots")).toInt(), 100 - int(list.size()));
        QCOMPARE(store.value(QLatin1String("patchListEmpty")).toBool(false), true);

        const ToolRun text = runTool(sim({QStringLiteral("device"), QStringLiteral("fixtures")}));
        QCOMPARE(text.exitCode, 0);
        QVERIFY(text.out.contains(first.value(QLatin1String("fixtureName")).toString().toUtf8()));
        QVERIFY2(text.out.startsWith(QStringLiteral("KDR-450P #1 (software 1.3): %1 definitions "
                                                    "stored, %2 of 100 slots free; patch list "
                                                    "empty\n")
                                         .arg(list.size())
                                         .arg(100 - list.size())
                                         .toUtf8()),
                 text.out.constData());

        const ToolRun shown = runTool(sim({QStringLiteral("device"), QStringLiteral("show"),
                                           QStringLiteral("--slot"), QStringLiteral("0")}));
        QCOMPARE(shown.exitCode, 0);
        QCOMPARE(shown.out.count('\n'),
                 1 + first.value(QLatin1String("channelCount")).toInt());
        QVERIFY(shown.out.contains("  1  Pan [Pan]\n"));
    }

    // What the controller lists with its channels is a library's JSON form: fed to
    // 'library create', it lists back the same definitions.
    void theControllersJsonBuildsALibraryOfTheSameDefinitions()
    {
        const ToolRun stored = runTool(sim({QStringLiteral("device"), QStringLiteral("fixtures"),
                                            QStringLiteral("--json"), QStringLiteral("--channels")}));
        QCOMPARE(stored.exitCode, 0);
        const QString json = m_dir.filePath(QStringLiteral("device.json"));
        const QString library = m_dir.filePath(QStringLiteral("from-device.blfl"));
        QFile f(json);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(stored.out);
        f.close();
        const ToolRun created = runTool({QStringLiteral("library"), QStringLiteral("create"),
                                         library, QStringLiteral("--from-json"), json,
                                         QStringLiteral("--force")});
        QVERIFY2(created.exitCode == 0, created.err.constData());
        const ToolRun listed = runTool({QStringLiteral("library"), QStringLiteral("list"), library,
                                        QStringLiteral("--json"), QStringLiteral("--channels")});
        QJsonArray expected = fixturesOf(stored);
        QVERIFY(expected.size() >= 2);
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QJsonObject o = expected.at(i).toObject();
            o.remove(QStringLiteral("slot"));
            expected.replace(i, o);
        }
        QCOMPARE(fixturesOf(listed), expected);
    }

    void aSessionUploadsListsDownloadsAppendsAndDeletes()
    {
        const QString library = m_dir.filePath(QStringLiteral("upload.blfl"));
        QVERIFY(writeLibrary(library, {{QStringLiteral("Alpha"), 3},
                                       {QStringLiteral("Beta"), 45},
                                       {QStringLiteral("Gamma"), 1}}));
        const int before = int(fixturesOf(fixtures()).size());

        const QStringList alphaAndGamma = {QStringLiteral("device"), QStringLiteral("upload"),
                                           library,
                                           QStringLiteral("--only"), QStringLiteral("Alpha"),
                                           QStringLiteral("--only"), QStringLiteral("Gamma"),
                                           QStringLiteral("--skip-existing")};
        ToolRun up = runTool(sim(alphaAndGamma));
        QCOMPARE(up.exitCode, 0);
        QJsonArray list = fixturesOf(fixtures());
        QCOMPARE(list.size(), before + 2);
        QCOMPARE(list.at(before).toObject().value(QLatin1String("fixtureName")).toString(),
                 QStringLiteral("Alpha"));
        QCOMPARE(list.at(before + 1).toObject().value(QLatin1String("channelCount")).toInt(), 1);
        const int alphaSlot = list.at(before).toObject().value(QLatin1String("slot")).toInt();
        const int gammaSlot = list.at(before + 1).toObject().value(QLatin1String("slot")).toInt();
        QCOMPARE(up.out, QStringLiteral("\"Alpha\": slot %1\n\"Gamma\": slot %2\n"
                                        "Uploaded 2 definitions to KDR-450P #1 (software 1.3).\n")
                             .arg(alphaSlot)
                             .arg(gammaSlot)
                             .toUtf8());

        // Again: the controller holds both records, so no slot is spent on a duplicate; a
        // changed channel makes another record, which is written.
        up = runTool(sim(alphaAndGamma));
        QCOMPARE(up.exitCode, 0);
        QVERIFY(up.out.contains(QStringLiteral("\"Alpha\": already in slot %1, skipped\n")
                                    .arg(alphaSlot)
                                    .toUtf8()));
        QCOMPARE(fixturesOf(fixtures()).size(), before + 2);
        QVERIFY(writeLibrary(library, {{QStringLiteral("Alpha"), 4}}));
        up = runTool(sim({QStringLiteral("device"), QStringLiteral("upload"), library,
                          QStringLiteral("--skip-existing")}));
        QCOMPARE(up.exitCode, 0);
        QVERIFY(!up.out.contains("skipped"));
        QCOMPARE(fixturesOf(fixtures()).size(), before + 3);

        const QString out = m_dir.filePath(QStringLiteral("down.blfl"));
        QFile::remove(out);
        ToolRun down = runTool(sim({QStringLiteral("device"), QStringLiteral("download"), out,
                                    QStringLiteral("--slot"), QString::number(alphaSlot)}));
        QCOMPARE(down.exitCode, 0);
        down = runTool(sim({QStringLiteral("device"), QStringLiteral("download"), out,
                            QStringLiteral("--slot"), QString::number(gammaSlot)}));
        QCOMPARE(down.exitCode, 0);
        const ToolRun listed = runTool({QStringLiteral("library"), QStringLiteral("list"), out,
                                        QStringLiteral("--json"), QStringLiteral("--channels")});
        QCOMPARE(listed.exitCode, 0);
        const QJsonArray defs = QJsonDocument::fromJson(listed.out)
                                    .object()
                                    .value(QLatin1String("definitions"))
                                    .toArray();
        QCOMPARE(defs.size(), 2);
        QCOMPARE(defs.at(0).toObject().value(QLatin1String("fixtureName")).toString(),
                 QStringLiteral("Alpha"));
        QCOMPARE(defs.at(0).toObject().value(QLatin1String("channelCount")).toInt(), 3);
        QCOMPARE(defs.at(1).toObject().value(QLatin1String("fixtureName")).toString(),
                 QStringLiteral("Gamma"));

        ToolRun del = runTool(sim({QStringLiteral("device"), QStringLiteral("delete"),
                                   QStringLiteral("--slot"), QString::number(alphaSlot)}));
        QCOMPARE(del.exitCode, 0);
        list = fixturesOf(fixtures());
        QCOMPARE(list.size(), before + 2);
        for (const QJsonValue &v : list)
            QVERIFY(v.toObject().value(QLatin1String("slot")).toInt() != alphaSlot);
    }

    void aNonEmptyPatchListRefusesTheUploadAndPointsAtTheClearCommand()
    {
        const QString library = m_dir.filePath(QStringLiteral("one.blfl"));
        QVERIFY(writeLibrary(library, {{QStringLiteral("Solo"), 2}}));
        QCOMPARE(fixtures().exitCode, 0);
        setPatchListEmpty(false);

        ToolRun up = runTool(sim({QStringLiteral("device"), QStringLiteral("upload"), library}));
        QCOMPARE(up.exitCode, 1);
        QVERIFY(up.oneErrorLine());
        QVERIFY(up.err.contains("(patch list)"));
        QVERIFY(up.err.contains("clear-patch-list"));

        ToolRun del = runTool(sim({QStringLiteral("device"), QStringLiteral("delete"),
                                   QStringLiteral("--slot"), QStringLiteral("0")}));
        QCOMPARE(del.exitCode, 1);
        QVERIFY(del.err.contains("(patch list)"));

        ToolRun unconfirmed =
            runTool(sim({QStringLiteral("device"), QStringLiteral("clear-patch-list")}));
        QCOMPARE(unconfirmed.exitCode, 1);
        QVERIFY(unconfirmed.err.contains("--yes"));

        up = runTool(sim({QStringLiteral("device"), QStringLiteral("upload"), library,
                          QStringLiteral("--clear-patch-list")}));
        QCOMPARE(up.exitCode, 0);
        QVERIFY(up.out.contains("Cleared the patch list"));

        setPatchListEmpty(false);
        ToolRun clear = runTool(sim({QStringLiteral("device"), QStringLiteral("clear-patch-list"),
                                     QStringLiteral("--yes")}));
        QCOMPARE(clear.exitCode, 0);
        up = runTool(sim({QStringLiteral("device"), QStringLiteral("upload"), library}));
        QCOMPARE(up.exitCode, 0);
    }

    void refusedUploadsNameTheCheckThatRefused()
    {
        const QString tooMany = m_dir.filePath(QStringLiteral("46.blfl"));
        QVERIFY(writeLibrary(tooMany, {{QStringLiteral("Fine"), 2}, {QStringLiteral("Huge"), 46}}));
        ToolRun run = runTool(sim({QStringLiteral("device"), QStringLiteral("upload"), tooMany}));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.oneErrorLine());
        QVERIFY(run.err.contains("(channel counts)"));
        QVERIFY(run.err.contains("Huge"));

        QList<QPair<QString, int>> many;
        for (int i = 0; i < 120; ++i)
            many.append({QStringLiteral("F%1").arg(i), 1});
        const QString big = m_dir.filePath(QStringLiteral("many.blfl"));
        QVERIFY(writeLibrary(big, many));
        run = runTool(sim({QStringLiteral("device"), QStringLiteral("upload"), big}));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("(free slots): KDR-450P #1 (software 1.3) has 95 free, the "
                                  "upload needs 120"),
                 run.err.constData());

        run = runTool(sim({QStringLiteral("device"), QStringLiteral("upload"), tooMany,
                           QStringLiteral("--only"), QStringLiteral("Missing")}));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("Missing"));
    }

    void aControllerWithoutDefinitionsIsReportedAsEmptyAndSucceeds()
    {
        const QJsonArray list = fixturesOf(fixtures());
        QStringList args = {QStringLiteral("device"), QStringLiteral("delete")};
        for (const QJsonValue &v : list)
            args << QStringLiteral("--slot")
                 << QString::number(v.toObject().value(QLatin1String("slot")).toInt());
        QCOMPARE(runTool(sim(args)).exitCode, 0);

        const ToolRun text = runTool(sim({QStringLiteral("device"), QStringLiteral("fixtures")}));
        QCOMPARE(text.exitCode, 0);
        QVERIFY(text.out.contains("0 definitions stored, 100 of 100 slots free"));
        QCOMPARE(fixturesOf(fixtures()).size(), 0);

        const QString out = m_dir.filePath(QStringLiteral("nothing.blfl"));
        const ToolRun down =
            runTool(sim({QStringLiteral("device"), QStringLiteral("download"), out}));
        QCOMPARE(down.exitCode, 0);
        QVERIFY(!QFile::exists(out));
    }

    void aMissingSlotIsRefusedWithoutTouchingTheStore()
    {
        const int before = int(fixturesOf(fixtures()).size());
        const ToolRun run = runTool(
            sim({QStringLiteral("device"), QStringLiteral("delete"), QStringLiteral("--slot"),
                 QStringLiteral("0"), QStringLiteral("--slot"), QStringLiteral("99")}));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("slot 99 of KDR-450P #1 (software 1.3) holds no definition"));
        QCOMPARE(fixturesOf(fixtures()).size(), before);
        // Slots the controller does not have are refused as such, by every command.
        for (const char *sub : {"delete", "show", "download"}) {
            QStringList args = {QStringLiteral("device"), QLatin1String(sub),
                                QStringLiteral("--slot"), QStringLiteral("200")};
            if (QByteArray(sub) == "download")
                args << m_dir.filePath(QStringLiteral("never.blfl"));
            const ToolRun beyond = runTool(sim(args));
            QCOMPARE(beyond.exitCode, 1);
            QVERIFY2(beyond.err.endsWith("has no slot 200: its slots are 0 to 99\n"),
                     beyond.err.constData());
        }
        QCOMPARE(fixturesOf(fixtures()).size(), before);
    }

    // Names outside Latin-1 reach the controller as "?": each changed name is one warning on
    // stderr, and stdout keeps only the result lines.
    void anUploadWarnsAboutEveryNameTheControllerShowsDifferently()
    {
        const QString json = m_dir.filePath(QStringLiteral("cyrillic.json"));
        QFile f(json);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("{\"definitions\": [{\"fixtureName\": \"\u041f\u0440\u043e\u0436"
                               "\u0435\u043a\u0442\u043e\u0440 575\", \"manufacturerName\": "
                               "\"Acme\", \"channels\": [{\"name\": \"Pan\"}, {\"name\": "
                               "\"\u042f\u0440\u043a\u043e\u0441\u0442\u044c\"}]}]}")
                    .toUtf8());
        f.close();
        const QString library = m_dir.filePath(QStringLiteral("cyrillic.blfl"));
        QCOMPARE(runTool({QStringLiteral("library"), QStringLiteral("create"), library,
                          QStringLiteral("--from-json"), json, QStringLiteral("--force")})
                     .exitCode,
                 0);
        const ToolRun up = runTool(sim({QStringLiteral("device"), QStringLiteral("upload"), library}));
        QCOMPARE(up.exitCode, 0);
        QCOMPARE(QString::fromUtf8(up.err),
                 QStringLiteral("kdr450p-tool device upload: warning: \"\u041f\u0440\u043e\u0436"
                                "\u0435\u043a\u0442\u043e\u0440 575\" is stored as \"????????? "
                                "575\"\n"
                                "kdr450p-tool device upload: warning: \"\u041f\u0440\u043e\u0436"
                                "\u0435\u043a\u0442\u043e\u0440 575\": channel 2 name \"\u042f"
                                "\u0440\u043a\u043e\u0441\u0442\u044c\" is stored as \"???????\"\n"));
        QVERIFY(up.out.endsWith("Uploaded 1 definition to KDR-450P #1 (software 1.3).\n"));
        QVERIFY(!up.out.contains("warning"));
    }

    // The output is checked before the transfer: a failure names the reason, not a save.
    void aDownloadToAnUnwritablePathIsRefusedBeforeTheTransfer()
    {
        const QString folder = m_dir.filePath(QStringLiteral("a-folder"));
        QVERIFY(QDir().mkpath(folder));
        const QList<QPair<QString, QByteArray>> cases = {
            {m_dir.filePath(QStringLiteral("missing/out.blfl")), "does not exist"},
            {folder, "not a regular file"},
            {QStringLiteral("/dev/null"), "not a regular file"}};
        for (const auto &c : cases) {
            const ToolRun run =
                runTool(sim({QStringLiteral("device"), QStringLiteral("download"), c.first}));
            QCOMPARE(run.exitCode, 1);
            QVERIFY(run.oneErrorLine());
            QVERIFY2(run.err.startsWith("kdr450p-tool device download: cannot write " +
                                        c.first.toUtf8() + ": "),
                     run.err.constData());
            QVERIFY2(run.err.contains(c.second), run.err.constData());
        }
        QVERIFY(QFileInfo(folder).isDir());
    }

    // "-" is standard output for the download and standard input for the library commands.
    void aDownloadToStandardOutputFeedsTheLibraryCommands()
    {
        const ToolRun down =
            runTool(sim({QStringLiteral("device"), QStringLiteral("download"), QStringLiteral("-"),
                         QStringLiteral("--slot"), QStringLiteral("1")}));
        QCOMPARE(down.exitCode, 0);
        QVERIFY(down.err.contains("Downloaded 1 definition"));
        const ToolRun listed = runToolWithInput(
            {QStringLiteral("library"), QStringLiteral("list"), QStringLiteral("-")}, down.out);
        QCOMPARE(listed.exitCode, 0);
        QCOMPARE(listed.out.count('\n'), 1);
        QVERIFY(listed.out.startsWith("1. Scanner 575 "));
    }

    void downloadingIntoAFileThatIsNoLibraryLeavesItAlone()
    {
        const QString path = m_dir.filePath(QStringLiteral("notes.blfl"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a library");
        f.close();
        const ToolRun run =
            runTool(sim({QStringLiteral("device"), QStringLiteral("download"), path}));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.oneErrorLine());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("not a library"));
    }

    void firmwareFilesAreCheckedAndProgrammedIntoTheSimulator()
    {
        const QString good = m_dir.filePath(QStringLiteral("good.bl2"));
        QVERIFY(SyntheticFirmware::write(good, SyntheticFirmware::oneSector()));
        ToolRun run = runTool({QStringLiteral("firmware"), QStringLiteral("check"), good});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("is OK."));
        QVERIFY(run.out.contains("KDR-450P"));

        QByteArray damaged = SyntheticFirmware::oneSector();
        damaged[5000] = char(damaged.at(5000) ^ 1);
        const QString bad = m_dir.filePath(QStringLiteral("bad.bl2"));
        QVERIFY(SyntheticFirmware::write(bad, damaged));
        run = runTool({QStringLiteral("firmware"), QStringLiteral("check"), bad});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.oneErrorLine());
        QVERIFY2(run.err.contains("is not a valid BL2 file: the checksum is "), run.err.constData());
        QByteArray tooMany = SyntheticFirmware::oneSector();
        tooMany[46] = char(9);
        QVERIFY(SyntheticFirmware::write(bad, tooMany));
        run = runTool({QStringLiteral("firmware"), QStringLiteral("check"), bad});
        QVERIFY2(run.err.contains(": it claims 9 sectors, at most 8 are allowed."),
                 run.err.constData());

        // Asked for unless --yes; without a terminal to ask on, nothing is programmed.
        const QStringList update = {QStringLiteral("firmware"), QStringLiteral("update"), good,
                                    QStringLiteral("--device"), QStringLiteral("2")};
        run = runTool(sim(update));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("--yes"));
        run = runTool(sim(update + QStringList{QStringLiteral("--yes")}));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("Software version before: 1.2\nSoftware version after:  1.3\n"
                                   "Programmed KDR-450P #2 (software 1.2)"));
        // The simulated controller keeps its new version in the state file.
        const ToolRun info = runTool(sim({QStringLiteral("info"), QStringLiteral("--device"),
                                          QStringLiteral("2"), QStringLiteral("--json")}));
        QCOMPARE(QJsonDocument::fromJson(info.out)
                     .object()
                     .value(QLatin1String("softwareVersion"))
                     .toString(),
                 QStringLiteral("1.3"));

        const QString other = m_dir.filePath(QStringLiteral("other.bl2"));
        QVERIFY(SyntheticFirmware::write(other,
                                         SyntheticFirmware::oneSector(QStringLiteral("KDR-200"))));
        run = runTool(sim({QStringLiteral("firmware"), QStringLiteral("update"), other}));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("(wrong device)"));
    }

    // --verbose, wherever it stands, traces one line per frame on stderr and leaves stdout as
    // it is. The simulated controllers' own log (kdr.simulator) counts what they received and
    // answered, independently of the link that writes the trace.
    void verboseTracesOneLinePerFrameOfTheCommand_data()
    {
        QTest::addColumn<QStringList>("arguments");
        const QString v = QStringLiteral("--verbose");
        QTest::newRow("before the command") << QStringList{v, "device", "fixtures", "--simulate"};
        QTest::newRow("between") << QStringList{"device", v, "fixtures", "--simulate"};
        QTest::newRow("after") << QStringList{"device", "fixtures", "--simulate", v};
        QTest::newRow("devices") << QStringList{"devices", "--simulate", v};
        QTest::newRow("info") << QStringList{"info", "--simulate", v, "--device", "2"};
    }

    void verboseTracesOneLinePerFrameOfTheCommand()
    {
        QFETCH(QStringList, arguments);
        QStringList plainArguments = arguments;
        plainArguments.removeAll(QStringLiteral("--verbose"));
        const ToolRun plain = runTool(plainArguments);
        const ToolRun traced =
            runToolWithVariable(QStringLiteral("QT_LOGGING_RULES"),
                                QStringLiteral("kdr.simulator.debug=true"), arguments);
        QCOMPARE(plain.exitCode, 0);
        QCOMPARE(traced.exitCode, 0);
        QCOMPARE(traced.out, plain.out);
        QVERIFY(plain.err.isEmpty());

        static const QRegularExpression frame(QStringLiteral(
            "^(send|recv) ([A-Za-z]+)\\((\\d+)\\) (read|data|status|answer) seq=(\\d+) "
            "flags=0x[0-9a-f]{2} status=(-|\\d+) length=(\\d+)$"));
        QStringList sent;
        QStringList received;
        QStringList controllerIn;
        QStringList controllerOut;
        for (const QByteArray &raw : traced.err.split('\n')) {
            const QString line = QString::fromUtf8(raw);
            if (line.isEmpty())
                continue;
            if (line.contains(QLatin1String(": frame in: command "))) {
                controllerIn << line.section(QLatin1String("command "), 1).section(' ', 0, 0);
                continue;
            }
            if (line.contains(QLatin1String(": answer out: command "))) {
                controllerOut << line.section(QLatin1String("command "), 1).section(' ', 0, 0);
                continue;
            }
            const QRegularExpressionMatch m = frame.match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            (m.captured(1) == QLatin1String("send") ? sent : received) << m.captured(3);
        }
        QVERIFY(sent.size() >= 3);
        // One line per request and per answer, command for command.
        QCOMPARE(sent, controllerIn);
        QCOMPARE(received, controllerOut);
        QCOMPARE(received, sent);
    }

    // A last sector of four segments; the faults are the simulated controller's, kept in the
    // state file. Only silence on the final segment counts as the controller's restart.
    void aFirmwareUpdateFailingInTheLastSectorExitsOneWithItsReason_data()
    {
        QTest::addColumn<QJsonObject>("faults");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("error status on its first segment")
            << QJsonObject{{"lastSectorStatus", 3}} << 1
            << QByteArray("failed: the controller answered status 3\n");
        QTest::newRow("silent after its first segment")
            << QJsonObject{{"lastSectorSilentAfter", 1}} << 1
            << QByteArray("failed: no answer from the controller within 3000 ms\n");
        QTest::newRow("silent after its third segment")
            << QJsonObject{{"lastSectorSilentAfter", 3}} << 0 << QByteArray("Programmed ");
        QTest::newRow("restarting after its final segment")
            << QJsonObject{{"restartsAfterFirmware", true}} << 0 << QByteArray("Programmed ");
    }

    void aFirmwareUpdateFailingInTheLastSectorExitsOneWithItsReason()
    {
        QFETCH(QJsonObject, faults);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, said);
        using namespace SyntheticFirmware;
        const QString path = m_dir.filePath(QStringLiteral("two-sectors.bl2"));
        QVERIFY(write(
            path, image(QStringLiteral("KDR-450P"), {sectorData(1024, 1), sectorData(256, 2)})));
        QCOMPARE(fixtures().exitCode, 0);
        setFirstController(QStringLiteral("firmwareFaults"), faults);
        const ToolRun run = runTool(
            sim({QStringLiteral("firmware"), QStringLiteral("update"), path,
                 QStringLiteral("--device"), QStringLiteral("1"), QStringLiteral("--yes")}));
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(said),
                 (run.out + run.err).constData());
        if (exitCode != 0)
            QVERIFY(run.oneErrorLine());
        // The switches stay in the state for the next run.
        QFile f(m_state);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QJsonObject first = QJsonDocument::fromJson(f.readAll())
                                      .object()
                                      .value(QLatin1String("controllers"))
                                      .toArray()
                                      .at(0)
                                      .toObject();
        QCOMPARE(first.value(QLatin1String("firmwareFaults")).toObject(), faults);
    }

    void badCommandLinesAreUsageErrors()
    {
        QCOMPARE(runTool({QStringLiteral("device"), QStringLiteral("delete"),
                          QStringLiteral("--simulate")})
                     .exitCode,
                 2);
        QCOMPARE(runTool({QStringLiteral("device"), QStringLiteral("fixtures"),
                          QStringLiteral("--simulate-state"), m_state})
                     .exitCode,
                 2);
        QCOMPARE(runTool({QStringLiteral("device"), QStringLiteral("nonsense")}).exitCode, 2);
        QCOMPARE(runTool({QStringLiteral("device"), QStringLiteral("--help")}).exitCode, 0);
        QCOMPARE(runTool({QStringLiteral("firmware"), QStringLiteral("check")}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(DeviceStoreCommandsTest)
#include "test_device_store_commands.moc"
