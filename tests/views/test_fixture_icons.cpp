#include <QtTest>

#include "devicejobs.h"
#include "devicerecord.h"
#include "model/localfixturedefinitionlistmodel.h"
#include "model/qblfixturedefinition.h"
#include "remotefixturedefinitionlistmodel.h"
#include "views/deviceform.h"
#include "views/libraryform.h"

#include <QStyledItemDelegate>
#include <QTableView>

// Both panes show the fixture icon before each fixture name and nowhere else. The icon comes
// from the panes: the core's item models hand out none.
class FixtureIcons : public QObject
{
    Q_OBJECT

    // The columns whose first cell the table draws with an icon: such a cell needs room for it
    // beyond what a plain delegate gives the same text.
    static QList<int> iconColumns(QTableView *table)
    {
        QList<int> columns;
        for (int column = 0; table && column < table->model()->columnCount(); ++column)
            if (drawsIcon(table, table->model()->index(0, column)))
                columns << column;
        return columns;
    }

    static bool drawsIcon(QTableView *table, const QModelIndex &cell)
    {
        if (table->model()->data(cell, Qt::DecorationRole).isValid())
            return true;
        QAbstractItemDelegate *delegate = table->itemDelegateForColumn(cell.column());
        if (!delegate)
            return false;
        QStyleOptionViewItem option;
        option.initFrom(table);
        option.decorationSize = QSize(16, 16);
        QStyledItemDelegate plain;
        return delegate->sizeHint(option, cell).width() > plain.sizeHint(option, cell).width();
    }

private slots:
    void theDevicePaneShowsTheIconBeforeTheNameOnly()
    {
        DeviceForm form;
        QByteArray answer(2 + qsizetype(DeviceRecord::HeaderSize), '\0');
        answer[0] = char(1);
        char *header = answer.data() + 2;
        DeviceRecord::writeText(header + DeviceRecord::FixtureNameOffset,
                                DeviceRecord::FixtureNameWidth, QStringLiteral("Echo Spot"));
        header[DeviceRecord::ChannelCountOffset] = char(3);
        StoredFixtureList list;
        QVERIFY(list.parse(answer));
        form.setFixtureList(list);
        QCOMPARE(iconColumns(form.findChild<QTableView *>(QStringLiteral("fixtureListView"))),
                 QList<int>{RemoteFixtureDefinitionListModel::FixtureNameColumn});
    }

    void theLibraryPaneShowsTheIconBeforeTheNameOnly()
    {
        LibraryForm form;
        QBLFixtureDefinition definition;
        definition.setFixtureName(QStringLiteral("Wash Zoom"));
        form.addDefinition(&definition);
        auto *table = form.findChild<QTableView *>(QStringLiteral("fixtureDefinitionsTableView"));
        QCOMPARE(iconColumns(table),
                 QList<int>{LocalFixtureDefinitionListModel::FixtureNameColumn});
    }
};

QTEST_MAIN(FixtureIcons)
#include "test_fixture_icons.moc"
