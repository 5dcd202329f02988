#include "fixtureicondelegate.h"

FixtureIconDelegate::FixtureIconDelegate(QObject *parent)
    : QStyledItemDelegate(parent), m_icon(QStringLiteral(":/pixmaps/Fixture.ico"))
{
}

void FixtureIconDelegate::initStyleOption(QStyleOptionViewItem *option,
                                          const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!index.isValid())
        return;
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->icon = m_icon;
}
