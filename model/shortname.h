#pragma once

#include <QString>

// The first `length` UTF-16 units, one fewer when that would split a surrogate pair.
inline QString cutShortName(const QString &text, int length)
{
    if (text.size() > length && text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}
