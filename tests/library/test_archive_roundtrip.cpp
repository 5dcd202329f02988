#include "archivehelpers.h"
#include "libraryhelpers.h"
#include "scratchfoldertest.h"

#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// What is saved loads back the same, and other tar programs read and write our files.
class TestArchiveRoundtrip : public ScratchFolderTest
{
    Q_OBJECT

    static QList<DefinitionSnapshot> expected(const DefinitionList &list)
    {
        QList<DefinitionSnapshot> out = snapshots(rawList(list));
        for (DefinitionSnapshot &d : out) {
            if (d.fixtureType > 10)
                d.fixtureType = QBLFixtureDefinition::NoFixtureType;
        }
        return out;
    }

    static void compareAll(const QList<DefinitionSnapshot> &got,
                           const QList<DefinitionSnapshot> &want)
    {
        QCOMPARE(got.size(), want.size());
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(got.at(i) == want.at(i),
                     qPrintable(QStringLiteral("\n got: %1\nwant: %2")
                                    .arg(got.at(i).describe(), want.at(i).describe())));
    }

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void nastyDefinitionsReadBackUnchanged()
    {
        const DefinitionList defs = nastyDefinitions();
        QCOMPARE(saveLibrary(path("nasty.blfl"), rawList(defs)), QString());
        bool ok = false;
        bool unsupported = true;
        const auto got = loadLibrary(path("nasty.blfl"), &ok, &unsupported);
        QVERIFY(ok);
        QVERIFY(!unsupported);
        compareAll(got, expected(defs));
    }

    void savingWhatWasLoadedGivesTheSameDefinitionsAgain()
    {
        const DefinitionList defs = nastyDefinitions();
        QCOMPARE(saveLibrary(path("first.blfl"), rawList(defs)), QString());
        BLFLArchive first(path("first.blfl"));
        QVERIFY(first.load());
        QList<QBLFixtureDefinition *> loaded;
        for (QBLFixtureDefinitionLoader *l : first.loaders())
            loaded += *l->definitions();
        QCOMPARE(saveLibrary(path("second.blfl"), loaded), QString());
        QCOMPARE(readFile(path("second.blfl")).size() > 0, true);
        bool ok = false;
        compareAll(loadLibrary(path("second.blfl"), &ok), snapshots(loaded));
        QVERIFY(ok);
    }

    void anEmptyLibraryHoldsOnlyTheVersionEntry()
    {
        BLFLArchive noList(path("nolist.blfl"));
        QVERIFY(noList.save());
        QCOMPARE(saveLibrary(path("empty.blfl"), {}), QString());
        for (const QString &name : {QStringLiteral("nolist.blfl"), QStringLiteral("empty.blfl")}) {
            QCOMPARE(entryPaths(path(name)), QStringList{QStringLiteral("blfl.version")});
            BLFLArchive a(path(name));
            QVERIFY(a.load());
            QVERIFY(a.loaders().isEmpty());
            QCOMPARE(a.version(), QStringLiteral("01.00"));
        }
    }

    void entryNamesFollowTheNamingRule()
    {
        DefinitionList defs;
        for (const char *name : {"Mac 250 Entour", "Mac 250 Entour", "", "BLFL", "Spot", "spot",
                                 "\xc3\x84rger Wash", "Mac 2.0", "_"})
            defs.push_back(makeDefinition(QString::fromUtf8(name)));
        QList<QBLFixtureDefinition *> list = rawList(defs);
        list.insert(2, nullptr); // skipped
        QCOMPARE(saveLibrary(path("names.blfl"), list), QString());
        QCOMPARE(entryPaths(path("names.blfl")),
                 (QStringList{"blfl.version", "mac-250-entour.xml", "mac-250-entour_1.xml", "-.xml",
                              "blfl_1.xml", "spot.xml", "spot_1.xml", "-rger-wash.xml",
                              "mac-2.0.xml", "-_1.xml"}));
        bool ok = false;
        QCOMPARE(loadLibrary(path("names.blfl"), &ok).size(), 9);
        QVERIFY(ok);
    }

    void versionEntryRulesAreAnchoredAtTheEnd_data()
    {
        QTest::addColumn<QByteArray>("entryPath");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("loads");
        QTest::newRow("01.00") << QByteArray("blfl.version") << QByteArray("01.00") << true;
        QTest::newRow("101.00") << QByteArray("blfl.version") << QByteArray("101.00") << true;
        QTest::newRow("01x00") << QByteArray("blfl.version") << QByteArray("01x00") << true;
        QTest::newRow("zero ends the text")
            << QByteArray("blfl.version") << QByteArray("01.00\0junk", 10) << true;
        QTest::newRow("line end") << QByteArray("blfl.version") << QByteArray("01.00\n") << false;
        QTest::newRow("1.00") << QByteArray("blfl.version") << QByteArray("1.00") << false;
        QTest::newRow("01.0") << QByteArray("blfl.version") << QByteArray("01.0") << false;
        QTest::newRow("upper case path")
            << QByteArray("BLFL.VERSION") << QByteArray("01.00") << true;
        QTest::newRow("inside a folder")
            << QByteArray("lib/blfl.version") << QByteArray("01.00") << true;
    }

    void versionEntryRulesAreAnchoredAtTheEnd()
    {
        QFETCH(QByteArray, entryPath);
        QFETCH(QByteArray, version);
        QFETCH(bool, loads);
        // The definition entry comes first: the version entry may stand anywhere.
        QVERIFY(writeRawArchive(path("v.blfl"),
                                {{"wash.xml", "<BrenlowFixtureDefinition><Model Name=\"Wash\"/>"
                                              "<Personality/></BrenlowFixtureDefinition>"},
                                 {entryPath, version}}));
        BLFLArchive a(path("v.blfl"));
        QCOMPARE(a.load(), loads);
        QCOMPARE(a.loaders().size(), 1); // created in either case
        if (!loads)
            QVERIFY(a.errorString().contains(QStringLiteral("incompatible")));
    }

    void unknownEntriesAreIgnoredAndDottedNamesAreDefinitions()
    {
        const QByteArray doc = "<BrenlowFixtureDefinition><Model Name=\"X\"/><Personality/>"
                               "</BrenlowFixtureDefinition>";
        QVERIFY(writeRawArchive(path("mixed.blfl"), {{"blfl.version", "01.00"},
                                                     {"readme.txt", "hello"},
                                                     {"folder.xml/", ""},
                                                     {"a.b.c.XML", doc},
                                                     {"sub/dir/x.xml", doc},
                                                     {"empty.xml", ""}}));
        BLFLArchive a(path("mixed.blfl"));
        QVERIFY(a.load());
        QCOMPARE(a.loaders().size(), 3);
        QCOMPARE(a.loaders().at(2)->definitions()->size(), 0); // empty document
    }

    // Unsupported content raises the flag and is reported; an archive without any has neither.
    void unsupportedContentRaisesTheFlag_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<bool>("unsupported");
        QTest::newRow("unknown element")
            << QByteArray("<BrenlowFixtureDefinition><Model Name=\"X\"/><Gobo/>"
                          "<Personality/></BrenlowFixtureDefinition>")
            << true;
        QTest::newRow("nothing unknown")
            << QByteArray("<BrenlowFixtureDefinition><Model Name=\"C\"/>"
                          "<Personality/></BrenlowFixtureDefinition>")
            << false;
    }

    void unsupportedContentRaisesTheFlag()
    {
        QFETCH(QByteArray, document);
        QFETCH(bool, unsupported);
        QVERIFY(
            writeRawArchive(path("newer.blfl"), {{"blfl.version", "01.00"}, {"x.xml", document}}));
        BLFLArchive a(path("newer.blfl"));
        QVERIFY(a.load());
        QCOMPARE(a.hasUnsupportedFeatures(), unsupported);
        QCOMPARE(a.unsupportedContentReport().isEmpty(), !unsupported);
    }

    void gnuTarAndBsdtarListASavedLibrary_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("GNU tar") << QStringLiteral("tar") << QStringList{"-tzf"};
        QTest::newRow("bsdtar") << QStringLiteral("bsdtar") << QStringList{"-tf"};
    }

    void gnuTarAndBsdtarListASavedLibrary()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        if (QStandardPaths::findExecutable(program).isEmpty())
            QSKIP("the tar program is not installed");
        const DefinitionList defs = nastyDefinitions();
        QCOMPARE(saveLibrary(path("interop.blfl"), rawList(defs)), QString());
        QProcess p;
        p.start(program, arguments << path("interop.blfl"));
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        const QStringList listed = QString::fromUtf8(p.readAllStandardOutput())
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(listed, entryPaths(path("interop.blfl")));
        QCOMPARE(listed.size(), int(defs.size()) + 1);
    }

    void anArchiveMadeByTarFromTheSameEntriesLoads_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("GNU tar") << QStringLiteral("tar");
        QTest::newRow("bsdtar") << QStringLiteral("bsdtar");
    }

    void anArchiveMadeByTarFromTheSameEntriesLoads()
    {
        QFETCH(QString, program);
        if (QStandardPaths::findExecutable(program).isEmpty())
            QSKIP("the tar program is not installed");
        const DefinitionList defs = nastyDefinitions();
        const QString saved = path(program + ".src.blfl");
        QCOMPARE(saveLibrary(saved, rawList(defs)), QString());
        const QString tree = path(program + "-tree");
        QVERIFY(QDir().mkpath(tree));
        QProcess x;
        x.setWorkingDirectory(tree);
        x.start(program, {"-xzf", saved});
        QVERIFY(x.waitForFinished(30000));
        QCOMPARE(x.exitCode(), 0);
        const QString made = path(program + ".made.blfl");
        QProcess c;
        c.setWorkingDirectory(tree);
        c.start(program, QStringList{"-czf", made, "--"} + entryPaths(saved));
        QVERIFY(c.waitForFinished(30000));
        QCOMPARE(c.exitCode(), 0);
        bool ok = false;
        compareAll(loadLibrary(made, &ok), expected(defs));
        QVERIFY(ok);
    }
};

QTEST_GUILESS_MAIN(TestArchiveRoundtrip)
#include "test_archive_roundtrip.moc"
