#include "deviceoptions.h"

#include "blpmaster.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMutexLocker>
#include <QObject>
#include <QTextStream>

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define STDIN_FILENO 0
#define STDERR_FILENO 2
#else
#include <unistd.h>
#endif

namespace
{

struct DeviceOptionsText {
    Q_DECLARE_TR_FUNCTIONS(DeviceOptionsText)
};

constexpr int kBarWidth = 30;

bool g_traceFrames = false;
QtMessageHandler g_otherMessages = nullptr;

// Frame lines as they are, without the category in front; everything else as before.
void writeFrameLine(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (context.category && qstrcmp(context.category, "kdr.link.frames") == 0) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return;
    }
    g_otherMessages(type, context, text);
}

} // namespace

void traceLinkFrames()
{
    if (g_traceFrames)
        return;
    g_traceFrames = true;
    g_otherMessages = qInstallMessageHandler(writeFrameLine);
    QLoggingCategory::setFilterRules(QStringLiteral("kdr.link.frames.debug=true"));
}

bool linkFramesTraced()
{
    return g_traceFrames;
}

bool takeDeviceOptions(QStringList *args, DeviceOptions *options, QString *error, bool allowDevice)
{
    if (!takeDriverOptions(args, &options->driver, error))
        return false;
    QStringList rest;
    for (int i = 0; i < args->size(); ++i) {
        const QString &a = args->at(i);
        QString value;
        if (a == QLatin1String("--device")) {
            if (i + 1 >= args->size()) {
                *error = DeviceOptionsText::tr("--device needs a controller number");
                return false;
            }
            value = args->at(++i);
        } else if (a.startsWith(QLatin1String("--device="))) {
            value = a.mid(9);
        } else {
            rest.append(a);
            continue;
        }
        if (!allowDevice) {
            *error = DeviceOptionsText::tr("this command takes no --device");
            return false;
        }
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 1) {
            *error = DeviceOptionsText::tr("--device needs a controller number (1 or more), not "
                                           "'%1'")
                         .arg(value);
            return false;
        }
        options->device = n;
    }
    *args = rest;
    return true;
}

QString deviceOptionsHelp(bool withDevice)
{
    QString help = DeviceOptionsText::tr(
        "  --simulate      use the simulated demo controllers (no hardware needed)\n"
        "  --port PATH     this serial port is a controller, whatever its USB "
        "description\n"
        "  --backend NAME  serial, qtserial or d2xx (the FTDI D2XX driver library)\n"
        "  --d2xx-library PATH  the D2XX driver library to load\n"
        "  --verbose       print every frame to and from the controller on stderr\n");
    if (withDevice)
        help += DeviceOptionsText::tr(
            "  --device N      controller KDR-450P #N, as 'devices' and the window list it\n"
            "                  (default: #1)\n");
    return help;
}

bool installDeviceDriver(const DeviceOptions &options, QString *error)
{
    return installDriver(options.driver, error);
}

TerminalProgress::TerminalProgress(const QString &label) : m_label(label) {}

TerminalProgress::~TerminalProgress()
{
    finish();
}

bool TerminalProgress::shown()
{
    // The frame lines of --verbose would tear the bar apart.
    return isatty(STDERR_FILENO) == 1 && !linkFramesTraced();
}

void TerminalProgress::setPercent(int percent)
{
    if (!shown())
        return;
    percent = qBound(0, percent, 100);
    QMutexLocker locker(&m_mutex);
    if (m_finished || percent == m_last)
        return;
    m_last = percent;
    m_drawn = true;
    const int filled = percent * kBarWidth / 100;
    QTextStream out(stderr);
    out << '\r' << m_label << " [" << QString(filled, QLatin1Char('#'))
        << QString(kBarWidth - filled, QLatin1Char(' ')) << "] "
        << QString::number(percent).rightJustified(3) << " %";
    out.flush();
}

void TerminalProgress::follow(BLPMaster *master)
{
    QObject::disconnect(m_connection);
    m_connection = QObject::connect(
        master, &BLPMaster::sigTransferred, master,
        [this](uint percent) { setPercent(int(percent)); }, Qt::DirectConnection);
}

void TerminalProgress::finish()
{
    QObject::disconnect(m_connection);
    QMutexLocker locker(&m_mutex);
    if (m_drawn && !m_finished) {
        QTextStream out(stderr);
        out << '\n';
        out.flush();
    }
    m_finished = true;
}

QString versionText(int versionWord)
{
    return QStringLiteral("%1.%2").arg((versionWord >> 8) & 0xFF).arg(versionWord & 0xFF);
}
