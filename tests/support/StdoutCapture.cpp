#include "StdoutCapture.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

StdoutCapture::StdoutCapture()
{
    std::fflush(stdout);
    char name[] = "/tmp/quillmere-stdout-XXXXXX";
    m_fileFd = mkstemp(name);
    unlink(name);
    m_savedFd = dup(STDOUT_FILENO);
    dup2(m_fileFd, STDOUT_FILENO);
}

StdoutCapture::~StdoutCapture()
{
    restore();
    if (m_fileFd >= 0)
        close(m_fileFd);
}

void StdoutCapture::restore()
{
    if (m_savedFd < 0)
        return;
    std::fflush(stdout);
    dup2(m_savedFd, STDOUT_FILENO);
    close(m_savedFd);
    m_savedFd = -1;
}

QByteArray StdoutCapture::text()
{
    std::fflush(stdout);
    QByteArray out;
    const off_t end = lseek(m_fileFd, 0, SEEK_END);
    out.resize(static_cast<qsizetype>(end));
    if (end > 0)
        pread(m_fileFd, out.data(), static_cast<size_t>(end), 0);
    return out;
}
