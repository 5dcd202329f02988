#include "syntheticfirmware.h"
#include "toolrunner.h"

#include "library/blflarchive.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

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
    return QJsonDocument::fromJson(run.out).object().value(QLatin1String("fixtures")).toArray();
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
        QFile f(m_state);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QJsonObject root = QJsonDocument::fromJson(f.readAll()).object();
        f.close();
        QJsonArray controllers = root.value(QLatin1String("controllers")).toArray();
        QJsonObject first = controllers.at(0).toObject();
        first.insert(QStringLiteral("patchListEmpty"), empty);
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

        const ToolRun text = runTool(sim({QStringLiteral("device"), QStringLiteral("fixtures")}));
        QCOMPARE(text.exitCode, 0);
        QVERIFY(text.out.contains(first.value(QLatin1String("fixtureName")).toString().toUtf8()));
    }

    void aSessionUploadsListsDownloadsAppendsAndDeletes()
    {
        const QString library = m_dir.filePath(QStringLiteral("upload.blfl"));
        QVERIFY(writeLibrary(library, {{QStringLiteral("Alpha"), 3},
                                       {QStringLiteral("Beta"), 45},
                                       {QStringLiteral("Gamma"), 1}}));
        const int before = int(fixturesOf(fixtures()).size());

        ToolRun up = runTool(sim({QStringLiteral("device"), QStringLiteral("upload"), library,
                                  QStringLiteral("--only"), QStringLiteral("Alpha"),
                                  QStringLiteral("--only"), QStringLiteral("Gamma")}));
        QCOMPARE(up.exitCode, 0);
        QJsonArray list = fixturesOf(fixtures());
        QCOMPARE(list.size(), before + 2);
        QCOMPARE(list.at(before).toObject().value(QLatin1String("fixtureName")).toString(),
                 QStringLiteral("Alpha"));
        QCOMPARE(list.at(before + 1).toObject().value(QLatin1String("channelCount")).toInt(), 1);
        const int alphaSlot = list.at(before).toObject().value(QLatin1String("slot")).toInt();
        const int gammaSlot = list.at(before + 1).toObject().value(QLatin1String("slot")).toInt();

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
        QCOMPARE(list.size(), before + 1);
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
        QVERIFY(run.err.contains("(free slots)"));

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
        QVERIFY(text.out.contains("No fixture definitions"));
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
        QVERIFY(run.err.contains("slot 99"));
        QCOMPARE(fixturesOf(fixtures()).size(), before);
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
        QVERIFY(run.err.contains("is not a valid BL2 file."));

        run = runTool(sim({QStringLiteral("firmware"), QStringLiteral("update"), good,
                           QStringLiteral("--device"), QStringLiteral("1")}));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("Programmed device 1"));

        const QString other = m_dir.filePath(QStringLiteral("other.bl2"));
        QVERIFY(SyntheticFirmware::write(other,
                                         SyntheticFirmware::oneSector(QStringLiteral("KDR-200"))));
        run = runTool(sim({QStringLiteral("firmware"), QStringLiteral("update"), other}));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("(wrong device)"));
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
