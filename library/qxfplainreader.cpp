#include "qxffixturefile.h"

#include "xmlcharacters.h"

#include <QStringDecoder>
#include <QVarLengthArray>

#include <cstring>

// Reading the whole catalogue with the stream reader spent nearly all its time tokenising the
// Capability and Physical subtrees that the import ignores. This reader checks those subtrees
// byte by byte without building anything and declines every construct it does not know, so
// the stream reader still decides each unusual or damaged file and words its error.
namespace
{

using XmlCharacters::asciiName;
using XmlCharacters::isNameStart;
using XmlCharacters::referencedCharacter;
using XmlCharacters::utf8Length;

constexpr QByteArrayView kNamespace("http://www.qlcplus.org/FixtureDefinition");

bool isSpace(uchar c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

void appendUtf8(QByteArray &out, char32_t u)
{
    if (u < 0x80) {
        out += char(u);
    } else if (u < 0x800) {
        out += char(0xC0 | (u >> 6));
        out += char(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += char(0xE0 | (u >> 12));
        out += char(0x80 | ((u >> 6) & 0x3F));
        out += char(0x80 | (u & 0x3F));
    } else {
        out += char(0xF0 | (u >> 18));
        out += char(0x80 | ((u >> 12) & 0x3F));
        out += char(0x80 | ((u >> 6) & 0x3F));
        out += char(0x80 | (u & 0x3F));
    }
}

// QString::fromUtf8 drops a leading byte order mark, which inside a document is a character.
QString decoded(const QByteArray &utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

QString normalized(const QByteArray &utf8)
{
    return Qxf::normalizedName(decoded(utf8));
}

// The element whose text is being gathered.
enum class Field { None, Manufacturer, Model, Type, ModeChannel };

class PlainQxfReader
{
public:
    explicit PlainQxfReader(const QByteArray &document)
        : m_p(reinterpret_cast<const uchar *>(document.constData())), m_end(m_p + document.size())
    {
    }

    bool read(QxfFixture &fixture)
    {
        if (!prolog() || !startTag())
            return false;
        while (!m_open.isEmpty()) {
            if (m_p + 1 >= m_end)
                return false; // ends inside the root element
            bool ok;
            if (*m_p != '<')
                ok = text();
            else if (m_p[1] == '/')
                ok = endTag();
            else if (isNameStart(m_p[1]))
                ok = startTag();
            else
                ok = comment(); // CDATA, processing instructions, ... go the long way
            if (!ok)
                return false;
        }
        if (!miscellany() || m_p != m_end)
            return false;
        if (m_manufacturer.isEmpty() || m_model.isEmpty())
            return false; // the stream reader words which one is missing
        fixture.manufacturer = m_manufacturer;
        fixture.model = m_model;
        if (m_hasType)
            fixture.type = m_type;
        fixture.modes += m_modes;
        return true;
    }

private:
    bool startsWith(QByteArrayView s) const
    {
        return m_end - m_p >= s.size() && memcmp(m_p, s.data(), size_t(s.size())) == 0;
    }

    void skipSpace()
    {
        while (m_p < m_end && isSpace(*m_p))
            ++m_p;
    }

    // An ASCII name without prefix; names reserved for XML ("xml...") other than xmlns are
    // left to the stream reader.
    bool name(QByteArrayView &out)
    {
        if (!asciiName(m_p, m_end, out))
            return false;
        return (out[0] | 0x20) != 'x' ||
               !(out.size() >= 3 && qstrnicmp(out.data(), "xml", 3) == 0 && out != "xmlns");
    }

    // BOM, declaration (version 1.0, UTF-8), comments and a DOCTYPE without internal subset,
    // up to the root's '<'.
    bool prolog()
    {
        if (startsWith("\xef\xbb\xbf"))
            m_p += 3;
        if (startsWith("<?xml") && m_p + 5 < m_end && isSpace(m_p[5]) && !declaration())
            return false;
        bool doctype = false;
        for (;;) {
            skipSpace();
            if (startsWith("<!--")) {
                if (!comment())
                    return false;
            } else if (!doctype && startsWith("<!DOCTYPE")) {
                doctype = true;
                m_p += 9;
                QByteArrayView root;
                if (m_p >= m_end || !isSpace(*m_p))
                    return false;
                skipSpace();
                if (!name(root))
                    return false;
                skipSpace();
                if (m_p >= m_end || *m_p != '>')
                    return false;
                ++m_p;
            } else {
                break;
            }
        }
        return m_p + 1 < m_end && *m_p == '<' && isNameStart(m_p[1]);
    }

    // One pseudo-attribute of the declaration; the position stays unless it was read whole,
    // so that a broken one is left for the final "?>" check to refuse.
    bool pseudoAttribute(QByteArrayView wanted, QByteArrayView &value)
    {
        const uchar *start = m_p;
        auto fail = [&] {
            m_p = start;
            return false;
        };
        skipSpace();
        QByteArrayView found;
        if (m_p == start || !name(found) || found != wanted)
            return fail();
        skipSpace();
        if (m_p >= m_end || *m_p != '=')
            return fail();
        ++m_p;
        skipSpace();
        if (m_p >= m_end || (*m_p != '"' && *m_p != '\''))
            return fail();
        const auto *close =
            static_cast<const uchar *>(memchr(m_p + 1, *m_p, size_t(m_end - m_p - 1)));
        if (!close)
            return fail();
        value = QByteArrayView(m_p + 1, close - m_p - 1);
        m_p = close + 1;
        return true;
    }

    bool declaration()
    {
        m_p += 5;
        QByteArrayView value;
        if (!pseudoAttribute("version", value) || value != "1.0")
            return false;
        if (pseudoAttribute("encoding", value) &&
            (value.size() != 5 || qstrnicmp(value.data(), "UTF-8", 5) != 0))
            return false;
        if (pseudoAttribute("standalone", value) && value != "yes" && value != "no")
            return false;
        skipSpace();
        if (!startsWith("?>"))
            return false;
        m_p += 2;
        return true;
    }

    // White space and comments after the root element.
    bool miscellany()
    {
        for (;;) {
            skipSpace();
            if (!startsWith("<!--"))
                return true;
            if (!comment())
                return false;
        }
    }

    // A comment at m_p; false for anything else that starts with "<!" or "<?".
    bool comment()
    {
        if (!startsWith("<!--"))
            return false;
        m_p += 4;
        while (m_p < m_end) {
            const uchar c = *m_p;
            if (c == '-' && m_p + 1 < m_end && m_p[1] == '-') {
                if (m_p + 2 >= m_end || m_p[2] != '>')
                    return false; // "--" inside a comment
                m_p += 3;
                return true;
            }
            if (!character())
                return false;
        }
        return false;
    }

    // Steps over one character that may stand anywhere in text.
    bool character()
    {
        const uchar c = *m_p;
        if (c >= 0x80) {
            const int n = utf8Length(m_p, m_end);
            m_p += n;
            return n > 0;
        }
        ++m_p;
        return c >= 0x20 || c == '\t' || c == '\n' || c == '\r';
    }

    // A reference at m_p ('&'), its character appended to out when given.
    bool reference(QByteArray *out)
    {
        const uchar *after = nullptr;
        const char32_t u = referencedCharacter(m_p, m_end, &after);
        if (!u)
            return false;
        if (out)
            appendUtf8(*out, u);
        m_p = after;
        return true;
    }

    // Character data up to the next '<', decoded into m_text when it belongs to the field.
    bool text()
    {
        const bool gather = m_field != Field::None && m_open.size() == m_fieldDepth;
        QByteArray *out = gather ? &m_text : nullptr;
        const uchar *run = m_p;
        const uchar *piece = m_p;
        auto flush = [&] {
            if (out)
                out->append(reinterpret_cast<const char *>(piece), m_p - piece);
        };
        while (m_p < m_end && *m_p != '<') {
            const uchar c = *m_p;
            if (c == '&') {
                flush();
                if (!reference(out))
                    return false;
                piece = m_p;
            } else if (c == '\r') {
                // Line ends reach the reader as one line feed.
                flush();
                if (out)
                    out->append('\n');
                m_p += m_p + 1 < m_end && m_p[1] == '\n' ? 2 : 1;
                piece = m_p;
            } else if (c == '>' && m_p - run >= 2 && m_p[-1] == ']' && m_p[-2] == ']') {
                return false;
            } else if (!character()) {
                return false;
            }
        }
        flush();
        return true;
    }

    // An attribute value after its opening quote, with the reader's normalisation: each
    // literal tab, line end or line feed becomes one space.
    bool attributeValue(uchar quote, QByteArray *out)
    {
        if (out)
            out->clear();
        const uchar *piece = m_p;
        auto flush = [&] {
            if (out)
                out->append(reinterpret_cast<const char *>(piece), m_p - piece);
        };
        while (m_p < m_end) {
            const uchar c = *m_p;
            if (c == quote) {
                flush();
                ++m_p;
                return true;
            }
            if (c == '<') {
                return false;
            } else if (c == '&') {
                flush();
                if (!reference(out))
                    return false;
                piece = m_p;
            } else if (c == '\t' || c == '\n' || c == '\r') {
                flush();
                if (out)
                    out->append(' ');
                m_p += c == '\r' && m_p + 1 < m_end && m_p[1] == '\n' ? 2 : 1;
                piece = m_p;
            } else if (!character()) {
                return false;
            }
        }
        return false;
    }

    bool startTag()
    {
        ++m_p; // '<'
        QByteArrayView element;
        if (!name(element) || element == "xmlns")
            return false;
        const qsizetype depth = m_open.size();
        const bool mode = depth == 1 && element == "Mode";
        const bool modeChannel = depth == 2 && m_inMode && element == "Channel";
        m_attributeNames.clear();
        m_modeName.clear();
        m_number.clear();
        for (;;) {
            const uchar *before = m_p;
            skipSpace();
            if (m_p >= m_end)
                return false;
            if (*m_p == '>' || *m_p == '/')
                break;
            QByteArrayView attribute;
            if (m_p == before || !name(attribute))
                return false; // attributes must be separated by space
            for (const QByteArrayView seen : std::as_const(m_attributeNames))
                if (seen == attribute)
                    return false;
            m_attributeNames.append(attribute);
            skipSpace();
            if (m_p >= m_end || *m_p != '=')
                return false;
            ++m_p;
            skipSpace();
            if (m_p >= m_end || (*m_p != '"' && *m_p != '\''))
                return false;
            const uchar quote = *m_p++;
            QByteArray *value = nullptr;
            if (attribute == "xmlns")
                value = &m_xmlns;
            else if (mode && attribute == "Name")
                value = &m_modeName;
            else if (modeChannel && attribute == "Number")
                value = &m_number;
            if (!attributeValue(quote, value))
                return false;
            // Another default namespace: the stream reader checks the root's and names it.
            if (value == &m_xmlns && !m_xmlns.isEmpty() && m_xmlns != kNamespace)
                return false;
        }
        const bool empty = *m_p == '/';
        if (empty && (++m_p >= m_end || *m_p != '>'))
            return false;
        ++m_p;
        if (depth == 0 && element != "FixtureDefinition")
            return false;
        opened(element, depth, mode, modeChannel);
        if (empty)
            closed(element, depth);
        else
            m_open.append(element);
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
        closed(element, m_open.size());
        return true;
    }

    // The elements the import reads; depth 0 is the root.
    void opened(QByteArrayView element, qsizetype depth, bool mode, bool modeChannel)
    {
        if (depth == 1) {
            if (element == "Manufacturer")
                m_field = Field::Manufacturer;
            else if (element == "Model")
                m_field = Field::Model;
            else if (element == "Type")
                m_field = Field::Type;
        } else if (modeChannel) {
            m_field = Field::ModeChannel;
            bool ok = false;
            const int number = decoded(m_number).toInt(&ok);
            m_channelNumber = ok && number >= 0 ? number : -1;
        }
        if (m_field != Field::None && m_fieldDepth < 0) {
            m_fieldDepth = depth + 1;
            m_text.clear();
        }
        if (mode) {
            m_inMode = true;
            m_mode = QxfMode{normalized(m_modeName), {}};
            m_channels.clear();
        }
    }

    void closed(QByteArrayView element, qsizetype depth)
    {
        if (m_field != Field::None && depth + 1 == m_fieldDepth) {
            const QString text = normalized(m_text);
            switch (m_field) {
            case Field::Manufacturer:
                m_manufacturer = text;
                break;
            case Field::Model:
                m_model = text;
                break;
            case Field::Type:
                m_type = text;
                m_hasType = true;
                break;
            case Field::ModeChannel:
                m_channels.append({m_channelNumber, text});
                break;
            case Field::None:
                break;
            }
            m_field = Field::None;
            m_fieldDepth = -1;
        }
        if (depth == 1 && m_inMode && element == "Mode") {
            m_mode.channels = Qxf::orderedChannels(m_channels);
            m_modes.append(std::move(m_mode));
            m_inMode = false;
        }
    }

    const uchar *m_p;
    const uchar *m_end;
    QVarLengthArray<QByteArrayView, 16> m_open;
    QVarLengthArray<QByteArrayView, 8> m_attributeNames;
    QByteArray m_xmlns;
    QByteArray m_modeName;
    QByteArray m_number;

    Field m_field = Field::None;
    qsizetype m_fieldDepth = -1; // open elements while the field's own text is read
    QByteArray m_text;
    int m_channelNumber = -1;

    QString m_manufacturer;
    QString m_model;
    QString m_type;
    bool m_hasType = false;
    bool m_inMode = false;
    QxfMode m_mode;
    QList<Qxf::ModeChannel> m_channels;
    QList<QxfMode> m_modes;
};

} // namespace

bool Qxf::readPlainDocument(const QByteArray &document, QxfFixture &fixture)
{
    return PlainQxfReader(document).read(fixture);
}
