#pragma once

// The horizontal header of the table models: titles() gives one title per column, in column
// order; only the display role has one. A callable, so that the titles are translated only
// when asked for.

#include <QStringList>
#include <QVariant>

template <typename Titles>
QVariant columnTitle(int section, Qt::Orientation orientation, int role, Titles titles)
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    const QStringList list = titles();
    return section >= 0 && section < list.size() ? QVariant(list.at(section)) : QVariant();
}
