#pragma once

#include <csignal>
#include <sys/resource.h>

namespace zeq::test
{

// While alive, no file of this process grows beyond `bytes`: a write stops half-way as on a full
// disk, for root too (a read-only folder does not stop root). SIGXFSZ is ignored meanwhile, so the
// write fails with EFBIG instead of killing the test.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_active = getrlimit(RLIMIT_FSIZE, &m_previous) == 0;
        m_previousSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_previous;
        small.rlim_cur = bytes;
        m_active = m_active && setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_active) {
            setrlimit(RLIMIT_FSIZE, &m_previous);
        }
        std::signal(SIGXFSZ, m_previousSignal);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    [[nodiscard]] bool active() const { return m_active; }

private:
    rlimit m_previous{};
    void (*m_previousSignal)(int) = nullptr;
    bool m_active = false;
};

} // namespace zeq::test
