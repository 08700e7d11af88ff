#pragma once

#include <QByteArray>

// Captures everything written to the process's standard output (file
// descriptor 1) while it lives, so tests can check diagnostic lines byte for
// byte.
class StdoutCapture
{
public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture &) = delete;
    StdoutCapture &operator=(const StdoutCapture &) = delete;

    // What has been written so far.
    QByteArray text();

private:
    void restore();

    int m_savedFd = -1;
    int m_fileFd = -1;
};
