#include "support/MessageGuard.h"

namespace zeq::test
{

namespace
{

QList<MessageGuard::Message> &captured()
{
    static QList<MessageGuard::Message> messages;
    return messages;
}

void capture(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    captured().append({ type, QString::fromUtf8(context.category ? context.category : ""), text });
}

} // namespace

MessageGuard::MessageGuard()
    : m_previous(qInstallMessageHandler(capture))
{
    captured().clear();
}

MessageGuard::~MessageGuard()
{
    qInstallMessageHandler(m_previous);
}

const QList<MessageGuard::Message> &MessageGuard::messages() const
{
    return captured();
}

bool MessageGuard::contains(const QString &text) const
{
    for (const Message &m : captured()) {
        if (m.text.contains(text)) {
            return true;
        }
    }
    return false;
}

} // namespace zeq::test
