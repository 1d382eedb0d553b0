// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>

#include <sys/resource.h>

// A disk that fills up, without root or a mount: while this lives, no file of this process may
// grow beyond bytes, and a write past it fails (EFBIG) as a write onto a full disk fails.
class FileSizeLimit final
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes, m_saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    // For a child process (QProcess::setChildProcessModifier): the same limit there.
    static void applyInChild(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit current{};
        ::getrlimit(RLIMIT_FSIZE, &current);
        const rlimit limited{bytes, current.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }

private:
    rlimit m_saved{};
    void (*m_signal)(int) = nullptr;
};
