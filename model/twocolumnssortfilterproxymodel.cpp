#include "twocolumnssortfilterproxymodel.h"

TwoColumnsSortFilterProxyModel::TwoColumnsSortFilterProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
}

int TwoColumnsSortFilterProxyModel::acceptedRowCount() const
{
    const QAbstractItemModel *source = sourceModel();
    if (!source)
        return 0;
    const int rows = source->rowCount();
    int accepted = 0;
    for (int row = 0; row < rows; ++row) {
        if (filterAcceptsRow(row, QModelIndex()))
            ++accepted;
    }
    return accepted;
}

bool TwoColumnsSortFilterProxyModel::filterAcceptsRow(int sourceRow,
                                                      const QModelIndex &sourceParent) const
{
    if (!m_filterOnFixtureName && !m_filterOnManufacturer)
        return true;
    const QRegularExpression pattern = filterRegularExpression();
    const QAbstractItemModel *source = sourceModel();
    auto matches = [&](int column) {
        return source->index(sourceRow, column, sourceParent).data().toString().contains(pattern);
    };
    // Name before manufacturer: the manufacturer is looked at only when the name misses.
    return (m_filterOnFixtureName && matches(0)) || (m_filterOnManufacturer && matches(2));
}
