// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Timing and memory figures shared by the benchmarks.

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

namespace corvanteller::bench {

struct Timing {
    double min = 0;
    double median = 0;
    double cpuMedian = 0; // the process's own processor time: what the machine's load leaves out
};

inline double processorMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs the work the given number of rounds, each after its preparation, which is not timed.
inline Timing timeIt(int rounds, const std::function<void()>& prepare,
                     const std::function<void()>& work) {
    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        QElapsedTimer timer;
        const double cpuStart = processorMs();
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        cpuTimes.push_back(processorMs() - cpuStart);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    return {times.front(), times[times.size() / 2], cpuTimes[cpuTimes.size() / 2]};
}

inline Timing timeIt(int rounds, const std::function<void()>& work) {
    return timeIt(
        rounds, [] {}, work);
}

// The process's peak resident memory in KiB; -1 when it cannot be read.
inline long peakMemoryKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

} // namespace corvanteller::bench
