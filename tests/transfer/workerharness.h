#pragma once

#include "testdefinitions.h"
#include "threadend.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <memory>
#include <vector>

// Spies on every terminal signal of one worker, so a test can check that exactly one came.
class TerminalSignals
{
public:
    TerminalSignals(QObject *worker, std::initializer_list<const char *> signatures)
        : TerminalSignals(worker, QList<const char *>(signatures))
    {
    }
    TerminalSignals(QObject *worker, const QList<const char *> &signatures)
    {
        for (const char *s : signatures)
            m_spies.push_back(std::make_unique<QSignalSpy>(worker, s));
    }
    int total() const
    {
        int n = 0;
        for (const auto &spy : m_spies)
            n += int(spy->count());
        return n;
    }
    // The name of the one signal that came, or a description of what went wrong.
    QByteArray only() const
    {
        if (total() != 1)
            return "terminal signals: " + QByteArray::number(total());
        for (const auto &spy : m_spies)
            if (spy->count() == 1)
                return spy->signal().left(spy->signal().indexOf('('));
        return {};
    }

private:
    std::vector<std::unique_ptr<QSignalSpy>> m_spies;
};

// Through the worker's own start(), which begins a run.
template <typename Worker> bool runToEnd(Worker *worker, int timeoutMs = 20000)
{
    ThreadEnd end(worker);
    worker->start();
    return end.wait(timeoutMs);
}

inline QList<uint> uintArgs(const QSignalSpy &spy)
{
    QList<uint> values;
    for (const QList<QVariant> &args : spy)
        values.append(args.at(0).toUInt());
    return values;
}
