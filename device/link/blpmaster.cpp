#include "blpmaster.h"

#include "blpmphy.h"
#include "linklog.h"

#include <QHash>
#include <QMutexLocker>

#include <algorithm>
#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace
{

constexpr quint8 kAddress = BLPFrame::HostAddress;
// The link's threads are woken for every event; these only bound their sleeps.
constexpr unsigned long kIdleSleepUs = 100000;
// While an answer is awaited the master also watches the time-out.
constexpr unsigned long kAwaitSliceUs = 2000;
// A blocking operation waits for its answer; the write that shows progress ticks meanwhile.
constexpr unsigned long kAnswerSliceUs = 1000;
constexpr unsigned long kProgressTickUs = 10;

// The engine callbacks receive only their context; they find their master here.
QMutex g_registryLock;
QHash<BLPEngineContext *, BLPMaster *> g_registry;

BLPMaster *masterOf(BLPEngineContext *context)
{
    QMutexLocker locker(&g_registryLock);
    return g_registry.value(context, nullptr);
}

// Counts the blocking operation that holds the transaction lock.
class TransactionScope
{
public:
    explicit TransactionScope(std::atomic<int> &counter) : m_counter(counter) { ++m_counter; }
    ~TransactionScope() { --m_counter; }

private:
    std::atomic<int> &m_counter;
};

} // namespace

struct BLPMasterEngineFunctions {
    static void send(BLPEngineContext *context, uint32_t length, const uint8_t *bytes)
    {
        if (BLPMaster *m = masterOf(context))
            m->frameToSend(length, bytes);
    }
    static void status(BLPEngineContext *context, uint8_t, uint16_t, uint8_t status)
    {
        if (BLPMaster *m = masterOf(context))
            m->statusAnswered(status);
    }
    static void data(BLPEngineContext *context, uint8_t, uint16_t, uint16_t length,
                     const uint8_t *payload, bool, bool last, uint8_t status)
    {
        if (BLPMaster *m = masterOf(context))
            m->dataAnswered(length, payload, last, status);
    }
};

BLPMaster::BLPMaster(QObject *parent)
    : QThread(parent), m_engine(std::make_unique<BLPEngineContext>())
{
    {
        QMutexLocker locker(&g_registryLock);
        g_registry.insert(m_engine.get(), this);
    }
    engineReset(m_engine.get());
    installEngineFunctions();
}

BLPMaster::~BLPMaster()
{
    stopThread();
    QMutexLocker locker(&g_registryLock);
    g_registry.remove(m_engine.get());
}

void BLPMaster::installEngineFunctions()
{
    engineSetCallbacks(m_engine.get(), BLPMasterEngineFunctions::data,
                       BLPMasterEngineFunctions::status);
    engineSetSendFunction(m_engine.get(), BLPMasterEngineFunctions::send);
    engineSetFrameObserver(m_engine.get(), logLinkFrame);
}

void BLPMaster::attachPhy(BLPmPhy *phy)
{
    if (!phy)
        return;
    m_phy.store(phy);
    phy->setMaster(this);
    startThread();
}

void BLPMaster::startThread()
{
    if (isRunning())
        return;
    m_threadExited.store(false);
    start();
}

// Waits for the loop's own last word, not only for the thread object, so that everything
// the loop did is ordered before what the caller does next.
void BLPMaster::stopThread()
{
    if (!isRunning())
        return;
    m_stop.store(true);
    wakeSleepers();
    while (!m_threadExited.load())
        QThread::msleep(2);
    wait();
    m_stop.store(false);
}

void BLPMaster::connectDevice()
{
    QMutexLocker locker(&m_transactionLock);
    connectLocked();
}

void BLPMaster::resetLink()
{
    QMutexLocker locker(&m_transactionLock);
    resetLocked();
}

void BLPMaster::switchDevice(const std::function<void()> &select)
{
    QMutexLocker locker(&m_transactionLock);
    resetLocked();
    if (select)
        select();
    connectLocked();
}

// Under the transaction lock: an operation's send may connect the phy too.
void BLPMaster::connectLocked()
{
    startThread();
    if (BLPmPhy *p = m_phy.load())
        p->connectDevice();
}

// The phy's reader stops before link-lost is cleared: a read still running on a vanished
// device would otherwise mark the fresh link lost.
void BLPMaster::resetLocked()
{
    stopThread();
    m_awaiting.store(false);
    m_resetting.store(true);
    if (BLPmPhy *p = m_phy.load())
        p->disconnectDevice();
    while (m_feeding.load())
        QThread::usleep(10);
    engineReset(m_engine.get());
    installEngineFunctions();
    m_resetting.store(false);
    m_linkLost.store(false);
    m_lostCause.store(LinkStatus::Ok);
}

template <typename Ready> void BLPMaster::sleepUnless(unsigned long maxUs, Ready ready)
{
    std::unique_lock<std::mutex> lock(m_wakeMutex);
    m_wake.wait_for(lock, std::chrono::microseconds(maxUs), ready);
}

void BLPMaster::sleepUntilAwaiting(unsigned long maxUs, const std::atomic<bool> *alsoWakeOn)
{
    sleepUnless(maxUs, [&] {
        return m_stop.load() || m_awaiting.load() || (alsoWakeOn && alsoWakeOn->load());
    });
}

void BLPMaster::sleepUntilAnswered()
{
    sleepUnless(kAnswerSliceUs, [this] { return m_done.load() || m_linkLost.load(); });
}

// Taking the lock orders the caller's flag change before a sleeper's last look at it, so no
// wake-up falls between that look and the wait.
void BLPMaster::wakeSleepers()
{
    {
        std::lock_guard<std::mutex> lock(m_wakeMutex);
    }
    m_wake.notify_all();
}

// Bytes are taken whenever they come: the reader starts reads only while an answer is
// awaited, but a read begun for one answer may bring the first byte of the next.
void BLPMaster::inputByte(quint8 byte)
{
    // Paired with resetLocked: either it sees us feeding, or we see the reset under way.
    m_feeding.store(true);
    bool wake = false;
    if (!m_resetting.load()) {
        engineInputByte(m_engine.get(), byte);
        wake = engineHasWork(m_engine.get());
    }
    m_feeding.store(false);
    if (wake)
        wakeSleepers();
}

// The engine is reset by resetLink, not here: this may run on the reader thread while the
// master's thread is inside enginePoll, and nothing uses the engine until the reset.
void BLPMaster::linkLost()
{
    markLost(LinkStatus::LinkLost);
}

// The first cause wins: a time-out that makes the phy give up stays a time-out.
void BLPMaster::markLost(LinkStatus cause)
{
    LinkStatus none = LinkStatus::Ok;
    m_lostCause.compare_exchange_strong(none, cause);
    m_linkLost.store(true);
    m_awaiting.store(false);
    wakeSleepers();
}

void BLPMaster::run()
{
#ifdef Q_OS_LINUX
    // Woken threads and the time-out slices should not be stretched by the default slack.
    prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
#endif
    while (!m_stop.load()) {
        if (m_awaiting.load() && m_answerTimer.elapsed() > m_responseTimeout.load())
            markLost(LinkStatus::TimedOut);
        if (m_linkLost.load()) {
            // Operations fail at once while the link is lost; only resetLink ends it.
            sleepUnless(kIdleSleepUs, [this] { return m_stop.load(); });
            continue;
        }
        enginePoll(m_engine.get());
        sleepUnless(m_awaiting.load() ? kAwaitSliceUs : kIdleSleepUs,
                    [this] { return m_stop.load() || engineHasWork(m_engine.get()); });
    }
    m_threadExited.store(true);
}

// Awaiting is set only once the frame is out: the reader reads (and judges the link) only
// while it is set, so a send that first has to reconnect the phy is not taken for a lost
// link. An answer that comes sooner waits in the driver.
void BLPMaster::frameToSend(quint32 length, const quint8 *bytes)
{
    m_answerTimer.start();
    BLPmPhy *p = m_phy.load();
    if (!p || !p->send(length, bytes)) {
        linkLost();
        return;
    }
    m_awaiting.store(true);
    wakeSleepers();
}

void BLPMaster::statusAnswered(quint8 status)
{
    m_deviceStatus.store(status);
    m_error.store(status != 0);
    m_awaiting.store(false);
    m_done.store(true);
    wakeSleepers();
}

void BLPMaster::dataAnswered(quint16 length, const quint8 *payload, bool last, quint8 status)
{
    m_awaiting.store(false);
    if (status == 0 && length <= m_expectedMaximum.load()) {
        m_receivedCount.store(length);
        if (length > 0)
            m_receiveQueue.append(reinterpret_cast<const char *>(payload), length);
        m_last.store(last);
        m_error.store(false);
    } else {
        m_deviceStatus.store(status);
        m_answerTooLong.store(status == 0);
        m_error.store(true);
        m_receivedCount.store(0);
    }
    m_done.store(true);
    wakeSleepers();
}

void BLPMaster::progressTick()
{
    static std::atomic<unsigned> ticks{0};
    if (++ticks % 8 != 0 || !m_progressActive || m_progressCurrent >= m_progressTarget)
        return;
    ++m_progressCurrent;
    m_lastEmitted = m_progressCurrent;
    emit sigTransferred(uint(m_progressCurrent));
}

bool BLPMaster::fail(LinkStatus status)
{
    m_status.store(status);
    return false;
}

bool BLPMaster::failForAnswer()
{
    return fail(m_answerTooLong.load() ? LinkStatus::AnswerTooLong : LinkStatus::DeviceStatus);
}

bool BLPMaster::writeTransaction(const quint8 *data, quint16 length, bool first, bool last,
                                 quint8 command, quint16 parameter, bool withProgress)
{
    m_done.store(false);
    m_error.store(false);
    m_receiveQueue.clear();
    if (m_linkLost.load())
        return fail(m_lostCause.load());
    engineBuildData(m_engine.get(), length, data, first, last, kAddress, command, parameter);
    wakeSleepers();
    while (!m_done.load()) {
        if (m_linkLost.load())
            return fail(m_lostCause.load());
        if (withProgress) {
            QThread::usleep(kProgressTickUs);
            progressTick();
        } else {
            sleepUntilAnswered();
        }
    }
    return m_error.load() ? failForAnswer() : true;
}

bool BLPMaster::readTransaction(quint16 maxAnswer, quint8 *buffer, qint32 &count, bool &last,
                                quint8 command, quint16 parameter, bool first)
{
    count = 0;
    last = false;
    m_done.store(false);
    m_error.store(false);
    m_last.store(false);
    m_expectedMaximum.store(maxAnswer);
    m_receivedCount.store(0);
    m_receiveQueue.clear();
    if (m_linkLost.load())
        return fail(m_lostCause.load());
    engineBuildRequest(m_engine.get(), kAddress, command, parameter, first);
    wakeSleepers();
    while (!m_done.load()) {
        if (m_linkLost.load())
            return fail(m_lostCause.load());
        sleepUntilAnswered();
    }
    if (m_error.load())
        return failForAnswer();
    count = m_receivedCount.load();
    if (count > 0)
        std::memcpy(buffer, m_receiveQueue.constData(), size_t(count));
    m_receiveQueue.clear();
    last = m_last.load();
    return true;
}

void BLPMaster::beginOperation()
{
    m_status.store(LinkStatus::Ok);
    m_deviceStatus.store(0);
    m_answerTooLong.store(false);
    m_failedOnFinalSegment.store(false);
}

int BLPMaster::probeDevice()
{
    if (!m_transactionLock.tryLock())
        return ProbeBusy;
    int result;
    {
        TransactionScope scope(m_transactionActive);
        beginOperation();
        const quint8 bytes[4] = {0, 0, 0, 0};
        result = writeTransaction(bytes, sizeof bytes, true, true, BLPCommand::Probe, 0, false)
                     ? ProbeAnswered
                     : ProbeNoAnswer;
        m_awaiting.store(false);
    }
    m_transactionLock.unlock();
    return result;
}

bool BLPMaster::readDeviceInfo(QString &name, int &softwareVersion, int &hardwareVersion)
{
    QMutexLocker locker(&m_transactionLock);
    TransactionScope scope(m_transactionActive);
    beginOperation();
    if (m_linkLost.load())
        return fail(m_lostCause.load());
    quint8 block[InfoBlockLength];
    qint32 count = 0;
    bool last = false;
    if (!readTransaction(InfoBlockLength, block, count, last, BLPCommand::DeviceInfo, 0, true) ||
        count != InfoBlockLength) {
        m_awaiting.store(false);
        if (m_status.load() == LinkStatus::Ok)
            m_status.store(LinkStatus::BadAnswer);
        return false;
    }
    hardwareVersion = block[2] | (block[3] << 8);
    softwareVersion = block[4] | (block[5] << 8);
    const char *text = reinterpret_cast<const char *>(block + 6);
    name = QString::fromLatin1(text, int(qstrnlen(text, MaxNameLength)));
    m_maxFrameLength.store(std::max(MinimumFrameLength, block[46] | (block[47] << 8)));
    return true;
}

bool BLPMaster::writeData(quint32 length, const void *data, quint8 command, quint16 parameter)
{
    QMutexLocker locker(&m_transactionLock);
    TransactionScope scope(m_transactionActive);
    beginOperation();
    if (m_linkLost.load())
        return fail(m_lostCause.load());
    if (length == 0 || !data)
        return fail(LinkStatus::InvalidRequest);
    m_cancel.store(false);
    m_receiveQueue.clear();

    const auto *bytes = static_cast<const quint8 *>(data);
    const quint32 room = quint32(m_maxFrameLength.load() - BLPFrame::Overhead);
    quint32 segment = length <= room ? length : room / 4 * 4;
    bool first = true;
    bool last = length <= room;
    quint32 sent = 0;
    const auto percentOf = [length](quint64 bytesSent) { return int(bytesSent * 100 / length); };

    m_progressCurrent = 0;
    m_progressTarget = percentOf(segment);
    m_lastEmitted = -1;
    m_progressActive = true;
    bool ok = false;
    for (;;) {
        if (!writeTransaction(bytes + sent, quint16(segment), first, last, command, parameter,
                              true)) {
            m_failedOnFinalSegment.store(last);
            break;
        }
        if (m_linkLost.load()) {
            fail(m_lostCause.load());
            break;
        }
        sent += segment;
        const int percent = percentOf(sent);
        if (percent != m_lastEmitted) {
            m_lastEmitted = percent;
            emit sigTransferred(uint(percent));
        }
        if (sent == length) {
            ok = true;
            break;
        }
        if (m_cancel.load()) {
            fail(LinkStatus::Cancelled);
            break;
        }
        first = false;
        if (length - sent <= segment) {
            segment = length - sent;
            last = true;
        }
        m_progressCurrent = m_progressTarget;
        m_progressTarget = percentOf(quint64(sent) + segment);
    }
    m_progressActive = false;
    if (!ok)
        m_awaiting.store(false);
    return ok;
}

bool BLPMaster::readData(qint32 maxLength, void *buffer, qint32 &received, quint8 command,
                         quint16 parameter)
{
    QMutexLocker locker(&m_transactionLock);
    TransactionScope scope(m_transactionActive);
    beginOperation();
    received = 0;
    if (m_linkLost.load())
        return fail(m_lostCause.load());
    emit sigReceived(0);
    m_cancel.store(false);
    m_receiveQueue.clear();

    auto *out = static_cast<quint8 *>(buffer);
    // Each answer may fill only what is left of the caller's buffer.
    const auto room = [&]() {
        return quint16(
            std::clamp(qint64(maxLength) - received, qint64(0), qint64(BLPSize::MaxAnswerPayload)));
    };
    // A failed transaction has set the status already.
    const auto failWith = [this](LinkStatus status) {
        m_awaiting.store(false);
        if (status != LinkStatus::Ok)
            m_status.store(status);
        return false;
    };

    qint32 count = 0;
    bool last = false;
    if (!readTransaction(room(), out, count, last, command, parameter, true))
        return failWith(LinkStatus::Ok);
    if (!last && maxLength <= 0)
        return failWith(LinkStatus::AnswerTooLong);
    received += count;
    emit sigReceived(uint(received));
    if (last) {
        emit sigReceived(0xFFFFFFFFu);
        return true;
    }
    for (;;) {
        if (!readTransaction(room(), out + received, count, last, command, parameter, false))
            return failWith(LinkStatus::Ok);
        received += count;
        if (!last && received >= maxLength)
            return failWith(LinkStatus::AnswerTooLong);
        if (count == 0)
            return failWith(LinkStatus::BadAnswer);
        if (m_linkLost.load())
            return failWith(m_lostCause.load());
        if (m_cancel.load())
            return failWith(LinkStatus::Cancelled);
        emit sigReceived(uint(received));
        if (last) {
            emit sigReceived(0xFFFFFFFFu);
            return true;
        }
    }
}
