#include "xmlcharacters.h"

#include <cstring>

namespace XmlCharacters
{

char32_t referencedCharacter(const uchar *p, const uchar *end, const uchar **after)
{
    const uchar *semi =
        static_cast<const uchar *>(memchr(p, ';', size_t(qMin<qsizetype>(end - p, 12))));
    if (!semi)
        return 0;
    const QByteArrayView body(p + 1, semi - p - 1);
    char32_t u = 0;
    if (body == "amp") {
        u = '&';
    } else if (body == "lt") {
        u = '<';
    } else if (body == "gt") {
        u = '>';
    } else if (body == "quot") {
        u = '"';
    } else if (body == "apos") {
        u = '\'';
    } else if (body.size() >= 2 && body[0] == '#') {
        const bool hex = body[1] == 'x';
        const QByteArrayView digits = body.sliced(hex ? 2 : 1);
        if (digits.isEmpty() || digits.size() > 7)
            return 0;
        for (const char c : digits) {
            int v;
            if (c >= '0' && c <= '9')
                v = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                v = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                v = c - 'A' + 10;
            else
                return 0;
            u = u * (hex ? 16 : 10) + char32_t(v);
        }
        if (!isXmlChar(u))
            return 0;
    } else {
        return 0;
    }
    *after = semi + 1;
    return u;
}

} // namespace XmlCharacters
