#pragma once

#include <QByteArray>
#include <QObject>

class QBLFixtureDefinition;

// Writes one fixture definition as the XML document stored in library files: the channel
// declarations and one personality that references every channel.
class QBLFixtureDefinitionXMLExporter : public QObject
{
    Q_OBJECT

public:
    explicit QBLFixtureDefinitionXMLExporter(QObject *parent = nullptr);

    // Appends the document to output; the caller empties it first.
    void exportDefinition(const QBLFixtureDefinition &definition, QByteArray &output) const;
};
