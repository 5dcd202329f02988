#include "testfiles.h"

#include "library/qxfcatalogue.h"
#include "library/qxffixturefile.h"
#include "model/qblfixturechannel.h"
#include "model/qblfixturedefinition.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace
{

const QByteArray kNs = "http://www.qlcplus.org/FixtureDefinition";

// A fixture document; modes are given as their inner markup.
QByteArray qxf(const QByteArray &manufacturer, const QByteArray &model, const QByteArray &type,
               const QList<QPair<QByteArray, QByteArray>> &modes, bool withNamespace = true)
{
    QByteArray doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FixtureDefinition";
    if (withNamespace)
        doc += " xmlns=\"" + kNs + "\"";
    doc += ">\n <Creator><Name>x</Name></Creator>\n";
    if (!manufacturer.isNull())
        doc += " <Manufacturer>" + manufacturer + "</Manufacturer>\n";
    if (!model.isNull())
        doc += " <Model>" + model + "</Model>\n";
    if (!type.isNull())
        doc += " <Type>" + type + "</Type>\n";
    doc += " <Channel Name=\"Dimmer\"><Capability Min=\"0\" Max=\"255\">I</Capability></Channel>\n";
    for (const auto &m : modes)
        doc += " <Mode Name=\"" + m.first + "\">" + m.second + "</Mode>\n";
    return doc + " <Physical><Bulb Type=\"LED\"/></Physical>\n</FixtureDefinition>\n";
}

QByteArray channels(int count)
{
    QByteArray out = "<Physical/>";
    for (int i = 0; i < count; ++i)
        out += "<Channel Number=\"" + QByteArray::number(i) + "\">Ch " + QByteArray::number(i + 1) +
               "</Channel>";
    return out;
}

bool parse(const QByteArray &doc, QxfFixture &f, QString *reason = nullptr)
{
    QString r;
    const bool ok = Qxf::parse(doc, f, r);
    if (reason)
        *reason = r;
    return ok;
}

QStringList files(const QList<QxfFixture> &fixtures)
{
    QStringList out;
    for (const QxfFixture &f : fixtures)
        out << f.file;
    return out;
}

} // namespace

// Reading QLC+ fixture files and turning their modes into definitions.
class TestQxfImport : public QObject
{
    Q_OBJECT

private slots:
    void documentsAreRead_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("modes");
        QTest::addColumn<QList<QStringList>>("channels");

        const QByteArray two = "<Channel Number=\"0\">A</Channel><Channel Number=\"1\">B</Channel>";
        QTest::newRow("namespaced root")
            << qxf("Maker", "Spot", "Scanner", {{"Std", two}}) << "Spot" << QStringList{"Std"}
            << QList<QStringList>{{"A", "B"}};
        QTest::newRow("bare root") << qxf("Maker", "Spot", "Scanner", {{"Std", two}}, false)
                                   << "Spot" << QStringList{"Std"}
                                   << QList<QStringList>{{"A", "B"}};
        QTest::newRow("numbers out of order, repeats in document order")
            << qxf("M", "Wash", {},
                   {{"8ch", "<Channel Number=\"2\">C</Channel><Channel Number=\"0\">A</Channel>"
                            "<Channel Number=\"1\">B1</Channel><Channel Number=\"1\">B2</Channel>"}})
            << "Wash" << QStringList{"8ch"} << QList<QStringList>{{"A", "B1", "B2", "C"}};
        QTest::newRow("a missing number keeps document order")
            << qxf("M", "Wash", {},
                   {{"x", "<Channel Number=\"1\">B</Channel><Channel>A</Channel>"}})
            << "Wash" << QStringList{"x"} << QList<QStringList>{{"B", "A"}};
        QTest::newRow("white space in every name")
            << qxf(" \tBig\n  Maker ", "\n Spot\t 575 ", "Dimmer",
                   {{"  Mode\tOne ", "<Channel Number=\"0\">\r\n  Pan \t fine </Channel>"}})
            << "Spot 575" << QStringList{"Mode One"} << QList<QStringList>{{"Pan fine"}};
        QTest::newRow("entities and CDATA")
            << qxf("A &amp; B", "R&#233;d &lt;1&gt;", "Laser",
                   {{"M&amp;1", "<Channel Number=\"0\"><![CDATA[Red & <Blue>]]></Channel>"}})
            << QString::fromUtf8("R\xc3\xa9" "d <1>") << QStringList{"M&1"}
            << QList<QStringList>{{"Red & <Blue>"}};
        QTest::newRow("DOCTYPE, BOM and CRLF")
            << QByteArray("\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                          "<!DOCTYPE FixtureDefinition [<!ENTITY mk \"Mk\">]>\r\n<FixtureDefinition "
                          "xmlns=\"" + kNs + "\">\r\n<Manufacturer>&mk;</Manufacturer><Model>D</Model>\r\n"
                          "<Mode Name=\"a\"><Channel Number=\"0\">X</Channel></Mode>\r\n"
                          "</FixtureDefinition>\r\n")
            << "D" << QStringList{"a"} << QList<QStringList>{{"X"}};
        QTest::newRow("a channel referenced twice")
            << qxf("M", "Par", "Color Changer",
                   {{"m", "<Channel Number=\"0\">Dimmer</Channel><Channel Number=\"1\">Dimmer</Channel>"}})
            << "Par" << QStringList{"m"} << QList<QStringList>{{"Dimmer", "Dimmer"}};
        QTest::newRow("several modes, one empty")
            << qxf("M", "Bar", "LED Bar (Pixels)", {{"1ch", channels(1)}, {"empty", "<Physical/>"}})
            << "Bar" << QStringList{"1ch", "empty"} << QList<QStringList>{{"Ch 1"}, {}};
    }

    void documentsAreRead()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, model);
        QFETCH(QStringList, modes);
        QFETCH(QList<QStringList>, channels);
        QxfFixture f;
        QString reason;
        QVERIFY2(parse(document, f, &reason), qPrintable(reason));
        QCOMPARE(f.model, model);
        QStringList modeNames;
        for (const QxfMode &m : f.modes)
            modeNames << m.name;
        QCOMPARE(modeNames, modes);
        for (int i = 0; i < channels.size(); ++i)
            QCOMPARE(f.modes.at(i).channels, channels.at(i));
    }

    void typesMapAsTheLibraryKeepsThem()
    {
        const QList<QPair<QByteArray, quint32>> cases = {
            {"Moving Head", 0}, {"scanner", 1},      {"LED Bar (Beams)", 2}, {" led bar (pixels) ", 2},
            {"Color Changer", 3}, {"DIMMER", 4},     {"Laser", 5},           {"Strobe", 6},
            {"Hazer", 7},       {"Smoke", 8},        {"Effect", 9},          {"Flower", 9},
            {"Other", 10},      {"Fan", 10},         {"Moving", 10},         {{}, 10}};
        for (const auto &c : cases) {
            QxfFixture f;
            QVERIFY(parse(qxf("M", "F", c.first, {{"m", channels(1)}}), f));
            const auto defs = Qxf::toDefinitions(f);
            QCOMPARE(defs.size(), size_t(1));
            QVERIFY2(defs.front()->fixtureType() == c.second, c.first.constData());
        }
    }

    void modesBecomeDefinitions()
    {
        QxfFixture single;
        QVERIFY(parse(qxf("Maker Name That Is Long", "Single Spot", "Scanner",
                          {{"Standard", channels(3)}}),
                      single));
        single.file = QStringLiteral("a/single.qxf");
        auto defs = Qxf::toDefinitions(single);
        QCOMPARE(defs.size(), size_t(1));
        const QBLFixtureDefinition &d = *defs.front();
        QCOMPARE(d.fixtureName(), QStringLiteral("Single Spot")); // one mode: the model alone
        QCOMPARE(d.manufacturerName(), QStringLiteral("Maker Name That Is Long"));
        QCOMPARE(d.manufacturerNameShort(), QStringLiteral("Maker Name That Is L"));
        QVERIFY(d.isAutoFixtureNameShort() && d.isAutoManufacturerNameShort());
        QCOMPARE(d.nbrOfChannels(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(d.channels().at(i)->number(), i + 1);
            QVERIFY(d.channels().at(i)->isAutoNameShort());
            QCOMPARE(d.channels().at(i)->nameShort(), d.channels().at(i)->name().left(12));
        }

        QxfFixture multi;
        QVERIFY(parse(qxf("M", "Bar", "LED Bar (Beams)",
                          {{"1ch", channels(1)}, {"empty", "<Physical/>"}, {"46ch", channels(46)}}),
                      multi));
        multi.file = QStringLiteral("bar.qxf");
        QList<QxfNote> notes;
        defs = Qxf::toDefinitions(multi, &notes);
        QCOMPARE(defs.size(), size_t(2)); // the empty mode is left out, the 46-channel one kept
        QCOMPARE(defs.at(0)->fixtureName(), QStringLiteral("Bar 1ch"));
        QCOMPARE(defs.at(1)->fixtureName(), QStringLiteral("Bar 46ch"));
        QCOMPARE(defs.at(1)->nbrOfChannels(), 46);
        QCOMPARE(defs.at(1)->channels().last()->name(), QStringLiteral("Ch 46"));
        QCOMPARE(notes.size(), 2);
        QVERIFY(notes.at(0).text.contains(QLatin1String("\"empty\"")));
        QVERIFY(notes.at(1).text.contains(QLatin1String("46 channels")));
        QCOMPARE(notes.at(1).file, QStringLiteral("bar.qxf"));
    }

    void badDocumentsAreRefusedWithAReason_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("reasonPart");
        const QByteArray good = qxf("M", "F", "Dimmer", {{"m", channels(2)}});
        QTest::newRow("empty") << QByteArray() << "XML";
        QTest::newRow("not XML") << QByteArray("PK\x03\x04 junk") << "well-formed";
        QTest::newRow("truncated") << good.left(good.size() - 12) << "well-formed";
        QTest::newRow("cut inside a mode") << good.left(good.indexOf("Number=\"1\"")) << "well-formed";
        QTest::newRow("mismatched tag")
            << QByteArray("<FixtureDefinition><Manufacturer>M</Model></FixtureDefinition>")
            << "well-formed";
        QTest::newRow("another root") << QByteArray("<BrenlowFixtureDefinition/>") << "root";
        QTest::newRow("another namespace")
            << QByteArray("<FixtureDefinition xmlns=\"urn:x\"><Manufacturer>M</Manufacturer>"
                          "<Model>F</Model></FixtureDefinition>")
            << "root";
        QTest::newRow("no manufacturer") << qxf({}, "F", {}, {{"m", channels(1)}}) << "Manufacturer";
        QTest::newRow("blank model") << qxf("M", "  ", {}, {{"m", channels(1)}}) << "Model";
        QTest::newRow("undeclared entity")
            << QByteArray("<FixtureDefinition><Manufacturer>&nope;</Manufacturer><Model>F</Model>"
                          "</FixtureDefinition>")
            << "well-formed";
    }

    void badDocumentsAreRefusedWithAReason()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, reasonPart);
        QxfFixture f;
        QString reason;
        QVERIFY(!parse(document, f, &reason));
        QVERIFY2(reason.contains(reasonPart), qPrintable(reason));
        QVERIFY(!reason.contains(QLatin1Char('\n')));
    }

    // Damaged input of any shape is refused or read, never crashes or hangs.
    void randomDamageNeverCrashes()
    {
        const QByteArray good = qxf("M", "F &amp; G", "Dimmer", {{"a", channels(5)}, {"b", channels(2)}});
        QRandomGenerator rng(12);
        for (int round = 0; round < 2000; ++round) {
            QByteArray doc = good;
            const int edits = 1 + int(rng.bounded(4));
            for (int e = 0; e < edits; ++e)
                doc[int(rng.bounded(doc.size()))] = char(rng.bounded(256));
            if (rng.bounded(3) == 0)
                doc.truncate(int(rng.bounded(doc.size())));
            QxfFixture f;
            QString reason;
            if (!Qxf::parse(doc, f, reason))
                QVERIFY(!reason.isEmpty());
            else
                QVERIFY(!f.manufacturer.isEmpty() && !f.model.isEmpty());
        }
    }

#ifdef Q_OS_UNIX // the scan meets a FIFO
    void catalogueScanIsOrderedAndReportsSkippedFilesOnce()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray doc = qxf("M", "F", "Dimmer", {{"m", channels(2)}});
        // Code point order: upper case before lower, "Z" before "a", "é" after "z".
        for (const char *name : {"b/x.qxf", "a.QXF", "Zeta.qxf", "a/deep/er/y.Qxf",
                                 "\xc3\xa9.qxf", "z.qxf", "notes.txt", "a/x.qxf.bak"})
            QVERIFY(writeFile(dir.filePath(QString::fromUtf8(name)), doc));
        QVERIFY(writeFile(dir.filePath("b/broken.qxf"), doc.left(40)));
        // A sparse 100 MB junk file: refused by its size, never read whole.
        {
            QFile junk(dir.filePath("junk.qxf"));
            QVERIFY(junk.open(QIODevice::WriteOnly) && junk.resize(100 * 1024 * 1024));
        }
        const QString single = dir.filePath("z.qxf");
        // A FIFO, named directly and through a link in the folder: opening it would block.
        QTemporaryDir elsewhere;
        const QString fifo = elsewhere.filePath("pipe.qxf");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QFile::link(fifo, dir.filePath("link.qxf")));

        QList<QPair<int, int>> progress;
        const QxfScanResult scan = QxfCatalogue::scan(
            {dir.path(), single, dir.filePath("missing"), fifo}, nullptr,
            [&](const QList<QxfFixture> &, const QList<QxfNote> &, int done, int total) {
                progress.append({done, total});
            });
        QCOMPARE(files(scan.fixtures),
                 (QStringList{"Zeta.qxf", "a.QXF", "a/deep/er/y.Qxf", "b/x.qxf", "z.qxf",
                              QString::fromUtf8("\xc3\xa9.qxf"), single}));
        QCOMPARE(scan.fileCount, 10);
        QCOMPARE(scan.modeCount(), 7);
        QStringList skipped;
        for (const QxfNote &n : scan.skipped)
            skipped << n.file;
        QCOMPARE(skipped, (QStringList{dir.filePath("missing"), fifo, "b/broken.qxf", "junk.qxf",
                                       "link.qxf"}));
        QVERIFY(scan.skipped.at(1).text.contains(QLatin1String("not a regular file")));
        QVERIFY(scan.skipped.at(3).text.contains(QLatin1String("16 MiB")));
        QVERIFY(scan.skipped.at(4).text.contains(QLatin1String("not a regular file")));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last(), qMakePair(10, 10));
    }
#endif

    // However the files are shared out between threads, the scan equals reading them in turn.
    void parallelScanEqualsReadingEachFileInTurn()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QRandomGenerator rng(7);
        for (int i = 0; i < 300; ++i) {
            QList<QPair<QByteArray, QByteArray>> modes;
            for (int m = 0, n = int(rng.bounded(4)); m < n; ++m)
                modes.append({"Mode " + QByteArray::number(m), channels(int(rng.bounded(50)))});
            QByteArray doc = qxf("Maker " + QByteArray::number(i % 17), "F" + QByteArray::number(i),
                                 "Scanner", modes);
            if (i % 37 == 0)
                doc.chop(20);
            QVERIFY(writeFile(dir.filePath(QStringLiteral("m%1/f%2.qxf").arg(i % 5).arg(i)), doc));
        }
        const QxfScanResult scan = QxfCatalogue::scan(QStringList{dir.path()});
        const QList<QxfSource> sources = QxfCatalogue::collect({dir.path()});
        QCOMPARE(scan.fileCount, 300);
        int read = 0;
        int skipped = 0;
        for (const QxfSource &s : sources) {
            QxfFixture f;
            QString reason;
            if (Qxf::readFile(s.path, f, reason)) {
                QCOMPARE(scan.fixtures.at(read).file, s.file);
                QCOMPARE(scan.fixtures.at(read).model, f.model);
                QCOMPARE(scan.fixtures.at(read).modes.size(), f.modes.size());
                ++read;
            } else {
                QCOMPARE(scan.skipped.at(skipped++).text, reason);
            }
        }
        QCOMPARE(read, int(scan.fixtures.size()));
        QCOMPARE(skipped, int(scan.skipped.size()));

        std::atomic<bool> cancel{false};
        int batches = 0;
        const QxfScanResult stopped = QxfCatalogue::scan(
            QStringList{dir.path()}, &cancel,
            [&](const QList<QxfFixture> &, const QList<QxfNote> &, int, int) {
                ++batches;
                cancel = true;
            });
        QCOMPARE(batches, 1);
        QVERIFY(stopped.fixtures.size() + stopped.skipped.size() < 300);
    }
};

QTEST_GUILESS_MAIN(TestQxfImport)
#include "test_qxf_import.moc"
