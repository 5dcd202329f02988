#include "library/qxfcatalogue.h"
#include "library/qxffixturefile.h"

#include <QDirIterator>
#include <QFile>
#include <QtTest>

namespace
{

QString describe(const QxfFixture &f)
{
    QStringList lines{f.manufacturer, f.model, f.type};
    for (const QxfMode &m : f.modes)
        lines << m.name + QLatin1String(": ") + m.channels.join(QLatin1Char('|'));
    return lines.join(QLatin1Char('\n'));
}

// The plain reader must decline a document or read exactly what the stream reader reads.
bool agree(const QByteArray &doc, bool *accepted = nullptr, QString *why = nullptr)
{
    QxfFixture plain;
    const bool ok = Qxf::readPlainDocument(doc, plain);
    if (accepted)
        *accepted = ok;
    if (!ok)
        return describe(plain) == describe(QxfFixture()); // declined: nothing filled in
    QxfFixture stream;
    QString reason;
    if (!Qxf::parseWithStreamReader(doc, stream, reason)) {
        if (why)
            *why = QLatin1String("the stream reader refuses it: ") + reason;
        return false;
    }
    if (describe(plain) != describe(stream)) {
        if (why)
            *why = describe(plain) + QLatin1String("\n--- stream reader:\n") + describe(stream);
        return false;
    }
    return true;
}

// Documents in the forms the catalogue uses, each with something a reader can get wrong.
QList<QByteArray> plainDocuments()
{
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE FixtureDefinition>\n"
                            "<FixtureDefinition xmlns=\"http://www.qlcplus.org/FixtureDefinition\">\n";
    return {
        head + " <Creator><Name>Q</Name></Creator>\n <Manufacturer>Big &amp; Co</Manufacturer>\n"
               " <Model>Spot &#x3b1;&#946; \xc3\xa9</Model>\n <Type>Moving Head</Type>\n"
               " <Channel Name=\"Pan\" Preset=\"PositionPan\"><Capability Min=\"0\" Max=\"255\">"
               "&lt;&gt;&quot;&apos;</Capability></Channel>\n"
               " <Mode Name=\" 8 \tch\"><Physical><Bulb Type=\"LED\"/></Physical>"
               "<Channel Number=\"1\">Tilt</Channel><Channel Number=\"0\"> Pan\n fine </Channel>"
               "<Head><Channel>0</Channel></Head></Mode>\n <Mode Name='Empty'/>\n"
               "</FixtureDefinition>\n",
        "\xef\xbb\xbf<?xml version='1.0' encoding='utf-8' standalone='yes' ?>\r\n<!-- made by hand -->\r\n"
        "<FixtureDefinition>\r\n<Manufacturer>M<Sub>x</Sub>ore<!-- c -->\r\n</Manufacturer>"
        "<Model>A</Model><Model>B\r\nC</Model>\r\n<Mode Name=\"a&#10;b\" >"
        "<Channel Number=\" 2\">X</Channel><Channel Number=\"-1\">Y</Channel><Channel/>"
        "<Channel Number=\"99999999999\">Z</Channel></Mode>\r\n</FixtureDefinition>\r\n<!---->",
        "<FixtureDefinition xmlns=\"\"><Type>  dimmer </Type><Manufacturer>M</Manufacturer>"
        "<Model>F</Model><Mode><Channel Number=\"0\"  >A</Channel ></Mode></FixtureDefinition  >",
    };
}

} // namespace

// The fast path of the .qxf reader: the files it takes, and that it never reads a file
// otherwise than the stream reader does.
class TestQxfPlainReading : public QObject
{
    Q_OBJECT

private slots:
    void plainDocumentsAreReadAsTheStreamReaderReadsThem()
    {
        for (const QByteArray &doc : plainDocuments()) {
            bool accepted = false;
            QString why;
            QVERIFY2(agree(doc, &accepted, &why), qPrintable(why));
            QVERIFY2(accepted, doc.constData());
        }
    }

    // Every cut, every byte replaced by one that matters to XML, every construct inserted
    // anywhere: the plain reader declines or agrees.
    void damagedAndUnusualDocumentsAreDeclinedOrAgree()
    {
        const QByteArray replacements = QByteArrayLiteral("<>&\"']-\r\t\0\xff\xc3 x:/?!#;=");
        const QList<QByteArray> insertions = {
            "<!-- c -->", "<!-- a -- b -->", "<!--->", "&#0;", "&#x10FFFF;", "&#xD800;", "&nbsp;",
            "<![CDATA[x]]>", "<?pi x?>", " a=\"1\"", " xmlns:q=\"urn:q\"", " xmlns=\"urn:x\"",
            "<q:Model>Q</q:Model>", "]]>", "<Model>N</Model>", "</Mode>", "<!DOCTYPE x>",
            "<?xml version=\"1.0\"?>", "\xef\xbb\xbf", "<xmlMode/>", "<Mode Name=\"n\"/>"};
        int accepted = 0;
        int tried = 0;
        for (const QByteArray &doc : plainDocuments()) {
            QList<QByteArray> variants;
            for (int i = 0; i <= doc.size(); ++i) {
                variants << doc.left(i);
                for (const QByteArray &insert : insertions)
                    variants << doc.left(i) + insert + doc.mid(i);
                if (i < doc.size())
                    for (const char c : replacements)
                        variants << doc.left(i) + c + doc.mid(i + 1);
            }
            for (const QByteArray &variant : std::as_const(variants)) {
                bool ok = false;
                QString why;
                QVERIFY2(agree(variant, &ok, &why),
                         qPrintable(QString::fromUtf8(variant) + QLatin1String("\n=== ") + why));
                accepted += ok;
                ++tried;
            }
        }
        // Most variants are damaged, but many are still plain documents the fast path reads.
        QVERIFY2(accepted > tried / 20 && accepted < tried / 2,
                 qPrintable(QStringLiteral("%1 of %2").arg(accepted).arg(tried)));
    }

    void theInstalledCatalogueTakesThePlainPath()
    {
        const QString root = QxfCatalogue::systemFolders().first();
        const QList<QxfSource> sources = QxfCatalogue::collect({root});
        if (sources.isEmpty())
            QSKIP("qlcplus-data is not installed");
        int accepted = 0;
        for (const QxfSource &source : sources) {
            QFile file(source.path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            bool ok = false;
            QString why;
            QVERIFY2(agree(file.readAll(), &ok, &why), qPrintable(source.file + QLatin1Char('\n') + why));
            accepted += ok;
        }
        QCOMPARE(accepted, int(sources.size()));
    }
};

QTEST_GUILESS_MAIN(TestQxfPlainReading)
#include "test_qxf_plain_reading.moc"
