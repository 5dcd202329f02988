#pragma once

// Draws the fixture icon in front of a fixture name. The item models of the core hand out
// no icons (they need no Qt GUI module), so the panes add it here.

#include <QIcon>
#include <QStyledItemDelegate>

class FixtureIconDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit FixtureIconDelegate(QObject *parent = nullptr);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QIcon m_icon;
};
