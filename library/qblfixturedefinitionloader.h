#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QBLFixtureDefinition;
class QBLFixtureXMLContentHandler;

// The bytes of one definition document of a library file and the definitions parsed from it.
class QBLFixtureDefinitionLoader : public QObject
{
    Q_OBJECT

public:
    explicit QBLFixtureDefinitionLoader(QObject *parent = nullptr);
    ~QBLFixtureDefinitionLoader() override;

    // A buffer of exactly size bytes, owned by the loader, for the caller to fill.
    char *allocateBuffer(int size);
    // Takes the document whole (instead of allocateBuffer).
    void setData(const QByteArray &data) { m_data = data; }
    const QByteArray &data() const { return m_data; }

    // Parses the document the first time it is called; later calls do nothing. Definitions
    // completed before a malformed part or an unexpected element are kept.
    void parse();
    // The parsed definitions (owned by the loader), or null before parse().
    QList<QBLFixtureDefinition *> *definitions() const { return m_definitions; }

    // After parse(): why the document did not read whole (not well-formed, an unexpected
    // element, no definition at all), in one line; empty when it did. Saving such a document
    // again would lose what was not read, so it counts as unsupported content.
    const QString &problem() const { return m_problem; }
    // After parse(): the constructs this version cannot keep, one line each.
    QStringList unsupportedConstructs() const;

    // The entry's path inside the library file, for messages.
    void setEntryName(const QString &name) { m_entryName = name; }
    const QString &entryName() const { return m_entryName; }

signals:
    void unsupportedContent();

public slots:
    void slotUnsupportedContent();

private:
    QByteArray m_data;
    std::unique_ptr<QBLFixtureXMLContentHandler> m_handler;
    QList<QBLFixtureDefinition *> *m_definitions = nullptr;
    QString m_problem;
    QString m_entryName;
};
