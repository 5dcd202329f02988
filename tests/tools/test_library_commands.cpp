#include "rawarchive.h"
#include "scratchfoldertest.h"
#include "testfiles.h"
#include "toolrunner.h"

#include <QFile>
#include <QJsonDocument>
#include <QTranslator>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace
{

const QByteArray kDocument = "<BrenlowFixtureDefinition><Manufacturer Name=\"Maker\"/>"
                             "<Model Name=\"Spot 575\" ShortName=\"S575\"/><Type>Scanner</Type>"
                             "<DMXChannel Name=\"Pan\"/><DMXChannel Name=\"Tilt\" ShortName=\"T\"/>"
                             "<Personality><DMXChannelRef Number=\"1\">Pan</DMXChannelRef>"
                             "<DMXChannelRef Number=\"2\">Tilt</DMXChannelRef></Personality>"
                             "</BrenlowFixtureDefinition>";

} // namespace

// The library subcommands: help, exit codes and one-line reasons.
class TestLibraryCommands : public ScratchFolderTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(writeRawArchive(path("good.blfl"),
                                {{"blfl.version", "01.00"}, {"spot.xml", kDocument}}));
    }

    void helpIsOfferedOnEveryLevel_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("usage");
        QTest::newRow("tool") << QStringList{"--help"} << "Usage: kdr450p-tool <command>";
        QTest::newRow("library") << QStringList{"library", "--help"}
                                 << "Usage: kdr450p-tool library <subcommand>";
        QTest::newRow("list") << QStringList{"library", "list", "--help"}
                              << "Usage: kdr450p-tool library list FILE";
        QTest::newRow("check") << QStringList{"library", "check", "-h"}
                               << "Usage: kdr450p-tool library check FILE";
        QTest::newRow("resave") << QStringList{"library", "resave", "--help"}
                                << "Usage: kdr450p-tool library resave IN OUT";
        QTest::newRow("create") << QStringList{"library", "create", "--help"}
                                << "Usage: kdr450p-tool library create OUT";
    }

    void helpIsOfferedOnEveryLevel()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, usage);
        const ToolRun run = runTool(args);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(usage.toUtf8()), run.out.constData());
        QVERIFY(run.err.isEmpty());
    }

    void wrongCommandLinesAreUsageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no subcommand") << QStringList{"library"};
        QTest::newRow("unknown subcommand") << QStringList{"library", "frobnicate"};
        QTest::newRow("list without file") << QStringList{"library", "list"};
        QTest::newRow("list with two files") << QStringList{"library", "list", "a", "b"};
        QTest::newRow("unknown option") << QStringList{"library", "list", "a", "--xml"};
        QTest::newRow("check without file") << QStringList{"library", "check"};
        QTest::newRow("resave with one file") << QStringList{"library", "resave", "a"};
        QTest::newRow("create without json") << QStringList{"library", "create", "out"};
        QTest::newRow("create with dangling option")
            << QStringList{"library", "create", "out", "--from-json"};
    }

    void wrongCommandLinesAreUsageErrors()
    {
        QFETCH(QStringList, args);
        const ToolRun run = runTool(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(!run.crashed);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.isEmpty());
    }

    void checkAcceptsAGoodLibrary()
    {
        const ToolRun run = runTool({"library", "check", path("good.blfl")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QVERIFY(run.out.contains("loads, 1 definition\n"));
    }

    void listPrintsNamesTypeAndChannels()
    {
        const ToolRun run = runTool({"library", "list", path("good.blfl"), "--channels"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("1. Spot 575 [S575]  Maker []  Scanner  2 channels\n"
                                     "      1  Pan []\n"
                                     "      2  Tilt [T]\n"));
    }

    void unreadableFilesFailWithOneLineReasons_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QVERIFY(writeFile(path("random.blfl"),
                          QByteArray("\x13\x37 random bytes, nothing else").repeated(20)));
        QVERIFY(writeRawArchive(path("text.blfl"),
                                {{"data", QByteArray("plain text\n").repeated(50)}},
                                RawArchiveForm::GzipStream));
        QVERIFY(writeRawArchive(path("noversion.blfl"), {{"spot.xml", kDocument}}));
        QVERIFY(writeRawArchive(path("newversion.blfl"),
                                {{"blfl.version", "02.00"}, {"spot.xml", kDocument}}));
        const QByteArray good = readFile(path("good.blfl"));
        QVERIFY(writeFile(path("cut.blfl"), good.left(good.size() / 2)));
        QTest::addColumn<QString>("germanReason");
        QTest::newRow("missing") << path("missing.blfl") << "does not exist"
                                 << "existiert nicht";
        QTest::newRow("random bytes")
            << path("random.blfl") << "not a gzip-compressed tar archive): its format is unknown"
            << "kein gzip-komprimiertes tar-Archiv): ihr Format ist unbekannt";
        QTest::newRow("gzip of text")
            << path("text.blfl") << "not a gzip-compressed tar archive): its format is unknown"
            << "kein gzip-komprimiertes tar-Archiv): ihr Format ist unbekannt";
        QTest::newRow("truncated") << path("cut.blfl") << "damaged or truncated: it ends early"
                                   << "beschädigt oder unvollständig: sie endet vorzeitig";
        QTest::newRow("no version entry") << path("noversion.blfl") << "no version entry"
                                          << "keinen Versionseintrag";
        QTest::newRow("incompatible version")
            << path("newversion.blfl") << "incompatible version \"02.00\""
            << "inkompatible Version „02.00“";
    }

    void unreadableFilesFailWithOneLineReasons()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QFETCH(QString, germanReason);
        for (const QString &sub : {QStringLiteral("check"), QStringLiteral("list")}) {
            const ToolRun run = runTool({"library", sub, file});
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.oneErrorLine(), run.err.constData());
            QVERIFY2(QString::fromUtf8(run.err).contains(reason), run.err.constData());
            QVERIFY(run.out.isEmpty());
        }
        // The reason in the user's language; the exit code stays.
        const ToolRun german = runToolInLanguage("de", {"library", "check", file});
        QCOMPARE(german.exitCode, 1);
        QVERIFY2(german.oneErrorLine(), german.err.constData());
        QVERIFY2(QString::fromUtf8(german.err).contains(germanReason), german.err.constData());
        // Nothing of the archive library's English detail is left.
        for (const char *word : {"runcated", "input", "Unrecognized", "Damaged", "decompression"})
            QVERIFY2(!german.err.contains(word), german.err.constData());
        const ToolRun resave = runTool({"library", "resave", file, path("resaved.blfl")});
        QCOMPARE(resave.exitCode, 1);
        QVERIFY(!QFile::exists(path("resaved.blfl")));
    }

    void helpAndResultsFollowTheLanguageButJsonDoesNot()
    {
        const ToolRun help = runToolInLanguage("de", {"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.startsWith("Aufruf: kdr450p-tool <Befehl>"), help.out.constData());
        const ToolRun libraryHelp = runToolInLanguage("de", {"library", "--help"});
        QCOMPARE(libraryHelp.exitCode, 0);
        QVERIFY2(QString::fromUtf8(libraryHelp.out).contains("Unterbefehle:"),
                 libraryHelp.out.constData());
        const ToolRun check = runToolInLanguage("de", {"library", "check", path("good.blfl")});
        QCOMPARE(check.exitCode, 0);
        QVERIFY2(QString::fromUtf8(check.out).endsWith(": lädt, 1 Definition\n"),
                 check.out.constData());
        const ToolRun list = runToolInLanguage("de", {"library", "list", path("good.blfl")});
        QVERIFY2(QString::fromUtf8(list.out).endsWith("Scanner  2 Kanäle\n"), list.out.constData());

        const QStringList json{"library", "list", path("good.blfl"), "--json", "--channels"};
        const ToolRun english = runToolInLanguage("en", json);
        const ToolRun german = runToolInLanguage("de", json);
        QCOMPARE(english.exitCode, 0);
        QCOMPARE(german.exitCode, 0);
        QVERIFY(english.out.contains("\"Spot 575\""));
        QCOMPARE(german.out, english.out);

        // The device side's JSON too, whatever the language.
        for (const QStringList &command :
             {QStringList{"devices", "--simulate", "--json"},
              QStringList{"device", "fixtures", "--simulate", "--json", "--channels"}}) {
            const ToolRun en = runToolInLanguage("en", command);
            QCOMPARE(en.exitCode, 0);
            QVERIFY(!QJsonDocument::fromJson(en.out).isNull());
            QCOMPARE(runToolInLanguage("de", command).out, en.out);
        }

        // No English word is left in a usage error or in the device list.
        const ToolRun usage = runToolInLanguage("de", {"device", "--bogus"});
        QCOMPARE(usage.exitCode, 2);
        QCOMPARE(QString::fromUtf8(usage.err),
                 QStringLiteral("kdr450p-tool device: unbekannte Option --bogus (siehe "
                                "kdr450p-tool device --help)\n"));
        const ToolRun devices = runToolInLanguage("de", {"devices", "--simulate"});
        QCOMPARE(QString::fromUtf8(devices.out),
                 QStringLiteral("Backend: simuliert\n"
                                "KDR-450P #1 (Stage left), Software 1.3, Hardware 2.0\n"
                                "KDR-450P #2 (Rehearsal room), Software 1.2, Hardware 1.0\n"));
    }

    // The help's type names are the window's, in German too.
    void theHelpNamesTheFixtureTypesAsTheWindowDoes()
    {
        QTranslator german;
        QVERIFY(german.load(QStringLiteral("kdr450p_de"), QStringLiteral(KDR_BINARY_DIR "/tools")));
        // The window's type combo, in type order, as its form spells the sources.
        const char *const combo[] = {"Moving Head", "Scanner", "LED Fixture", "Color Chnager",
                                     "Dimmer",      "Laser",   "Strobe",      "Hazer",
                                     "Smoke",       "Effect",  "Other"};
        const QString help =
            QString::fromUtf8(runToolInLanguage("de", {"library", "--help"}).out).simplified();
        QStringList types;
        for (int type = 0; type < 11; ++type)
            types << QString::number(type) + QLatin1Char(' ') +
                         german.translate("LocalFixtureDefinitionEditForm", combo[type]);
        const QString expected =
            QStringLiteral("Fixture-Typen: ") + types.join(QStringLiteral(", "));
        QVERIFY2(help.contains(expected), qPrintable(help + QLatin1Char('\n') + expected));
    }

    // "-" reads standard input; the lines name it so rather than "-".
    void standardInputIsNamedInTheLines()
    {
        ToolRun run = runToolWithInput({"library", "check", "-"}, readFile(path("good.blfl")));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("standard input: loads, 1 definition\n"));

        QByteArray newer = kDocument;
        newer.replace("<Personality>", "<Gobo Wheel=\"1\"/><Personality>");
        QVERIFY(writeRawArchive(path("stdin-newer.blfl"),
                                {{"blfl.version", "01.00"}, {"x.xml", newer}}));
        run = runToolWithInput({"library", "check", "-"}, readFile(path("stdin-newer.blfl")));
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.out.startsWith("standard input: entry 1 (x.xml): "), run.out.constData());
        QCOMPARE(run.err, QByteArray("kdr450p-tool library check: standard input holds content "
                                     "this version does not support; saving it would lose that "
                                     "content\n"));

        run = runToolWithInput({"library", "create", path("stdin.blfl"), "--from-json", "-"},
                               "{\"definitions\": 5}");
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith("kdr450p-tool library create: standard input: "),
                 run.err.constData());
    }

    void unsupportedContentIsExitThreeAndResaveNeedsForce()
    {
        QByteArray newer = kDocument;
        newer.replace("<Personality>", "<Gobo Wheel=\"1\"/><Personality>");
        QVERIFY(writeRawArchive(path("newer.blfl"), {{"blfl.version", "01.00"}, {"x.xml", newer}}));

        const ToolRun check = runTool({"library", "check", path("newer.blfl")});
        QCOMPARE(check.exitCode, 3);
        QVERIFY(check.oneErrorLine());
        QVERIFY(check.err.contains("does not support"));
        QVERIFY2(check.out.contains("entry 1 (x.xml): \"Spot 575\": element <Gobo>"),
                 check.out.constData());

        // A damaged entry reads as nothing, so a save would drop it: it counts the same way.
        QVERIFY(writeRawArchive(path("damaged.blfl"),
                                {{"blfl.version", "01.00"},
                                 {"a.xml", kDocument},
                                 {"b.xml", "<BrenlowFixtureDefinition><Model Name=\"Smoke & Co\"/>"
                                           "<Personality/></BrenlowFixtureDefinition>"},
                                 {"c.xml", ""}}));
        const ToolRun damaged = runTool({"library", "check", path("damaged.blfl")});
        QCOMPARE(damaged.exitCode, 3);
        QVERIFY2(damaged.out.contains("entry 2 (b.xml): not well-formed XML"),
                 damaged.out.constData());
        QVERIFY2(damaged.out.contains("entry 3 (c.xml): not well-formed XML"),
                 damaged.out.constData());
        QVERIFY(!damaged.out.contains("entry 1"));
        QCOMPARE(runTool({"library", "resave", path("damaged.blfl"), path("lossy.blfl")}).exitCode,
                 1);
        QVERIFY(!QFile::exists(path("lossy.blfl")));

        const ToolRun list = runTool({"library", "list", path("newer.blfl")});
        QCOMPARE(list.exitCode, 0);
        QVERIFY(list.out.contains("Spot 575"));
        QVERIFY(list.err.contains("warning"));

        const ToolRun refused =
            runTool({"library", "resave", path("newer.blfl"), path("lossy.blfl")});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY(refused.err.contains("--force"));
        QVERIFY(!QFile::exists(path("lossy.blfl")));

        const ToolRun forced =
            runTool({"library", "resave", path("newer.blfl"), path("lossy.blfl"), "--force"});
        QCOMPARE(forced.exitCode, 0);
        QCOMPARE(runTool({"library", "check", path("lossy.blfl")}).exitCode, 0);
    }

    void checkForDeviceNamesWhatAnUploadWouldRefuseOrChange()
    {
        QVERIFY(writeFile(path("device.json"),
                          QStringLiteral(R"({"definitions": [{"fixtureName": "Spot 575",
            "channels": [{"name": "Pan"}]}, {"fixtureName": "Прожектор 575",
            "channels": [{"name": "Dim"}]}, {"fixtureName": "Empty"}]})")
                              .toUtf8()));
        QCOMPARE(
            runTool({"library", "create", path("device.blfl"), "--from-json", path("device.json")})
                .exitCode,
            0);
        QCOMPARE(runTool({"library", "check", path("device.blfl")}).exitCode, 0);
        const ToolRun run = runTool({"library", "check", path("device.blfl"), "--for-device"});
        QCOMPARE(run.exitCode, 3);
        const QString text = QString::fromUtf8(run.out);
        QVERIFY2(!text.contains(QLatin1String("1. ")), run.out.constData());
        QVERIFY2(text.contains(QStringLiteral(
                     "2. \"Прожектор 575\": fixture name \"Прожектор 575\" is stored as "
                     "\"????????? 575\"")),
                 run.out.constData());
        QVERIFY2(text.contains(QLatin1String("3. \"Empty\": 0 channel")), run.out.constData());
        QVERIFY(run.oneErrorLine());
    }

#ifdef Q_OS_UNIX // a file size limit in the child
    void aResaveThatRunsOutOfRoomLeavesTheTargetIntact()
    {
        // A library of some size, re-saved over a small one by a process that may not write
        // files larger than 4 KiB.
        QByteArray big = kDocument;
        QList<QPair<QByteArray, QByteArray>> entries{{"blfl.version", "01.00"}};
        for (int i = 0; i < 300; ++i)
            entries.append(
                {QByteArray::number(i) + ".xml",
                 QByteArray(kDocument).replace("Spot 575", QByteArray::number(qHash(i), 36))});
        QVERIFY(writeRawArchive(path("big.blfl"), entries));
        QVERIFY(QFile::copy(path("good.blfl"), path("target.blfl")));
        const QByteArray before = readFile(path("target.blfl"));

        const ToolRun run =
            runTool({"library", "resave", path("big.blfl"), path("target.blfl")}, [] {
                signal(SIGXFSZ, SIG_IGN);
                rlimit limit{4096, 4096};
                setrlimit(RLIMIT_FSIZE, &limit);
            });
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.oneErrorLine(), run.err.constData());
        QVERIFY(run.err.contains("cannot save"));
        QCOMPARE(readFile(path("target.blfl")), before);

        QCOMPARE(runTool({"library", "resave", path("big.blfl"), path("target.blfl")}).exitCode, 0);
        QVERIFY(runTool({"library", "check", path("target.blfl")}).out.contains("300 definitions"));
    }
#endif

    void resaveOntoItselfWorks()
    {
        QVERIFY(QFile::copy(path("good.blfl"), path("self.blfl")));
        QCOMPARE(runTool({"library", "resave", path("self.blfl"), path("self.blfl")}).exitCode, 0);
        QCOMPARE(runTool({"library", "list", path("self.blfl"), "--channels"}).out,
                 runTool({"library", "list", path("good.blfl"), "--channels"}).out);
    }
};

QTEST_GUILESS_MAIN(TestLibraryCommands)
#include "test_library_commands.moc"
