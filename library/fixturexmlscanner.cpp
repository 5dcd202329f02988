#include "fixturexmlscanner.h"

#include "xmlcharacters.h"

#include <QCoreApplication>
#include <QVarLengthArray>
#include <QXmlStreamReader>

namespace
{

QXmlStreamAttributes storableAttributes(const QXmlStreamReader &reader)
{
    QXmlStreamAttributes attributes = reader.attributes();
    for (QXmlStreamAttribute &attribute : attributes) {
        const QString value = attribute.value().toString();
        const QString kept = XmlCharacters::withXmlCharactersOnly(value);
        if (kept != value)
            attribute = QXmlStreamAttribute(attribute.qualifiedName().toString(), kept);
    }
    return attributes;
}

} // namespace

QString FixtureXml::readWithStreamReader(const QByteArray &document, FixtureXmlEventSink &sink)
{
    QXmlStreamReader reader(document);
    // The stream reader splits text around references, CDATA sections and comments; the
    // sink gets it whole before the next element event.
    QString text;
    bool haveText = false;
    auto flushText = [&]() {
        if (!haveText)
            return true;
        haveText = false;
        const bool go = sink.characters(XmlCharacters::withXmlCharactersOnly(text));
        text.clear();
        return go;
    };

    bool go = true;
    while (go && !reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            go = flushText() && sink.startElement(reader.name(), storableAttributes(reader));
            break;
        case QXmlStreamReader::EndElement:
            go = flushText() && sink.endElement(reader.name());
            break;
        case QXmlStreamReader::Characters:
            text += reader.text();
            haveText = true;
            break;
        case QXmlStreamReader::EndDocument:
            go = flushText();
            break;
        default:
            break;
        }
    }
    if (!go || !reader.hasError())
        return QString();
    return QCoreApplication::translate("FixtureXml", "not well-formed XML at line %1: %2")
        .arg(reader.lineNumber())
        .arg(reader.errorString());
}

namespace
{

bool isSpace(uchar c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

using XmlCharacters::asciiName;
using XmlCharacters::isNameStart;
using XmlCharacters::referencedCharacter;
using XmlCharacters::utf8Length;

class PlainScanner
{
public:
    PlainScanner(const QByteArray &document, FixtureXmlEventSink &sink)
        : m_p(reinterpret_cast<const uchar *>(document.constData())), m_end(m_p + document.size()),
          m_sink(sink)
    {
    }

    // False: not a plain document. True: read to its end, or the sink stopped.
    bool run()
    {
        if (!skipDeclaration())
            return false;
        skipSpace();
        if (!startsWith("<") || m_p + 1 >= m_end || !isNameStart(m_p[1]))
            return false;
        if (!startTag())
            return false;
        while (!m_stopped && !m_open.isEmpty()) {
            if (!textRun())
                return false;
            if (m_stopped)
                break;
            if (m_p + 1 >= m_end)
                return false; // ends inside the root element
            if (m_p[1] == '/') {
                if (!endTag())
                    return false;
            } else if (isNameStart(m_p[1])) {
                if (!startTag())
                    return false;
            } else {
                return false; // comment, CDATA, processing instruction, stray '<'
            }
        }
        if (m_stopped)
            return true;
        skipSpace();
        return m_p == m_end;
    }

private:
    bool startsWith(const char *s) const
    {
        const qsizetype n = qsizetype(qstrlen(s));
        return m_end - m_p >= n && memcmp(m_p, s, size_t(n)) == 0;
    }

    bool skipDeclaration()
    {
        for (const char *d :
             {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>", "<?xml version=\"1.0\"?>"}) {
            if (startsWith(d)) {
                m_p += qstrlen(d);
                return true;
            }
        }
        return !startsWith("<?");
    }

    void skipSpace()
    {
        while (m_p < m_end && isSpace(*m_p))
            ++m_p;
    }

    bool name(QByteArrayView &bytes) { return asciiName(m_p, m_end, bytes); }

    static QStringView widen(QByteArrayView bytes, QVarLengthArray<char16_t, 64> &buffer)
    {
        buffer.resize(bytes.size());
        for (qsizetype i = 0; i < bytes.size(); ++i)
            buffer[i] = char16_t(uchar(bytes[i]));
        return QStringView(buffer.constData(), buffer.size());
    }

    static QString attributeName(QByteArrayView bytes)
    {
        static const QString kName = QStringLiteral("Name");
        static const QString kShortName = QStringLiteral("ShortName");
        static const QString kNumber = QStringLiteral("Number");
        if (bytes == "Name")
            return kName;
        if (bytes == "ShortName")
            return kShortName;
        if (bytes == "Number")
            return kNumber;
        return QString::fromLatin1(bytes.data(), bytes.size());
    }

    // A reference at m_p ('&'); appends its character to out when decoding.
    bool reference(QString *out)
    {
        const uchar *after = nullptr;
        const char32_t u = referencedCharacter(m_p, m_end, &after);
        if (!u)
            return false;
        if (out) {
            const char32_t one[] = {u};
            out->append(QString::fromUcs4(one, 1));
        }
        m_p = after;
        return true;
    }

    // Scans text up to '<' (inText) or '"'; decodes it into out. Plain runs of ASCII are
    // widened in place, which reuses out's buffer.
    bool characterData(bool inText, QString &out)
    {
        const uchar stop = inText ? '<' : '"';
        const uchar *start = m_p;
        bool plainAscii = true;
        while (m_p < m_end && *m_p != stop) {
            const uchar c = *m_p;
            if (c >= 0x80) {
                const int n = utf8Length(m_p, m_end);
                if (!n)
                    return false;
                plainAscii = false;
                m_p += n;
            } else if (c == '&') {
                plainAscii = false;
                if (!reference(nullptr))
                    return false;
            } else if (c < 0x20) {
                // Readers normalise carriage returns, and tabs and line feeds inside attribute
                // values; other control characters are not XML.
                if (!inText || (c != '\t' && c != '\n'))
                    return false;
                ++m_p;
            } else if (c == '<') {
                return false; // inside an attribute value
            } else if (c == '>' && inText && m_p - start >= 2 && m_p[-1] == ']' && m_p[-2] == ']') {
                return false;
            } else {
                ++m_p;
            }
        }
        if (m_p >= m_end)
            return false;
        const qsizetype n = m_p - start;
        if (plainAscii) {
            out.resize(n);
            char16_t *d = reinterpret_cast<char16_t *>(out.data());
            for (qsizetype i = 0; i < n; ++i)
                d[i] = start[i];
            return true;
        }
        // Decode again, now with the references resolved.
        out.clear();
        const uchar *end = m_p;
        m_p = start;
        const uchar *piece = start;
        while (m_p < end) {
            if (*m_p == '&') {
                out.append(QString::fromUtf8(reinterpret_cast<const char *>(piece), m_p - piece));
                reference(&out);
                piece = m_p;
            } else {
                ++m_p;
            }
        }
        out.append(QString::fromUtf8(reinterpret_cast<const char *>(piece), m_p - piece));
        return true;
    }

    bool textRun()
    {
        if (m_p < m_end && *m_p == '<')
            return true;
        if (!characterData(true, m_text))
            return false;
        if (!m_sink.characters(m_text))
            m_stopped = true;
        return true;
    }

    bool startTag()
    {
        ++m_p; // '<'
        QByteArrayView element;
        if (!name(element))
            return false;
        m_attributes.clear();
        m_attributeNames.clear();
        for (;;) {
            const uchar *before = m_p;
            skipSpace();
            if (m_p >= m_end)
                return false;
            if (*m_p == '>' || *m_p == '/')
                break;
            if (m_p == before)
                return false; // attributes must be separated by space
            QByteArrayView attribute;
            if (!name(attribute))
                return false;
            for (QByteArrayView seen : std::as_const(m_attributeNames)) {
                if (seen == attribute)
                    return false;
            }
            m_attributeNames.append(attribute);
            skipSpace();
            if (m_p >= m_end || *m_p != '=')
                return false;
            ++m_p;
            skipSpace();
            if (m_p >= m_end || *m_p != '"')
                return false;
            ++m_p;
            QString value;
            if (!characterData(false, value))
                return false;
            ++m_p; // closing quote
            m_attributes.append(QXmlStreamAttribute(attributeName(attribute), value));
        }
        const bool empty = *m_p == '/';
        if (empty) {
            ++m_p;
            if (m_p >= m_end || *m_p != '>')
                return false;
        }
        ++m_p; // '>'
        const QStringView view = widen(element, m_nameBuffer);
        if (!m_sink.startElement(view, m_attributes)) {
            m_stopped = true;
            return true;
        }
        if (empty) {
            if (!m_sink.endElement(view))
                m_stopped = true;
        } else {
            m_open.append(element);
        }
        return true;
    }

    bool endTag()
    {
        m_p += 2; // "</"
        QByteArrayView element;
        if (!name(element) || element != m_open.last())
            return false;
        skipSpace();
        if (m_p >= m_end || *m_p != '>')
            return false;
        ++m_p;
        m_open.removeLast();
        if (!m_sink.endElement(widen(element, m_nameBuffer)))
            m_stopped = true;
        return true;
    }

    const uchar *m_p;
    const uchar *m_end;
    FixtureXmlEventSink &m_sink;
    bool m_stopped = false;
    QVarLengthArray<QByteArrayView, 8> m_open;
    QVarLengthArray<QByteArrayView, 4> m_attributeNames;
    QXmlStreamAttributes m_attributes;
    QString m_text;
    QVarLengthArray<char16_t, 64> m_nameBuffer;
};

} // namespace

bool FixtureXml::readPlainDocument(const QByteArray &document, FixtureXmlEventSink &sink)
{
    return PlainScanner(document, sink).run();
}
