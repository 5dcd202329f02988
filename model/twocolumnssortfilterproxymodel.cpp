#include "twocolumnssortfilterproxymodel.h"

#include "localfixturedefinitionlistmodel.h"
#include "qblfixturedefinition.h"

TwoColumnsSortFilterProxyModel::TwoColumnsSortFilterProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    connect(this, &QSortFilterProxyModel::filterCaseSensitivityChanged, this,
            [this](Qt::CaseSensitivity cs) { m_matcher.setCaseSensitivity(cs); });
}

void TwoColumnsSortFilterProxyModel::setSourceModel(QAbstractItemModel *sourceModel)
{
    if (QAbstractItemModel *old = QSortFilterProxyModel::sourceModel())
        disconnect(old, nullptr, this, nullptr);
    forgetRowTexts();
    m_library = qobject_cast<const LocalFixtureDefinitionListModel *>(sourceModel);
    if (m_library) {
        // Connected before the base class connects its own handlers, so the texts are
        // current when it re-sorts and refilters in response to the same signals.
        connect(m_library, &QAbstractItemModel::dataChanged, this,
                &TwoColumnsSortFilterProxyModel::refreshRowTexts);
        // Any change of the rows themselves makes every row's texts stale.
        auto forgetOn = [this](auto... signal) {
            (connect(m_library, signal, this, &TwoColumnsSortFilterProxyModel::forgetRowTexts),
             ...);
        };
        forgetOn(&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved,
                 &QAbstractItemModel::rowsMoved, &QAbstractItemModel::modelReset,
                 &QAbstractItemModel::layoutChanged);
    }
    QSortFilterProxyModel::setSourceModel(sourceModel);
}

const TwoColumnsSortFilterProxyModel::RowTexts *
TwoColumnsSortFilterProxyModel::rowTexts(int sourceRow) const
{
    if (!m_library)
        return nullptr;
    if (!m_rowTextsValid) {
        const QList<QBLFixtureDefinition *> definitions = m_library->definitions();
        m_rowTexts.resize(definitions.size());
        for (int row = 0; row < definitions.size(); ++row)
            m_rowTexts[row] = {definitions.at(row)->displayName(),
                               definitions.at(row)->manufacturerName()};
        m_rowTextsValid = true;
    }
    return sourceRow >= 0 && sourceRow < m_rowTexts.size() ? &m_rowTexts.at(sourceRow) : nullptr;
}

void TwoColumnsSortFilterProxyModel::refreshRowTexts(const QModelIndex &topLeft,
                                                     const QModelIndex &bottomRight)
{
    if (!m_rowTextsValid)
        return;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        const QBLFixtureDefinition *definition = m_library->definitionAt(row);
        if (!definition || row >= m_rowTexts.size()) {
            forgetRowTexts();
            return;
        }
        m_rowTexts[row] = {definition->displayName(), definition->manufacturerName()};
    }
}

void TwoColumnsSortFilterProxyModel::setFilterText(const QString &text)
{
    m_matcher.setPattern(text);
    m_matcher.setCaseSensitivity(filterCaseSensitivity());
    m_fixedPattern = QRegularExpression::escape(text);
    setFilterFixedString(text);
}

bool TwoColumnsSortFilterProxyModel::setData(const QModelIndex &index, const QVariant &value,
                                             int role)
{
    if (role != Qt::EditRole || !m_editHandler || !index.isValid())
        return QSortFilterProxyModel::setData(index, value, role);
    return m_editHandler(mapToSource(index), value);
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

bool TwoColumnsSortFilterProxyModel::matches(const QString &text) const
{
    const QRegularExpression pattern = filterRegularExpression();
    if (pattern.pattern() != m_fixedPattern)
        return text.contains(pattern);
    return m_matcher.indexIn(text) >= 0;
}

bool TwoColumnsSortFilterProxyModel::filterAcceptsRow(int sourceRow,
                                                      const QModelIndex &sourceParent) const
{
    if (!m_filterOnFixtureName && !m_filterOnManufacturer)
        return true;
    const RowTexts *texts = sourceParent.isValid() ? nullptr : rowTexts(sourceRow);
    auto text = [&](int column) {
        if (texts)
            return column == LocalFixtureDefinitionListModel::FixtureNameColumn
                       ? texts->fixtureName
                       : texts->manufacturer;
        return sourceModel()->index(sourceRow, column, sourceParent).data().toString();
    };
    // The manufacturer is looked at only when the name misses.
    return (m_filterOnFixtureName &&
            matches(text(LocalFixtureDefinitionListModel::FixtureNameColumn))) ||
           (m_filterOnManufacturer &&
            matches(text(LocalFixtureDefinitionListModel::ManufacturerColumn)));
}

bool TwoColumnsSortFilterProxyModel::lessThan(const QModelIndex &left,
                                              const QModelIndex &right) const
{
    if (!m_library || sortRole() != Qt::DisplayRole || left.parent().isValid())
        return QSortFilterProxyModel::lessThan(left, right);
    // The base class's comparison of display values, without building variants.
    const RowTexts *a = rowTexts(left.row());
    const RowTexts *b = rowTexts(right.row());
    if (!a || !b)
        return QSortFilterProxyModel::lessThan(left, right);
    auto compare = [this](const QString &x, const QString &y) {
        return isSortLocaleAware() ? x.localeAwareCompare(y) < 0
                                   : x.compare(y, sortCaseSensitivity()) < 0;
    };
    switch (left.column()) {
    case LocalFixtureDefinitionListModel::FixtureNameColumn:
        return compare(a->fixtureName, b->fixtureName);
    case LocalFixtureDefinitionListModel::ChannelsColumn:
        return m_library->definitionAt(left.row())->nbrOfChannels() <
               m_library->definitionAt(right.row())->nbrOfChannels();
    case LocalFixtureDefinitionListModel::ManufacturerColumn:
        return compare(a->manufacturer, b->manufacturer);
    }
    return QSortFilterProxyModel::lessThan(left, right);
}
