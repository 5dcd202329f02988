#pragma once

// The driver backend over the FTDI D2XX driver library, loaded when the program runs, so
// that builds need no copy of it and run without it. The library's functions are looked up
// by name; a missing library or function makes load() fail with one line naming it.
//
// The library's list nodes are converted into the seam's node layout, so callers above see
// the same nodes whatever the library's pointer size.

#include "ftdidriver.h"

#include <QLibrary>
#include <QString>

#include <mutex>

class D2xxFtdiDriver : public FtdiDriver
{
public:
    // The platform's name of the library, found through the normal library search path.
    static QString defaultLibraryName();

    // libraryPath empty: defaultLibraryName().
    explicit D2xxFtdiDriver(const QString &libraryPath = QString());
    ~D2xxFtdiDriver() override;

    // Loads the library and resolves its functions; false with a message in error. Until it
    // succeeds every operation fails with DeviceNotFound.
    bool load(QString *error);
    bool isLoaded() const { return m_api != nullptr; }
    QString libraryName() const { return m_libraryName; }

    FtdiStatus createDeviceInfoList(quint32 *count) override;
    FtdiStatus getDeviceInfoList(uchar *nodes, quint32 *count) override;
    FtdiStatus open(int index, FtdiHandle *handle) override;
    FtdiStatus resetDevice(FtdiHandle handle) override;
    FtdiStatus setBaudRate(FtdiHandle handle, quint32 baudRate) override;
    FtdiStatus setDataCharacteristics(FtdiHandle handle, quint8 wordLength, quint8 stopBits,
                                      quint8 parity) override;
    FtdiStatus setTimeouts(FtdiHandle handle, quint32 readMs, quint32 writeMs) override;
    FtdiStatus read(FtdiHandle handle, void *buffer, quint32 count, quint32 *countRead) override;
    FtdiStatus write(FtdiHandle handle, const void *buffer, quint32 count,
                     quint32 *countWritten) override;
    FtdiStatus getStatus(FtdiHandle handle, quint32 *rxQueue, quint32 *txQueue,
                         quint32 *eventWord) override;
    FtdiStatus close(FtdiHandle handle) override;

    struct Api;

private:
    const QString m_libraryName;
    QLibrary m_library;
    Api *m_api = nullptr;
    std::mutex m_listMutex; // the library's list and its length belong together
    quint32 m_listed = 0;   // nodes in the library's latest list
};
