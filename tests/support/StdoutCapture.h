#pragma once

#include <QByteArray>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// Captures everything written to the process's standard output (file
// descriptor 1) until stop() or its end, so tests can check diagnostic lines
// byte for byte.
//
// QtTest writes its own messages to standard output too, so a comparison
// made while capturing would fail without a word: stop() first, then compare.
// Should a test fail all the same while capturing, what was captured
// (QtTest's message with it) is written out when the capture ends.
class StdoutCapture
{
public:
    StdoutCapture()
    {
        std::fflush(stdout);
        char name[] = "/tmp/quillmere-stdout-XXXXXX";
        m_fileFd = mkstemp(name);
        unlink(name);
        m_savedFd = dup(STDOUT_FILENO);
        dup2(m_fileFd, STDOUT_FILENO);
    }
    ~StdoutCapture()
    {
        if (m_savedFd < 0)
            return;
        const bool failed = QTest::currentTestFailed();
        const QByteArray captured = stop();
        if (failed && !captured.isEmpty()) {
            std::fwrite(captured.constData(), 1, size_t(captured.size()), stdout);
            std::fflush(stdout);
        }
    }
    StdoutCapture(const StdoutCapture &) = delete;
    StdoutCapture &operator=(const StdoutCapture &) = delete;

    // What has been written so far.
    QByteArray text()
    {
        std::fflush(stdout);
        QByteArray out(static_cast<qsizetype>(lseek(m_fileFd, 0, SEEK_END)), Qt::Uninitialized);
        if (!out.isEmpty() && pread(m_fileFd, out.data(), static_cast<size_t>(out.size()), 0) != out.size())
            out.clear();
        return out;
    }

    // Ends the capture (standard output goes where it went before) and
    // gives everything written meanwhile.
    QByteArray stop()
    {
        if (m_savedFd < 0)
            return {};
        const QByteArray out = text();
        dup2(m_savedFd, STDOUT_FILENO);
        close(m_savedFd);
        close(m_fileFd);
        m_savedFd = m_fileFd = -1;
        return out;
    }

private:
    int m_savedFd = -1;
    int m_fileFd = -1;
};
