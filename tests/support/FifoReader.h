#pragma once

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace zeq::test
{

/// Reads a FIFO on a thread of its own, as a pipeline's next program would, until finish().
class FifoReader
{
public:
    explicit FifoReader(const QString &path)
    {
        const QByteArray name = path.toLocal8Bit();
        // Both ends are opened here, so neither waits for the other; the kept write end holds off
        // the end of the stream until finish(), even when the writer never comes or the FIFO is
        // replaced by a file.
        m_read = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_keep = m_read < 0 ? -1 : ::open(name.constData(), O_WRONLY | O_CLOEXEC);
        if (m_keep >= 0 && ::fcntl(m_read, F_SETFL, 0) == 0) {
            m_thread = std::thread([this] { run(); });
        }
    }
    FifoReader(const FifoReader &) = delete;
    FifoReader &operator=(const FifoReader &) = delete;
    ~FifoReader() { (void)finish(); }

    /// False when the FIFO could not be opened: a writer would then wait for a reader for ever.
    [[nodiscard]] bool started() const noexcept { return m_thread.joinable(); }

    /// What the writers wrote; call once they are done.
    QByteArray finish()
    {
        if (m_keep >= 0) {
            ::close(m_keep);
            m_keep = -1;
        }
        if (m_thread.joinable()) {
            m_thread.join();
        }
        if (m_read >= 0) {
            ::close(m_read);
            m_read = -1;
        }
        return m_data;
    }

private:
    void run()
    {
        char buffer[4096];
        for (ssize_t n = 0; (n = ::read(m_read, buffer, sizeof buffer)) > 0;) {
            m_data.append(buffer, n);
        }
    }

    int m_read = -1;
    int m_keep = -1;
    QByteArray m_data;
    std::thread m_thread;
};

} // namespace zeq::test
