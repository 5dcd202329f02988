#include "scratchfoldertest.h"
#include "toolrunner.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace
{

QJsonObject channel(int number, const QString &name, const QString &nameShort = {},
                    bool autoShort = true)
{
    return {
        {"number", number}, {"name", name}, {"nameShort", nameShort}, {"autoNameShort", autoShort}};
}

// Every field given as a library file keeps it, so the list output must equal this.
QJsonObject definition(const QString &name, const QJsonValue &type, const QJsonArray &channels,
                       const QString &nameShort = {}, const QString &maker = {},
                       const QString &makerShort = {})
{
    return {{"fixtureName", name},
            {"fixtureNameShort", nameShort},
            {"autoFixtureNameShort", nameShort.isEmpty()},
            {"manufacturerName", maker},
            {"manufacturerNameShort", makerShort},
            {"autoManufacturerNameShort", makerShort.isEmpty()},
            {"fixtureType", type},
            {"channelCount", channels.size()},
            {"channels", channels}};
}

QJsonDocument nastyLibrary()
{
    QJsonArray defs;
    const QStringList names = {
        QStringLiteral("Spot & Wash <Pro> \"XL\""),
        QStringLiteral("\u00c4rger \u041f\u0440\u043e \u706f"),
        QString(130, QChar(0x5149)),
        QString(),
        QStringLiteral("Dup"),
        QStringLiteral("dup"),
        QStringLiteral("Mac 2.0."),
        QStringLiteral("blfl"),
        QStringLiteral("  "),
        QStringLiteral("line\r\nbreak\ttab"),
        QStringLiteral("Dup"),
        QStringLiteral("x_1"),
    };
    const int counts[] = {0, 1, 2, 24, 45, 46, 3, 5, 7, 4, 2, 1};
    for (int i = 0; i < names.size(); ++i) {
        QJsonArray channels;
        for (int c = 0; c < counts[i]; ++c) {
            QString name = QStringLiteral("Ch&<%1> \"\u00e9\u4e2d\"").arg(c + 1);
            if (c == 1)
                name.clear();
            if (c == 2 || c == 3)
                name = QStringLiteral("Same");
            if (c == 4)
                name = QStringLiteral(" ");
            const bool chosen = c % 2;
            channels.append(channel(
                c + 1, name, chosen ? QStringLiteral("S&<%1>\u00fc").arg(c) : QString(), !chosen));
        }
        const QJsonValue type = i < 11 ? QJsonValue(i) : QJsonValue(QJsonValue::Null);
        defs.append(definition(names.at(i), i == 0 ? QJsonValue(QJsonValue::Null) : type, channels,
                               i % 3 ? QStringLiteral("Sh<%1>").arg(i) : QString(),
                               i % 2 ? QStringLiteral("Maker & \u00a9") : QString(),
                               i % 4 == 1 ? QStringLiteral("M\u00e4") : QString()));
    }
    return QJsonDocument(QJsonObject{{"definitions", defs}});
}

} // namespace

// The JSON form: create, list and resave agree, and bad JSON is refused with a reason.
class TestLibraryJsonRoundtrip : public ScratchFolderTest
{
    Q_OBJECT

    bool writeJson(const QString &name, const QByteArray &json)
    {
        QFile f(path(name));
        return f.open(QIODevice::WriteOnly) && f.write(json) == json.size();
    }

private slots:
    void createThenListGivesBackTheSameJson()
    {
        const QJsonDocument input = nastyLibrary();
        QVERIFY(writeJson("nasty.json", input.toJson()));
        const ToolRun create =
            runTool({"library", "create", path("nasty.blfl"), "--from-json", path("nasty.json")});
        QCOMPARE(create.exitCode, 0);
        QVERIFY(create.err.isEmpty());

        const ToolRun list =
            runTool({"library", "list", path("nasty.blfl"), "--json", "--channels"});
        QCOMPARE(list.exitCode, 0);
        QJsonParseError error;
        const QJsonDocument output = QJsonDocument::fromJson(list.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonArray want = input.object().value("definitions").toArray();
        const QJsonArray got = output.object().value("definitions").toArray();
        QCOMPARE(got.size(), want.size());
        for (int i = 0; i < want.size(); ++i)
            QVERIFY2(got.at(i) == want.at(i),
                     qPrintable(QString::fromUtf8(
                         QJsonDocument(got.at(i).toObject()).toJson(QJsonDocument::Compact))));
    }

    void resaveGivesAFileThatListsIdentically()
    {
        QVERIFY(writeJson("resave.json", nastyLibrary().toJson()));
        QCOMPARE(runTool({"library", "create", path("a.blfl"), "--from-json", path("resave.json")})
                     .exitCode,
                 0);
        const ToolRun resave = runTool({"library", "resave", path("a.blfl"), path("b.blfl")});
        QCOMPARE(resave.exitCode, 0);
        const ToolRun a = runTool({"library", "list", path("a.blfl"), "--json", "--channels"});
        const ToolRun b = runTool({"library", "list", path("b.blfl"), "--json", "--channels"});
        QCOMPARE(a.exitCode, 0);
        QVERIFY(!a.out.isEmpty());
        QCOMPARE(b.out, a.out);
        // And a list made by create from the list output is the same again.
        QVERIFY(writeJson("listed.json", a.out));
        QCOMPARE(runTool({"library", "create", path("c.blfl"), "--from-json", path("listed.json")})
                     .exitCode,
                 0);
        QCOMPARE(runTool({"library", "list", path("c.blfl"), "--json", "--channels"}).out, a.out);
    }

    void listWithoutChannelsLeavesThemOut()
    {
        QVERIFY(writeJson("small.json", R"({"definitions": [{"fixtureName": "Par",
            "channels": [{"name": "Dim"}, {"name": "Strobe"}]}]})"));
        QCOMPARE(
            runTool({"library", "create", path("small.blfl"), "--from-json", path("small.json")})
                .exitCode,
            0);
        const ToolRun list = runTool({"library", "list", path("small.blfl"), "--json"});
        const QJsonObject d = QJsonDocument::fromJson(list.out)
                                  .object()
                                  .value("definitions")
                                  .toArray()
                                  .at(0)
                                  .toObject();
        QCOMPARE(d.value("channelCount").toInt(), 2);
        QVERIFY(!d.contains("channels"));
        QVERIFY(d.value("fixtureType").isNull());
        QCOMPARE(d.value("fixtureName").toString(), QStringLiteral("Par"));
    }

    void anEmptyLibraryListsAsAnEmptyArray()
    {
        QVERIFY(writeJson("empty.json", R"({"definitions": []})"));
        QCOMPARE(
            runTool({"library", "create", path("empty.blfl"), "--from-json", path("empty.json")})
                .exitCode,
            0);
        const ToolRun list = runTool({"library", "list", path("empty.blfl"), "--json"});
        QCOMPARE(list.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(list.out).object().value("definitions").toArray().size(),
                 0);
    }

    void createNeverReplacesItsInputAndReplacesALibraryOnlyWithForce()
    {
        const QByteArray json = R"({"definitions": [{"fixtureName": "Par"}]})";
        QVERIFY(writeJson("in.json", json));
        const ToolRun self = runTool(
            {"library", "create", path("in.json"), "--from-json", path("in.json"), "--force"});
        QCOMPARE(self.exitCode, 1);
        QVERIFY2(self.oneErrorLine(), self.err.constData());
        QFile in(path("in.json"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), json);

        const QStringList create{"library", "create", path("out.blfl"), "--from-json",
                                 path("in.json")};
        QCOMPARE(runTool(create).exitCode, 0);
        const ToolRun again = runTool(create);
        QCOMPARE(again.exitCode, 1);
        QVERIFY2(again.err.contains("--force"), again.err.constData());
        QCOMPARE(runTool(create + QStringList{"--force"}).exitCode, 0);
    }

    void badJsonIsRefusedWithOneLineAndNoFile_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not JSON") << QByteArray("{definitions") << "not valid JSON";
        QTest::newRow("no definitions array")
            << QByteArray("{\"defs\": []}") << "\"definitions\" array";
        QTest::newRow("top level array") << QByteArray("[]") << "\"definitions\" array";
        QTest::newRow("definition not an object")
            << QByteArray("{\"definitions\": [1]}") << "not an object";
        QTest::newRow("unknown field")
            << QByteArray("{\"definitions\": [{\"fixtureNmae\": \"x\"}]}")
            << "unknown field \"fixtureNmae\"";
        QTest::newRow("name not a string")
            << QByteArray("{\"definitions\": [{\"fixtureName\": 5}]}") << "must be a string";
        QTest::newRow("flag not a boolean")
            << QByteArray("{\"definitions\": [{\"autoFixtureNameShort\": 1}]}") << "true or false";
        QTest::newRow("type out of range")
            << QByteArray("{\"definitions\": [{\"fixtureType\": 256}]}") << "from 0 to 255";
        QTest::newRow("type not whole")
            << QByteArray("{\"definitions\": [{\"fixtureType\": 1.5}]}") << "whole number";
        QTest::newRow("count without channels")
            << QByteArray("{\"definitions\": [{\"channelCount\": 2}]}") << "--channels";
        QTest::newRow("count mismatch")
            << QByteArray("{\"definitions\": [{\"channelCount\": 2, \"channels\": [{}]}]}")
            << "channelCount";
        QTest::newRow("channel number too big")
            << QByteArray("{\"definitions\": [{\"channels\": [{\"number\": 3e10}]}]}")
            << "channel 1";
        // Records place channels by number: others would be overwritten or dropped.
        for (const char *numbers : {"0", "-5", "600", "1, 1", "2, 1", "1, 3"}) {
            QByteArray channels;
            for (const QByteArray &n : QByteArray(numbers).split(','))
                channels += QByteArray(channels.isEmpty() ? "" : ", ") +
                            "{\"number\": " + n.trimmed() + "}";
            QTest::newRow(numbers) << QByteArray("{\"definitions\": [{\"fixtureName\": "
                                                 "\"Spot\", \"channels\": [" +
                                                 channels + "]}]}")
                                   << "\"Spot\"), channel";
        }
        QTest::newRow("channel short name too long")
            << QByteArray(
                   "{\"definitions\": [{\"channels\": [{\"nameShort\": \"1234567890123\"}]}]}")
            << "longer than 12";
        QTest::newRow("control character")
            << QByteArray("{\"definitions\": [{\"fixtureName\": \"a\\u0007b\"}]}") << "U+0007";
        QTest::newRow("nul character")
            << QByteArray("{\"definitions\": [{\"manufacturerName\": \"a\\u0000b\"}]}") << "U+0000";
    }

    void badJsonIsRefusedWithOneLineAndNoFile()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, reason);
        QVERIFY(writeJson("bad.json", json));
        const ToolRun run =
            runTool({"library", "create", path("bad.blfl"), "--from-json", path("bad.json")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.oneErrorLine(), run.err.constData());
        QVERIFY2(QString::fromUtf8(run.err).contains(reason), run.err.constData());
        QVERIFY(!QFile::exists(path("bad.blfl")));
    }
};

QTEST_GUILESS_MAIN(TestLibraryJsonRoundtrip)
#include "test_library_json_roundtrip.moc"
