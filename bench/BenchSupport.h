#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Small helpers shared by the benchmarks: medians, and turning the event loop
// until a condition holds.
namespace BenchSupport {

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

// Processes events until the condition holds or the limit passes; returns
// whether it held.
inline bool spinUntil(const std::function<bool()> &condition, int limitMs = 120000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

inline void printMachine()
{
    std::printf("machine: %s, %d logical cores, Qt %s\n", qPrintable(QSysInfo::prettyProductName()),
                QThread::idealThreadCount(), qVersion());
}

} // namespace BenchSupport
