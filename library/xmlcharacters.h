#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// Character rules of XML 1.0 shared by the fast readers, which must refuse exactly what a
// conforming reader refuses.
namespace XmlCharacters
{

// The ASCII part of XML names; the fast readers leave every other name to the stream reader.
inline bool isNameStart(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

inline bool isNameChar(uchar c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

inline bool isXmlChar(char32_t u)
{
    return u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u <= 0xD7FF) ||
           (u >= 0xE000 && u <= 0xFFFD) || (u >= 0x10000 && u <= 0x10FFFF);
}

// An ASCII name without prefix at p, which moves past its name characters. False when there
// is none, or when it goes on with ':' or a non-ASCII byte: namespaces and non-ASCII names go
// the long way.
inline bool asciiName(const uchar *&p, const uchar *end, QByteArrayView &name)
{
    const uchar *start = p;
    if (p >= end || !isNameStart(*p))
        return false;
    while (p < end && isNameChar(*p))
        ++p;
    if (p < end && (*p == ':' || *p >= 0x80))
        return false;
    name = QByteArrayView(start, p - start);
    return true;
}

// The character of the reference at p ('&'): one of the predefined entities or a character
// reference to an XML character, with *after set past its ';'. 0 for anything else: declared
// entities need the DOCTYPE's subset, which is the stream reader's job.
char32_t referencedCharacter(const uchar *p, const uchar *end, const uchar **after);

// Length of the well-formed UTF-8 sequence of an XML character at p (lead byte >= 0x80),
// or 0.
inline int utf8Length(const uchar *p, const uchar *end)
{
    auto cont = [&](int i) { return p + i < end && (p[i] & 0xC0) == 0x80; };
    const uchar c = p[0];
    if (c >= 0xC2 && c <= 0xDF)
        return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!cont(1) || !cont(2))
            return 0;
        if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] >= 0xA0))
            return 0; // overlong, surrogate
        if (c == 0xEF && p[1] == 0xBF && (p[2] == 0xBE || p[2] == 0xBF))
            return 0; // U+FFFE, U+FFFF
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3))
            return 0;
        if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

// A reader whose decoder lets through UTF-16 units that are no XML characters (a UTF-7
// document can carry unpaired surrogates) would hand the model a name that the writer
// cannot store. Each such unit becomes U+FFFD, so what is shown is what gets saved.
inline QString withXmlCharactersOnly(QString text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(u) || !isXmlChar(u))
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace XmlCharacters
