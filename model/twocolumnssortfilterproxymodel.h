#pragma once

#include <QPointer>
#include <QSortFilterProxyModel>
#include <QStringMatcher>

#include <functional>

class LocalFixtureDefinitionListModel;

// Filters the library list on the fixture-name column, the manufacturer column, or either.
class TwoColumnsSortFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit TwoColumnsSortFilterProxyModel(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *sourceModel) override;

    // Take effect at the next refiltering (setting the pattern refilters).
    void setFilterOnFixtureName(bool on) { m_filterOnFixtureName = on; }
    void setFilterOnManufacturer(bool on) { m_filterOnManufacturer = on; }
    bool filterOnFixtureName() const { return m_filterOnFixtureName; }
    bool filterOnManufacturer() const { return m_filterOnManufacturer; }

    // Same as setFilterFixedString, but matched without the regular-expression engine:
    // the library pane refilters thousands of rows per keystroke pause.
    void setFilterText(const QString &text);

    // Source rows that pass the filter, counted over the whole source model.
    int acceptedRowCount() const;

    // Edits made through this proxy (the table's in-place editor) go to the handler, given
    // the source index and the new value, instead of straight into the source model; the
    // library pane records them so that they can be undone.
    using EditHandler = std::function<bool(const QModelIndex &source, const QVariant &value)>;
    void setEditHandler(EditHandler handler) { m_editHandler = std::move(handler); }
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    struct RowTexts {
        QString fixtureName; // the display name
        QString manufacturer;
    };

    bool matches(const QString &text) const;
    // The library's texts by source row, copied once: sorting and filtering compare them
    // hundreds of thousands of times, and reading them from the scattered definitions each
    // time costs more than the comparison.
    const RowTexts *rowTexts(int sourceRow) const;
    void forgetRowTexts() { m_rowTextsValid = false; }
    void refreshRowTexts(const QModelIndex &topLeft, const QModelIndex &bottomRight);

    bool m_filterOnFixtureName = false;
    bool m_filterOnManufacturer = false;
    // Set while the source is the library list, whose texts are then read directly.
    QPointer<const LocalFixtureDefinitionListModel> m_library;
    QString m_fixedPattern; // the escaped form of m_matcher's text
    QStringMatcher m_matcher;
    mutable QList<RowTexts> m_rowTexts;
    mutable bool m_rowTextsValid = false;
    EditHandler m_editHandler;
};
