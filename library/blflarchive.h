#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class QBLFixtureDefinition;
class QBLFixtureDefinitionLoader;

// One library file (.blfl): a gzip-compressed tar archive with a version entry and one XML
// document per fixture definition.
class BLFLArchive : public QObject
{
    Q_OBJECT

public:
    // Entries above this size make load fail: a damaged or crafted header must not make us
    // allocate whatever it claims.
    static constexpr qint64 MaxEntrySize = 64 * 1024 * 1024;

    explicit BLFLArchive(const QString &fileName, QObject *parent = nullptr);
    ~BLFLArchive() override;

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

    // Reads the file and parses every definition entry. True only if the file was read to its
    // end without error and held a compatible version entry.
    bool load();
    // One loader per definition entry, in archive order, already parsed; owned by the archive.
    QList<QBLFixtureDefinitionLoader *> &loaders() { return m_loaders; }
    bool hasUnsupportedFeatures() const { return m_hasUnsupportedFeatures; }
    // What this version cannot keep, one line per construct, naming the entry (counted from
    // 1 among the definition entries), its path and the definition.
    QStringList unsupportedContentReport() const;
    // The text of the last version entry read.
    QString version() const { return m_version; }

    // The list stays the caller's and must live until save() has returned.
    void setDefinitions(QList<QBLFixtureDefinition *> *definitions) { m_definitions = definitions; }
    // Writes the file through a temporary file in the same folder that replaces the old file
    // only when everything was written; on failure the old file is left as it was. Only a
    // regular file or a new path is written to.
    bool save();

    // Why the last load or save failed, in one translated sentence.
    QString errorString() const { return m_errorString; }

public slots:
    void setHasUnsupportedFeatures();

private:
    bool fail(const QString &reason);
    bool writeEntry(struct archive *writer, const QString &base, const QString &extension,
                    const QByteArray &content);

    QString m_fileName;
    QList<QBLFixtureDefinitionLoader *> m_loaders;
    QList<QBLFixtureDefinition *> *m_definitions = nullptr;
    QString m_version;
    // Base names written during the current save, and the next "_n" suffix worth trying for
    // each (bases made from fixture names never contain "_", so suffixes only grow).
    QSet<QString> m_usedEntryNames;
    QHash<QString, int> m_nextSuffix;
    bool m_hasUnsupportedFeatures = false;
    QString m_errorString;
};
