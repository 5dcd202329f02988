#pragma once

// Request/response side of the device link. One transaction at a time: worker threads call
// the blocking operations, which hold the transaction lock for their whole run; the
// master's own thread sends the pending frame, hands answers to the protocol engine and
// watches the answer time-out; the phy's reader thread feeds received bytes in.
//
// Link states: working -> link lost (answer time-out, failed write, device gone) -> working
// only through resetLink(). While the link is lost every operation fails at once.

#include "blpengine.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMutex>
#include <QString>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class BLPmPhy;

class BLPMaster : public QThread
{
    Q_OBJECT

public:
    static constexpr int DefaultResponseTimeoutMs = BLPSize::DefaultResponseTimeoutMs;
    static constexpr int MinimumFrameLength = BLPSize::MinimumFrameLength;
    static constexpr int InfoBlockLength = BLPSize::InfoBlockLength;
    static constexpr int MaxNameLength = BLPSize::MaxNameLength;

    enum ProbeResult { ProbeBusy = 0, ProbeNoAnswer = 1, ProbeAnswered = 2 };

    // Why the latest blocking operation ended. While the link stays lost every operation
    // reports the cause that lost it.
    enum class LinkStatus {
        Ok,
        TimedOut,      // no answer within the answer time-out
        LinkLost,      // write failed or the device went away
        DeviceStatus,  // the controller answered a failure status (see lastDeviceStatus)
        Cancelled,
        AnswerTooLong, // more than the caller's buffer could take
        BadAnswer,     // an answer of the wrong size or an empty middle segment
        InvalidRequest // nothing to send, or no buffer
    };
    Q_ENUM(LinkStatus)

    explicit BLPMaster(QObject *parent = nullptr);
    // Stops the thread; the owner disconnects the phy before.
    ~BLPMaster() override;

    // Set-up (owner's thread).
    void attachPhy(BLPmPhy *phy);
    BLPmPhy *phy() const { return m_phy.load(); }
    // Connecting and resetting hold the transaction lock, so they never meet an operation
    // (whose send may connect the phy itself) or each other.
    void connectDevice();
    // Stops the thread, resets the engine, leaves the link-lost state and disconnects the
    // phy. The next connectDevice() starts again.
    void resetLink();
    // resetLink, select (which chooses the device), connectDevice, with no operation in
    // between: a probe meanwhile finds the link busy.
    void switchDevice(const std::function<void()> &select);

    // Any thread.
    void setResponseTimeout(int ms) { m_responseTimeout.store(ms); }
    int responseTimeout() const { return m_responseTimeout.load(); }
    // Makes a running writeData/readData stop after its current segment.
    void cancel() { m_cancel.store(true); }
    bool isLinkLost() const { return m_linkLost.load(); }
    // Any thread, after the operation returned; meaningful on the operation's own thread.
    LinkStatus lastStatus() const { return m_status.load(); }
    quint8 lastDeviceStatus() const { return m_deviceStatus.load(); }
    // Whether writeData's failure came on the segment that ends the transfer.
    bool lastFailureOnFinalSegment() const { return m_failedOnFinalSegment.load(); }
    // Frame limit from the last information block, never below 80.
    int maxFrameLength() const { return m_maxFrameLength.load(); }

    // Blocking operations (worker threads; never the master's or the reader's thread).
    // probeDevice never waits for the transaction lock: 0 busy, 1 no answer, 2 answered.
    int probeDevice();
    bool readDeviceInfo(QString &name, int &softwareVersion, int &hardwareVersion);
    bool writeData(quint32 length, const void *data, quint8 command, quint16 parameter);
    // Reads at most maxLength bytes into buffer; an answer that would not fit fails the read.
    bool readData(qint32 maxLength, void *buffer, qint32 &received, quint8 command,
                  quint16 parameter);

    // Entries for the phy (reader thread, or the master's thread inside send).
    void inputByte(quint8 byte);
    void linkLost();
    bool isAwaitingAnswer() const { return m_awaiting.load(); }
    // True while a blocking operation runs.
    bool isTransactionActive() const { return m_transactionActive.load() > 0; }
    // For the reader while no answer is awaited: sleeps at most maxUs, and returns as soon
    // as an answer is awaited, the master stops, or alsoWakeOn is set (its setter then calls
    // wakeSleepers). An idle link thus costs a few wake-ups a second, and the reader still
    // starts reading as the request goes out.
    void sleepUntilAwaiting(unsigned long maxUs, const std::atomic<bool> *alsoWakeOn = nullptr);
    void wakeSleepers();

signals:
    void sigTransferred(uint dwPercents);
    void sigReceived(uint dwBytes);

protected:
    void run() override;

private:
    friend struct BLPMasterEngineFunctions;

    void installEngineFunctions();
    void startThread();
    void stopThread();
    void connectLocked();
    void resetLocked();
    bool writeTransaction(const quint8 *data, quint16 length, bool first, bool last, quint8 command,
                          quint16 parameter, bool withProgress);
    bool readTransaction(quint16 maxAnswer, quint8 *buffer, qint32 &count, bool &last,
                         quint8 command, quint16 parameter, bool first);
    void progressTick();
    void markLost(LinkStatus cause);
    void beginOperation();
    bool fail(LinkStatus status);
    bool failForAnswer();

    // Engine functions, on the master's thread.
    void frameToSend(quint32 length, const quint8 *bytes);
    void statusAnswered(quint8 status);
    void dataAnswered(quint16 length, const quint8 *payload, bool last, quint8 status);

    std::unique_ptr<BLPEngineContext> m_engine;
    std::atomic<BLPmPhy *> m_phy{nullptr};
    QMutex m_transactionLock;

    // Written by the answer callback before done is set, read by the worker after.
    QByteArray m_receiveQueue;
    std::atomic<qint32> m_receivedCount{0};
    std::atomic<quint16> m_expectedMaximum{0};

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_threadExited{true};
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_error{false};
    std::atomic<bool> m_last{false};
    std::atomic<bool> m_awaiting{false};
    std::atomic<bool> m_linkLost{false};
    std::atomic<bool> m_cancel{false};
    // The reader is inside inputByte; resetLink waits it out before resetting the engine.
    std::atomic<bool> m_feeding{false};
    std::atomic<bool> m_resetting{false};
    std::atomic<int> m_transactionActive{0};
    std::atomic<int> m_responseTimeout{DefaultResponseTimeoutMs};
    std::atomic<LinkStatus> m_status{LinkStatus::Ok};
    // What lost the link; Ok while it works.
    std::atomic<LinkStatus> m_lostCause{LinkStatus::Ok};
    std::atomic<quint8> m_deviceStatus{0};
    std::atomic<bool> m_answerTooLong{false};
    std::atomic<bool> m_failedOnFinalSegment{false};
    std::atomic<int> m_maxFrameLength{MinimumFrameLength};

    // The link's threads sleep on this between events instead of napping in short steps.
    // Each sleep is still bounded: the loops keep polling, only far less often.
    template <typename Ready> void sleepUnless(unsigned long maxUs, Ready ready);
    // A blocking operation's wait for its answer or a lost link.
    void sleepUntilAnswered();
    std::mutex m_wakeMutex;
    std::condition_variable m_wake;

    QElapsedTimer m_answerTimer; // master's thread only

    // writeData's progress, on the worker's thread.
    int m_progressCurrent = 0;
    int m_progressTarget = 0;
    int m_lastEmitted = -1;
    bool m_progressActive = false;
};
