#include "archivehelpers.h"
#include "libraryhelpers.h"
#include "scratchfoldertest.h"

#include "library/blflarchive.h"
#include "library/qblfixturedefinitionloader.h"
#include "model/qblfixturedefinition.h"

#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QtTest>

#include <archive.h>
#include <archive_entry.h>

namespace
{

// A gzip stream of the given bytes, made by libarchive's raw format (no tar inside).
bool writeGzip(const QString &path, const QByteArray &data)
{
    archive *a = archive_write_new();
    bool ok = archive_write_add_filter_gzip(a) == ARCHIVE_OK &&
              archive_write_set_format_raw(a) == ARCHIVE_OK &&
              archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    archive_entry *entry = archive_entry_new();
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_size(entry, data.size());
    ok = ok && archive_write_header(a, entry) == ARCHIVE_OK &&
         archive_write_data(a, data.constData(), size_t(data.size())) == data.size();
    archive_entry_free(entry);
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    return archive_write_free(a) == ARCHIVE_OK && ok;
}

// One ustar header block whose size field holds the given 12 bytes.
QByteArray tarHeader(const QByteArray &name, const QByteArray &sizeField)
{
    QByteArray h(512, '\0');
    h.replace(0, name.size(), name);
    h.replace(100, 8, QByteArray("0000644\0", 8));
    h.replace(108, 8, QByteArray("0000000\0", 8));
    h.replace(116, 8, QByteArray("0000000\0", 8));
    h.replace(124, 12, sizeField);
    h.replace(136, 12, QByteArray("00000000000\0", 12));
    h[156] = '0';
    h.replace(257, 8,
              QByteArray("ustar\0"
                         "00",
                         8));
    h.replace(148, 8, QByteArray(8, ' '));
    unsigned sum = 0;
    for (char c : std::as_const(h))
        sum += static_cast<unsigned char>(c);
    h.replace(148, 8, QByteArray::number(sum, 8).rightJustified(6, '0') + QByteArray("\0 ", 2));
    return h;
}

QByteArray base256(qint64 value)
{
    QByteArray field(12, '\0');
    for (int i = 11; i >= 4; --i) {
        field[i] = char(value & 0xff);
        value >>= 8;
    }
    field[0] = char(0x80 | (field[0] & 0x7f));
    return field;
}

} // namespace

// Damaged, cut-off and hostile files fail to load with a reason, and never crash.
class TestArchiveBadInput : public ScratchFolderTest
{
    Q_OBJECT

    // What is wrong when the first length bytes of whole do not fail to load with a reason;
    // empty when they do.
    QString cutLoadProblem(const QByteArray &whole, int length) const
    {
        const QString cut =
            QStringLiteral("a file cut to %1 of %2 bytes").arg(length).arg(whole.size());
        if (!writeFile(path("cut.blfl"), whole.left(length)))
            return cut + QStringLiteral(" could not be written");
        BLFLArchive a(path("cut.blfl"));
        if (a.load())
            return cut + QStringLiteral(" loaded");
        if (a.errorString().isEmpty())
            return cut + QStringLiteral(" failed without a reason");
        return QString();
    }

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void aMissingFileFailsWithAReason()
    {
        BLFLArchive a(path("nothing-here.blfl"));
        QVERIFY(!a.load());
        QVERIFY(a.errorString().contains(QStringLiteral("does not exist")));
        BLFLArchive unnamed{QString()};
        QVERIFY(!unnamed.load());
    }

    void aFileCutOffAtAnyLengthFailsToLoad()
    {
        DefinitionList defs = nastyDefinitions();
        defs.resize(5);
        QCOMPARE(saveLibrary(path("whole.blfl"), rawList(defs)), QString());
        const QByteArray whole = readFile(path("whole.blfl"));
        QVERIFY(whole.size() > 100);
        for (int length = 0; length < whole.size(); ++length) {
            const QString problem = cutLoadProblem(whole, length);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
    }

    void aLargeFileCutOffAnywhereFailsToLoad()
    {
        // Larger than the reader's read-ahead, so that the cut is met between entries.
        const DefinitionList defs = randomDefinitions(11, 60, 30);
        QCOMPARE(saveLibrary(path("large.blfl"), rawList(defs)), QString());
        const QByteArray whole = readFile(path("large.blfl"));
        for (int length = 0; length < whole.size();
             length += (length > whole.size() - 600 ? 1 : 37)) {
            const QString problem = cutLoadProblem(whole, length);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
    }

    void randomBytesFailToLoad()
    {
        QRandomGenerator random(4501);
        for (int round = 0; round < 200; ++round) {
            QByteArray junk(int(random.bounded(1, 4096)), '\0');
            for (char &c : junk)
                c = char(random.bounded(256));
            if (round % 2) {
                junk[0] = char(0x1f); // looks like gzip at first sight
                junk[1] = char(0x8b);
                if (junk.size() > 2)
                    junk[2] = 8;
            }
            QVERIFY(writeFile(path("junk.blfl"), junk));
            BLFLArchive a(path("junk.blfl"));
            QVERIFY(!a.load());
            QVERIFY(!a.errorString().isEmpty());
        }
    }

    void corruptedBytesInsideAValidFileNeverCrash()
    {
        DefinitionList defs = nastyDefinitions();
        QCOMPARE(saveLibrary(path("good.blfl"), rawList(defs)), QString());
        const QByteArray good = readFile(path("good.blfl"));
        QRandomGenerator random(77);
        for (int round = 0; round < 200; ++round) {
            QByteArray bad = good;
            for (int k = 0; k < 3; ++k)
                bad[int(random.bounded(good.size()))] = char(random.bounded(256));
            QVERIFY(writeFile(path("flipped.blfl"), bad));
            BLFLArchive a(path("flipped.blfl"));
            if (a.load()) {
                for (QBLFixtureDefinitionLoader *l : a.loaders())
                    QVERIFY(l->definitions());
            } else {
                QVERIFY(!a.errorString().isEmpty());
            }
        }
    }

    void aGzipOfSomethingElseIsNotALibrary()
    {
        QVERIFY(
            writeGzip(path("text.blfl"), QByteArray("just some text, no tar here\n").repeated(40)));
        BLFLArchive a(path("text.blfl"));
        QVERIFY(!a.load());
        QVERIFY(a.errorString().contains(QStringLiteral("not a gzip-compressed tar")));
    }

    void aTarWithoutVersionEntryIsNotALibrary()
    {
        QVERIFY(writeRawArchive(path("noversion.blfl"),
                                {{"x.xml", "<BrenlowFixtureDefinition><Model Name=\"X\"/>"
                                           "<Personality/></BrenlowFixtureDefinition>"}}));
        BLFLArchive a(path("noversion.blfl"));
        QVERIFY(!a.load());
        QVERIFY(a.errorString().contains(QStringLiteral("no version entry")));
    }

    void entriesClaimingHugeSizesFailBeforeAllocating_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("sizeField");
        QTest::newRow("definition just above 64 MiB")
            << QByteArray("big.xml")
            << QByteArray::number(64 * 1024 * 1024 + 1, 8).rightJustified(11, '0') + '\0';
        QTest::newRow("version entry of 2^62 bytes")
            << QByteArray("blfl.version") << base256(qint64(1) << 62);
        QTest::newRow("definition of 2^62 bytes")
            << QByteArray("big.xml") << base256(qint64(1) << 62);
    }

    void entriesClaimingHugeSizesFailBeforeAllocating()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, sizeField);
        QByteArray tar = tarHeader("blfl.version", QByteArray("00000000005\0", 12));
        tar += QByteArray("01.00").leftJustified(512, '\0');
        tar += tarHeader(name, sizeField);
        tar += QByteArray(4096, 'x');
        QVERIFY(writeGzip(path("huge.blfl"), tar));
        BLFLArchive a(path("huge.blfl"));
        QVERIFY(!a.load());
        QVERIFY2(!a.errorString().isEmpty(), qPrintable(a.errorString()));
        QVERIFY(a.loaders().isEmpty());
    }

    // Saving drops what did not read, so damaged entries count as unsupported content and
    // the report names each of them by number and path, and only them.
    void malformedDocumentsLoadWithoutTheirDefinitionsAndAreReported()
    {
        QVERIFY(writeRawArchive(
            path("badxml.blfl"),
            {{"blfl.version", "01.00"},
             {"a.xml", "<BrenlowFixtureDefinition><Model Name=\"A\"/><Personality>"},
             {"b.xml", "\xff\xfe\x00garbage"},
             {"c.xml", "<BrenlowFixtureDefinition><Model Name=\"C\"/>"
                       "<Personality/></BrenlowFixtureDefinition>"}}));
        BLFLArchive a(path("badxml.blfl"));
        QVERIFY(a.load());
        QCOMPARE(a.loaders().size(), 3);
        QCOMPARE(a.loaders().at(0)->definitions()->size(), 0);
        QCOMPARE(a.loaders().at(1)->definitions()->size(), 0);
        QCOMPARE(a.loaders().at(2)->definitions()->size(), 1);
        QVERIFY(a.hasUnsupportedFeatures());
        const QStringList report = a.unsupportedContentReport();
        QCOMPARE(report.size(), 2);
        QVERIFY2(report.at(0).startsWith(QLatin1String("entry 1 (a.xml): ")),
                 qPrintable(report.at(0)));
        QVERIFY2(report.at(1).startsWith(QLatin1String("entry 2 (b.xml): not well-formed XML")),
                 qPrintable(report.at(1)));
    }
};

QTEST_GUILESS_MAIN(TestArchiveBadInput)
#include "test_archive_bad_input.moc"
