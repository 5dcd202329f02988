#include "scratchfoldertest.h"
#include "testfiles.h"
#include "toolrunner.h"

#include "library/fixturetypes.h"
#include "library/qxfcatalogue.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace
{

const QString kSystemFolder = QStringLiteral("/usr/share/qlcplus/fixtures");

QByteArray qxf(const QByteArray &manufacturer, const QByteArray &model, const QByteArray &type,
               const QList<QPair<QByteArray, int>> &modes)
{
    QByteArray doc = "<?xml version=\"1.0\"?>\n<!DOCTYPE FixtureDefinition>\n<FixtureDefinition "
                     "xmlns=\"http://www.qlcplus.org/FixtureDefinition\"><Manufacturer>" +
                     manufacturer + "</Manufacturer><Model>" + model + "</Model><Type>" + type +
                     "</Type>";
    for (const auto &m : modes) {
        doc += "<Mode Name=\"" + m.first + "\">";
        for (int i = m.second - 1; i >= 0; --i) // out of order on purpose
            doc += "<Channel Number=\"" + QByteArray::number(i) + "\">C" +
                   QByteArray::number(i + 1) + "</Channel>";
        doc += "</Mode>";
    }
    return doc + "</FixtureDefinition>\n";
}

QJsonArray listedDefinitions(const QString &library)
{
    const ToolRun run = runTool({"library", "list", library, "--json", "--channels"});
    if (run.exitCode != 0)
        return {};
    return QJsonDocument::fromJson(run.out).object().value("definitions").toArray();
}

QStringList names(const QJsonArray &definitions)
{
    QStringList out;
    for (const QJsonValue &d : definitions)
        out << d.toObject().value("fixtureName").toString();
    return out;
}

} // namespace

// The QLC+ fixture commands: listing a catalogue and importing it into a library.
class TestQxfCommands : public ScratchFolderTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(writeFile(path("cat/Acme/spot.qxf"),
                          qxf("Acme", "Spot 1", "Moving Head", {{"Basic", 3}, {"Extended", 46}})));
        QVERIFY(writeFile(path("cat/Acme/par.QXF"), qxf("Acme", "Par", "Dimmer", {{"Only", 2}})));
        QVERIFY(writeFile(path("cat/Bolt/strobe.qxf"),
                          qxf("Bolt &amp; Co", "Flash", "Strobe", {{"Std", 1}, {"Empty", 0}})));
        QVERIFY(writeFile(path("cat/Bolt/broken.qxf"), "<FixtureDefinition><Model>"));
        QVERIFY(writeFile(path("bad/one.qxf"), "not xml"));
    }

    void listPrintsEveryModeAndTheSkippedFiles()
    {
        ToolRun run = runTool({"qxf", "list", path("cat")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out.count('\n'), 5);
        QVERIFY(run.out.startsWith("Acme  Par  Only  Dimmer  2 channels\n"));
        QVERIFY(run.err.contains("skipped Bolt/broken.qxf: "));
        QCOMPARE(run.err.count('\n'), 1);

        run = runTool({"qxf", "list", path("cat"), path("bad/one.qxf"), "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject doc = QJsonDocument::fromJson(run.out).object();
        const QJsonArray fixtures = doc.value("fixtures").toArray();
        QCOMPARE(fixtures.size(), 3);
        const QJsonObject spot = fixtures.at(1).toObject();
        QCOMPARE(spot.value("file").toString(), QStringLiteral("Acme/spot.qxf"));
        QCOMPARE(spot.value("type").toString(), QStringLiteral("Moving Head"));
        const QJsonArray modes = spot.value("modes").toArray();
        QCOMPARE(modes.size(), 2);
        QCOMPARE(modes.at(0).toObject().value("channels").toArray(),
                 QJsonArray({"C1", "C2", "C3"}));
        QCOMPARE(fixtures.at(2).toObject().value("manufacturer").toString(),
                 QStringLiteral("Bolt & Co"));
        const QJsonArray skipped = doc.value("skipped").toArray();
        QCOMPARE(skipped.size(), 2);
        QCOMPARE(skipped.at(0).toObject().value("file").toString(),
                 QStringLiteral("Bolt/broken.qxf"));
        QCOMPARE(skipped.at(1).toObject().value("file").toString(), path("bad/one.qxf"));

        // The reasons quoted in the JSON stay English for scripts; on stderr they are German.
        const QStringList json{"qxf", "list", path("cat"), path("bad/one.qxf"), "--json"};
        QCOMPARE(runToolInLanguage("de", json).out, run.out);
        QVERIFY(skipped.at(1).toObject().value("reason").toString().contains("not well-formed"));
        const ToolRun german = runToolInLanguage("de", {"qxf", "list", path("bad/one.qxf")});
        QVERIFY2(QString::fromUtf8(german.err).contains("kein wohlgeformtes XML"),
                 german.err.constData());
    }

    void exitCodesSayWhetherAnythingWasRead_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("list without input") << QStringList{"qxf", "list"} << 2;
        QTest::newRow("list unknown option") << QStringList{"qxf", "list", "x", "--jsn"} << 2;
        QTest::newRow("list nothing readable") << QStringList{"qxf", "list", path("bad")} << 1;
        QTest::newRow("list missing folder") << QStringList{"qxf", "list", path("nowhere")} << 1;
        QTest::newRow("import without input")
            << QStringList{"library", "import-qxf", path("x.blfl")} << 2;
        QTest::newRow("import bad max")
            << QStringList{"library",   "import-qxf",     path("x.blfl"),
                           path("cat"), "--max-channels", "0"}
            << 2;
        QTest::newRow("import nothing readable")
            << QStringList{"library", "import-qxf", path("x.blfl"), path("bad")} << 1;
        QTest::newRow("help") << QStringList{"library", "import-qxf", "--help"} << 0;
    }

    void exitCodesSayWhetherAnythingWasRead()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const ToolRun run = runTool(arguments);
        QVERIFY(!run.crashed);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(!QFile::exists(path("x.blfl")), "a failed import must not create the library");
    }

    void importAppendsTheChosenModes()
    {
        const QString library = path("lib.blfl");
        ToolRun run = runTool({"library", "import-qxf", library, path("cat")});
        QCOMPARE(run.exitCode, 0);
        // Every count in its own singular or plural.
        QCOMPARE(QString::fromUtf8(run.out),
                 QStringLiteral("added 4 definitions to %1; skipped 1 file, 1 empty mode, 0 modes "
                                "over --max-channels; 1 added mode exceeds the controller's 45 "
                                "channels\n")
                     .arg(library));
        QVERIFY(run.err.contains("\"Extended\" has 46 channels"));
        QVERIFY(run.err.contains("\"Empty\" has no channels"));
        QJsonArray listed = listedDefinitions(library);
        QCOMPARE(names(listed),
                 (QStringList{"Par", "Spot 1 Basic", "Spot 1 Extended", "Flash Std"}));
        const QJsonObject spot = listed.at(1).toObject();
        QCOMPARE(spot.value("manufacturerName").toString(), QStringLiteral("Acme"));
        QCOMPARE(spot.value("fixtureType").toInt(), 0);
        QCOMPARE(spot.value("channels").toArray().at(0).toObject().value("name").toString(),
                 QStringLiteral("C1"));
        QCOMPARE(listed.at(3).toObject().value("fixtureType").toInt(), 6);

        // Filters narrow the import, and a second import appends; the counts in German.
        run = runToolInLanguage("de", {"library", "import-qxf", library, path("cat"),
                                       "--manufacturer", "acm", "--model", "SPOT", "--mode",
                                       "basic", "--mode", "extended", "--max-channels", "45"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out),
                 QStringLiteral("1 Definition zu %1 hinzugefügt; übersprungen: 1 Datei, 0 leere "
                                "Modi, 1 Modus über --max-channels; 0 hinzugefügte Modi "
                                "überschreiten die 45 Kanäle des Controllers\n")
                     .arg(library));
        listed = listedDefinitions(library);
        QCOMPARE(listed.size(), 5);
        QCOMPARE(names(listed).last(), QStringLiteral("Spot 1 Basic"));
        QCOMPARE(runTool({"library", "check", library}).exitCode, 0);
    }

    void aLibraryThatDoesNotLoadIsLeftAlone()
    {
        const QString library = path("damaged.blfl");
        QVERIFY(writeFile(library, "not a library"));
        const ToolRun run = runTool({"library", "import-qxf", library, path("cat")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("left unchanged"));
        QCOMPARE(readFile(library), QByteArray("not a library"));
    }

    // The installed catalogue, when present: everything the reader finds arrives in the library.
    void theSystemCatalogueImportsWhole()
    {
        if (!QFileInfo(kSystemFolder).isDir())
            QSKIP("no installed QLC+ fixture catalogue");
        const QxfScanResult scan = QxfCatalogue::scan(QStringList{kSystemFolder});
        QList<const QxfFixture *> owners;
        QList<const QxfMode *> modes;
        for (const QxfFixture &f : scan.fixtures)
            for (const QxfMode &m : f.modes)
                if (!m.channels.isEmpty()) {
                    owners.append(&f);
                    modes.append(&m);
                }
        QVERIFY(modes.size() > 1000);

        const QString library = path("system.blfl");
        const ToolRun run = runTool({"library", "import-qxf", library, kSystemFolder});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("added " + QByteArray::number(modes.size()) + " definitions"));
        QCOMPARE(runTool({"library", "check", library}).exitCode, 0);

        const QJsonArray listed = listedDefinitions(library);
        QCOMPARE(listed.size(), modes.size());
        for (int i = 0; i < listed.size(); i += 97) {
            const QJsonObject d = listed.at(i).toObject();
            const QxfFixture &f = *owners.at(i);
            QCOMPARE(d.value("fixtureName").toString(), Qxf::definitionName(f, *modes.at(i)));
            QCOMPARE(d.value("manufacturerName").toString(), f.manufacturer);
            QCOMPARE(quint32(d.value("fixtureType").toInt()), Qxf::fixtureType(f.type));
            const QJsonArray channels = d.value("channels").toArray();
            QCOMPARE(channels.size(), modes.at(i)->channels.size());
            QCOMPARE(channels.last().toObject().value("name").toString(),
                     modes.at(i)->channels.last());
            QCOMPARE(channels.last().toObject().value("number").toInt(), int(channels.size()));
        }
    }
};

QTEST_GUILESS_MAIN(TestQxfCommands)
#include "test_qxf_commands.moc"
