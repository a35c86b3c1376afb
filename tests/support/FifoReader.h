#pragma once

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace zeq::test
{

/// Reads a FIFO on a thread of its own, as a pipeline's next program would: whoever opens a FIFO
/// for writing waits until a reader has it open.
class FifoReader
{
public:
    explicit FifoReader(const QString &path)
        : m_path(path.toLocal8Bit())
        , m_thread([this] { run(); })
    {
    }
    FifoReader(const FifoReader &) = delete;
    FifoReader &operator=(const FifoReader &) = delete;
    ~FifoReader() { (void)finish(); }

    /// What the writers wrote, once they are done.
    QByteArray finish()
    {
        if (m_thread.joinable()) {
            // A writer that never came leaves the reader waiting in open(): come as one, empty.
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
            }
            m_thread.join();
        }
        return m_data;
    }

private:
    void run()
    {
        const int fd = ::open(m_path.constData(), O_RDONLY);
        if (fd < 0) {
            return;
        }
        char buffer[4096];
        for (ssize_t n = 0; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
            m_data.append(buffer, n);
        }
        ::close(fd);
    }

    QByteArray m_path;
    QByteArray m_data;
    std::thread m_thread;
};

} // namespace zeq::test
