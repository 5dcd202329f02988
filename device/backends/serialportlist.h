#pragma once

// The serial ports that may be controllers, for the backends that reach controllers through
// the system's serial ports. A port whose USB product description is "BRENLOW BLP-DEV" or
// "BRENLOW BLP-DGL" is listed with it; other FTDI ports with theirs, so discovery skips them.
// An explicit port (--port PATH) is taken as a controller whatever it is: it is listed first,
// described as "BRENLOW BLP-DEV".

#include <QByteArray>
#include <QList>
#include <QString>

struct SerialPortEntry {
    QString path;
    QByteArray serialNumber;
    QByteArray description;
};

QList<SerialPortEntry> listSerialPortEntries(const QString &explicitPort);

// The path with links resolved, so that two names of one port compare equal.
QString canonicalPortPath(const QString &path);
