#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace zeq::test
{

/// Captures Qt log messages while alive, so a test can assert that a warning was (or was not)
/// emitted. Not reentrant: one guard at a time.
class MessageGuard
{
public:
    struct Message {
        QtMsgType type;
        QString category;
        QString text;
    };

    MessageGuard();
    ~MessageGuard();
    MessageGuard(const MessageGuard &) = delete;
    MessageGuard &operator=(const MessageGuard &) = delete;

    [[nodiscard]] const QList<Message> &messages() const;
    /// True when some captured message contains `text`.
    [[nodiscard]] bool contains(const QString &text) const;

private:
    QtMessageHandler m_previous;
};

} // namespace zeq::test
