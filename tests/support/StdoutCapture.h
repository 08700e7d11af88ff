#pragma once

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// Captures everything written to the process's standard output (file
// descriptor 1) while it lives, so tests can check diagnostic lines byte for
// byte.
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
        std::fflush(stdout);
        dup2(m_savedFd, STDOUT_FILENO);
        close(m_savedFd);
        close(m_fileFd);
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

private:
    int m_savedFd = -1;
    int m_fileFd = -1;
};
