#pragma once

#include "zeq_common_core_export.h"

#include <QString>

namespace zeq
{

/// Tells an application whether another instance with the same name is already running. The
/// first instance holds a system lock named after `name` for as long as this object lives; the
/// operating system releases it when the process ends, however it ends, so a crashed instance
/// never blocks the next start. A second object with the same name reports the first even inside
/// one process.
class ZEQ_COMMON_CORE_EXPORT SingleAppInstance
{
public:
    explicit SingleAppInstance(const QString &name);
    ~SingleAppInstance();
    SingleAppInstance(const SingleAppInstance &) = delete;
    SingleAppInstance &operator=(const SingleAppInstance &) = delete;

    /// False also when the lock could not be set up at all (see lastError): an application that
    /// cannot tell should start rather than refuse to.
    [[nodiscard]] bool isAnotherInstanceRunning() const noexcept { return m_anotherRunning; }
    /// The system error recorded when the lock was taken; 0 when it was taken cleanly.
    [[nodiscard]] int lastError() const noexcept { return m_error; }

private:
#ifdef Q_OS_WIN
    void *m_handle = nullptr;
#else
    int m_fd = -1;
#endif
    int m_error = 0;
    bool m_anotherRunning = false;
};

} // namespace zeq
