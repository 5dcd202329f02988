#pragma once

#include <QByteArrayView>
#include <QList>
#include <QModelIndex>
#include <QObject>
#include <QPointer>
#include <QString>

class QAbstractItemModel;
class QBLFixtureChannel;

// One fixture definition: names, short names, type and its ordered channels (owned).
class QBLFixtureDefinition : public QObject
{
    Q_OBJECT

public:
    // Longest automatic fixture and manufacturer short name.
    static constexpr int AutoShortNameLength = 20;
    static constexpr quint32 NoFixtureType = 0xFFFFFFFFu;

    explicit QBLFixtureDefinition(QObject *parent = nullptr);
    // Copies the header and shares (does not duplicate) the source's channel objects: the
    // caller must empty channels() before either definition is destroyed.
    QBLFixtureDefinition(const QBLFixtureDefinition &other);
    // Copies the header and replaces the channels by deep copies of the source's.
    QBLFixtureDefinition &operator=(const QBLFixtureDefinition &other);
    ~QBLFixtureDefinition() override;

    QString fixtureName() const { return m_fixtureName; }
    QString fixtureNameShort() const { return m_fixtureNameShort; }
    QString manufacturerName() const { return m_manufacturerName; }
    QString manufacturerNameShort() const { return m_manufacturerNameShort; }
    // The name setters store the text unchanged and then notify the list model.
    void setFixtureName(const QString &name);
    void setFixtureNameShort(const QString &name);
    void setManufacturerName(const QString &name);
    void setManufacturerNameShort(const QString &name);

    bool isAutoFixtureNameShort() const { return m_autoFixtureNameShort; }
    void setAutoFixtureNameShort(bool on) { m_autoFixtureNameShort = on; }
    bool isAutoManufacturerNameShort() const { return m_autoManufacturerNameShort; }
    void setAutoManufacturerNameShort(bool on) { m_autoManufacturerNameShort = on; }

    quint32 fixtureType() const { return m_fixtureType; }
    void setFixtureType(quint32 type) { m_fixtureType = type; }

    // Changed in place by the channel list model and the readers; the definition owns the
    // channels it holds.
    QList<QBLFixtureChannel *> &channels() { return m_channels; }
    const QList<QBLFixtureChannel *> &channels() const { return m_channels; }
    int nbrOfChannels() const { return int(m_channels.size()); }

    // The fixture name, or the fixture short name when the name is empty.
    QString displayName() const;

    QAbstractItemModel *listModel() const { return m_listModel; }
    void setListModel(QAbstractItemModel *model) { m_listModel = model; }
    QModelIndex listIndex() const { return m_listIndex; }
    void setListIndex(const QModelIndex &index) { m_listIndex = index; }

    // Sets the fixture name (column 0) and manufacturer name (column 2) of this definition's
    // row through the list model's setData with the edit role. Calls made while the model
    // handles that setData (for example through setFixtureName) do not notify again.
    void notifyListModel();
    // Emits nbrOfChannelChanged with the list index; the channel list model calls it after
    // adding or removing channels.
    void emitNbrOfChannelChanged();

    // An automatic short name: the first 20 characters of the name.
    static QString derivedShortName(const QString &name);
    // The short names the controller gets: derived from the names where the flag is set.
    QString effectiveFixtureNameShort() const;
    QString effectiveManufacturerNameShort() const;
    // Derives the short names whose flag is set; notifies the list model when that changes
    // the displayed name.
    void applyAutoShortNames();
    void detectAutoShortNames();
    // An erased device slot reads back as U+00FF characters.
    void clearErasedNames();

signals:
    void nbrOfChannelChanged(QModelIndex index);

private:
    void copyHeader(const QBLFixtureDefinition &other);

    QString m_fixtureName;
    QString m_fixtureNameShort;
    bool m_autoFixtureNameShort = true;
    QString m_manufacturerName;
    QString m_manufacturerNameShort;
    bool m_autoManufacturerNameShort = true;
    quint32 m_fixtureType = NoFixtureType;
    QModelIndex m_listIndex;
    QPointer<QAbstractItemModel> m_listModel;
    QList<QBLFixtureChannel *> m_channels;
    bool m_notifying = false;
};
