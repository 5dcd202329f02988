#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

// A generated QLC+ catalogue about the shape of the installed one: 120 makers, files of 4 to 43
// channels with two capabilities each and 1 to 4 modes (files / 4 * 10 modes in all).
inline bool generateQxfCatalogue(const QString &root, int files)
{
    for (int i = 0; i < files; ++i) {
        const QString folder = QStringLiteral("%1/Maker %2").arg(root).arg(i % 120);
        if (!QDir().mkpath(folder))
            return false;
        QByteArray doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE FixtureDefinition>\n"
                         "<FixtureDefinition xmlns=\"http://www.qlcplus.org/FixtureDefinition\">\n"
                         " <Manufacturer>Maker " + QByteArray::number(i % 120) + "</Manufacturer>\n"
                         " <Model>Fixture " + QByteArray::number(i) + "</Model>\n <Type>Moving Head</Type>\n";
        const int channels = 4 + i % 40;
        for (int c = 0; c < channels; ++c)
            doc += " <Channel Name=\"Channel " + QByteArray::number(c) + "\">\n  <Group Byte=\"0\">Intensity</Group>\n"
                   "  <Capability Min=\"0\" Max=\"127\">Low</Capability>\n"
                   "  <Capability Min=\"128\" Max=\"255\">High</Capability>\n </Channel>\n";
        for (int m = 0, modes = 1 + i % 4; m < modes; ++m) {
            doc += " <Mode Name=\"Mode " + QByteArray::number(m) + "\">\n  <Physical/>\n";
            for (int c = 0; c < channels - m; ++c)
                doc += "  <Channel Number=\"" + QByteArray::number(c) + "\">Channel " +
                       QByteArray::number(c) + "</Channel>\n";
            doc += " </Mode>\n";
        }
        doc += "</FixtureDefinition>\n";
        QFile f(QStringLiteral("%1/fixture-%2.qxf").arg(folder).arg(i));
        if (!f.open(QIODevice::WriteOnly) || f.write(doc) != doc.size())
            return false;
    }
    return true;
}
