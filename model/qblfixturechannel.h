#pragma once

#include <QModelIndex>
#include <QObject>
#include <QPointer>
#include <QString>

class QAbstractItemModel;

// One DMX channel of a fixture definition.
class QBLFixtureChannel : public QObject
{
    Q_OBJECT

public:
    // Longest short name the controller's display takes.
    static constexpr int NameShortLength = 12;
    // Above every valid number until the channel list model numbers the channel.
    static constexpr int UnnumberedChannel = 1000;

    explicit QBLFixtureChannel(QObject *parent = nullptr);

    // Copies name, short name, its flag, list index, list model and number; the description
    // and the renumber mark stay as they are.
    QBLFixtureChannel &operator=(const QBLFixtureChannel &other);

    int number() const { return m_number; }
    void setNumber(int number) { m_number = number; }

    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }

    QString nameShort() const { return m_nameShort; }
    // Keeps the first 12 characters.
    void setNameShort(const QString &nameShort);

    bool isAutoNameShort() const { return m_autoNameShort; }
    void setAutoNameShort(bool autoNameShort) { m_autoNameShort = autoNameShort; }

    QString description() const { return m_description; }
    void setDescription(const QString &description) { m_description = description; }

    QAbstractItemModel *listModel() const { return m_listModel; }
    void setListModel(QAbstractItemModel *model) { m_listModel = model; }
    QModelIndex listIndex() const { return m_listIndex; }
    void setListIndex(const QModelIndex &index) { m_listIndex = index; }

    bool renumberMark() const { return m_renumberMark; }
    void setRenumberMark(bool mark) { m_renumberMark = mark; }

    // The name, or the short name when the name is empty.
    QString displayName() const;

    // An automatic short name: the first 12 characters of the name.
    static QString derivedNameShort(const QString &name);
    // The short name the controller gets: derived from the name while the flag is set.
    QString effectiveNameShort() const;
    void applyAutoNameShort();
    void detectAutoNameShort();
    // An erased device slot reads back as U+00FF characters.
    void clearErasedName();

private:
    QModelIndex m_listIndex;
    int m_number = UnnumberedChannel;
    QString m_name;
    QString m_nameShort;
    bool m_autoNameShort = true;
    QString m_description;
    QPointer<QAbstractItemModel> m_listModel;
    bool m_renumberMark = false;
};
