#pragma once

#include <QObject>
#include <QString>

// The child named name of parent. A test that drives a widget the form lacks cannot go on, so
// a missing one ends the run with its name.
template <typename T> T *requiredChild(const QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no widget %s", name);
    return found;
}
