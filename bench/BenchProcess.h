#pragma once

// What the benchmarks read about their own process: memory from the
// kernel's account and the processor time of every thread (the embedded
// database engine's included).

#include <QByteArray>
#include <QFile>
#include <QString>

#include <ctime>

namespace Bench
{
// A value of /proc/self/status ("VmRSS:", "VmHWM:") in MB; 0 where it
// cannot be read.
inline double StatusMb(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

// Resident memory in MB.
inline double ResidentMb()
{
    return StatusMb("VmRSS:");
}

// Processor time of the whole process in ms; steadier than the clock on a
// machine that does other work.
inline double CpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}
}
