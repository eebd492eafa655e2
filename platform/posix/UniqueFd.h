#pragma once

#include <unistd.h>

// Owns a POSIX file descriptor; -1 holds none.
class TUniqueFd
{
public:
    TUniqueFd() = default;
    explicit TUniqueFd(int fd)
        : m_fd(fd)
    { }
    TUniqueFd(TUniqueFd&& other) noexcept
        : m_fd(other.m_fd)
    {
        other.m_fd = -1;
    }
    TUniqueFd& operator=(TUniqueFd&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_fd = other.m_fd;
            other.m_fd = -1;
        }
        return *this;
    }
    TUniqueFd(const TUniqueFd&) = delete;
    TUniqueFd& operator=(const TUniqueFd&) = delete;
    ~TUniqueFd() { Reset(); }

    int Get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }

private:
    void Reset()
    {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = -1;
    }

    int m_fd = -1;
};
