#include "libraryhelpers.h"

#include "library/fixturexmlscanner.h"
#include "library/qblfixturedefinitionxmlexporter.h"
#include "model/qblfixturedefinition.h"

#include <QRandomGenerator>
#include <QtTest>

namespace
{

// Records every event as one line; stops after `limit` events when limit >= 0.
class Recorder : public FixtureXmlEventSink
{
public:
    explicit Recorder(int limit = -1) : m_limit(limit) {}
    QStringList events;

    bool startElement(QStringView name, const QXmlStreamAttributes &attributes) override
    {
        QString line = QStringLiteral("start ") + name.toString();
        for (const QXmlStreamAttribute &a : attributes)
            line +=
                QStringLiteral(" [%1|%2|%3]")
                    .arg(a.name().toString(), a.qualifiedName().toString(), a.value().toString());
        return record(line);
    }
    bool endElement(QStringView name) override
    {
        return record(QStringLiteral("end ") + name.toString());
    }
    bool characters(const QString &text) override { return record(QStringLiteral("text ") + text); }

private:
    bool record(const QString &line)
    {
        events << line;
        return m_limit < 0 || events.size() < m_limit;
    }
    int m_limit;
};

QByteArray exported(const QBLFixtureDefinition &d)
{
    QByteArray out;
    QBLFixtureDefinitionXMLExporter().exportDefinition(d, out);
    return out;
}

// The fast reader must either decline or deliver exactly what the stream reader delivers.
bool agree(const QByteArray &doc, bool *accepted = nullptr, int limit = -1)
{
    Recorder plain(limit);
    const bool ok = FixtureXml::readPlainDocument(doc, plain);
    if (accepted)
        *accepted = ok;
    if (!ok)
        return true;
    Recorder stream(limit);
    FixtureXml::readWithStreamReader(doc, stream);
    if (plain.events == stream.events)
        return true;
    qWarning().noquote() << "document:" << doc << "\nplain:" << plain.events
                         << "\nstream:" << stream.events;
    return false;
}

} // namespace

// The fast reader of plain documents gives the stream reader's events, or declines.
class TestPlainXmlReading : public QObject
{
    Q_OBJECT

private slots:
    void everyDocumentThisProgramWritesTakesTheFastPathWithTheSameEvents()
    {
        const DefinitionList defs = nastyDefinitions();
        for (const auto &d : defs) {
            const QByteArray doc = exported(*d);
            bool accepted = false;
            QVERIFY(agree(doc, &accepted));
            QVERIFY2(accepted, doc.constData());
        }
    }

    void documentsOutsideThePlainFormAreDeclined_data()
    {
        QTest::addColumn<QByteArray>("doc");
        QTest::newRow("comment") << QByteArray("<a><!-- c --></a>");
        QTest::newRow("CDATA") << QByteArray("<a><![CDATA[x]]></a>");
        QTest::newRow("DOCTYPE") << QByteArray("<!DOCTYPE a><a/>");
        QTest::newRow("processing instruction") << QByteArray("<a><?p x?></a>");
        QTest::newRow("other encoding")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>");
        QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf<a/>");
        QTest::newRow("single quotes") << QByteArray("<a x='1'/>");
        QTest::newRow("namespace") << QByteArray("<p:a xmlns:p=\"u\"/>");
        QTest::newRow("unknown entity") << QByteArray("<a>&nbsp;</a>");
        QTest::newRow("nul reference") << QByteArray("<a>&#0;</a>");
        QTest::newRow("surrogate reference") << QByteArray("<a>&#xD800;</a>");
        QTest::newRow("carriage return") << QByteArray("<a>x\r\ny</a>");
        QTest::newRow("tab in attribute") << QByteArray("<a x=\"1\t2\"/>");
        QTest::newRow("control character") << QByteArray("<a>\x01</a>");
        QTest::newRow("bad UTF-8") << QByteArray("<a>\xc3\x28</a>");
        QTest::newRow("U+FFFE") << QByteArray("<a>\xef\xbf\xbe</a>");
        QTest::newRow("overlong") << QByteArray("<a>\xc0\xaf</a>");
        QTest::newRow("]]> in text") << QByteArray("<a>]]></a>");
        QTest::newRow("< in attribute") << QByteArray("<a x=\"<\"/>");
        QTest::newRow("duplicate attribute") << QByteArray("<a x=\"1\" x=\"2\"/>");
        QTest::newRow("no space between attributes") << QByteArray("<a x=\"1\"y=\"2\"/>");
        QTest::newRow("mismatched end tag") << QByteArray("<a><b></a></b>");
        QTest::newRow("cut off") << QByteArray("<a><b>text");
        QTest::newRow("text after the root") << QByteArray("<a/>x");
        QTest::newRow("two roots") << QByteArray("<a/><b/>");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("non-ASCII name") << QByteArray("<\xc3\xa4/>");
    }

    void documentsOutsideThePlainFormAreDeclined()
    {
        QFETCH(QByteArray, doc);
        Recorder r;
        QVERIFY(!FixtureXml::readPlainDocument(doc, r));
    }

    void referencesWhitespaceAndEmptyElementsGiveTheSameEvents()
    {
        const QByteArray docs[] = {
            "<?xml version=\"1.0\"?>\n<a x = \"&lt;&amp;&gt;&quot;&apos;&#65;&#x4e2d;&#x1F4A1;\">\n"
            "  t&amp;u \xe4\xb8\xad\n<b/><c></c>&#9;&#10;&#13;<d y=\"&#10;&#13;&#9;\" >z</d "
            "></a>\n\n",
            "<a>\n</a>",
            "<a/>",
            "  <a>x</a>  ",
        };
        for (const QByteArray &doc : docs) {
            bool accepted = false;
            QVERIFY(agree(doc, &accepted));
            QVERIFY2(accepted, doc.constData());
        }
    }

    void aSinkThatStopsStopsBothReadersAtTheSameEvent()
    {
        const DefinitionList defs = nastyDefinitions();
        const QByteArray doc = exported(*defs.at(4));
        for (int limit = 1; limit < 40; ++limit)
            QVERIFY(agree(doc, nullptr, limit));
    }

    void mutatedDocumentsAreDeclinedOrReadTheSame()
    {
        const DefinitionList defs = nastyDefinitions();
        const char inserts[] = {'<',  '>',  '&', '"', '\'', ';', '#',  '/',    '=',    ' ',   '\n',
                                '\r', '\t', ']', '!', '?',  'x', '\0', '\x80', '\xc3', '\xff'};
        QRandomGenerator random(2024);
        int accepted = 0;
        for (int round = 0; round < 3000; ++round) {
            QByteArray doc = exported(*defs.at(size_t(random.bounded(int(defs.size())))));
            const int edits = 1 + random.bounded(3);
            for (int e = 0; e < edits; ++e) {
                const int at = random.bounded(doc.size());
                const char c = inserts[random.bounded(int(sizeof inserts))];
                switch (random.bounded(3)) {
                case 0:
                    doc.insert(at, c);
                    break;
                case 1:
                    doc[at] = c;
                    break;
                default:
                    doc.remove(at, 1 + random.bounded(4));
                    break;
                }
            }
            bool ok = false;
            QVERIFY(agree(doc, &ok));
            accepted += ok;
        }
        QVERIFY(accepted > 100); // the mutations did exercise the fast path
    }
};

QTEST_GUILESS_MAIN(TestPlainXmlReading)
#include "test_plain_xml_reading.moc"
