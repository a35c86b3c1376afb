#pragma once

#include "utils/ProgressBarInterface.h"
#include "zeq_common_core_export.h"

#include <QString>

/// A progress indicator for console programs: "Downloading" and then one dot per update on
/// standard output.
class ZEQ_COMMON_CORE_EXPORT TextProgressBar : public zeq::ProgressBarInterface
{
public:
    /// `total` is -1 when unknown.
    void setStatus(qint64 done, qint64 total);
    void setMessage(const QString &message);
    /// Writes "Downloading" on the first call after clear(), "." on later ones.
    void update();
    /// Ends the line and starts over: done 0, total unknown, no updates.
    void clear();
    void refresh() override { update(); }

    [[nodiscard]] qint64 done() const noexcept { return m_done; }
    [[nodiscard]] qint64 total() const noexcept { return m_total; }
    [[nodiscard]] const QString &message() const noexcept { return m_message; }
    [[nodiscard]] int updateCount() const noexcept { return m_updates; }

private:
    qint64 m_done = 0;
    qint64 m_total = -1;
    QString m_message;
    int m_updates = 0;
};
