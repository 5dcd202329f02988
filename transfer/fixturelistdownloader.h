#pragma once

#include "storeworker.h"

#include <QByteArray>

// Reads the controller's fixture list (command 11) on its own thread. Ends with exactly one
// of receivedData, failed or downloadAborted.
class FixtureListDownloader : public StoreWorker
{
    Q_OBJECT

public:
    static constexpr int ListTimeoutMs = 4000;

    explicit FixtureListDownloader(QObject *parent = nullptr);

    // The store's free slots as the controller reported them with the last list; -1 unknown.
    int freeSlots() const { return m_freeSlots; }

signals:
    // data points into this worker's buffer; valid until it runs again or is destroyed.
    void receivedData(void *data, int readLength);
    void downloadAborted();

protected:
    void run() override;

private:
    QByteArray m_buffer;
    std::atomic<int> m_freeSlots{-1};
};
