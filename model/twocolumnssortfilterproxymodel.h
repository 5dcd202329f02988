#pragma once

#include <QSortFilterProxyModel>

// Filters the library list on the fixture-name column, the manufacturer column, or either.
class TwoColumnsSortFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit TwoColumnsSortFilterProxyModel(QObject *parent = nullptr);

    // Take effect at the next refiltering (setting the pattern refilters).
    void setFilterOnFixtureName(bool on) { m_filterOnFixtureName = on; }
    void setFilterOnManufacturer(bool on) { m_filterOnManufacturer = on; }
    bool filterOnFixtureName() const { return m_filterOnFixtureName; }
    bool filterOnManufacturer() const { return m_filterOnManufacturer; }

    // Source rows that pass the filter, counted over the whole source model.
    int acceptedRowCount() const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool m_filterOnFixtureName = false;
    bool m_filterOnManufacturer = false;
};
