#include "zeq_common_stable/Error.h"

Warnings::~Warnings() = default;

void Warnings::addWarningInternal(const QString &warning)
{
    m_warnings.append(warning);
}

void Warnings::addWarningsInternal(const QList<QString> &warnings)
{
    m_warnings.append(warnings);
}

void Warnings::clearWarningsInternal()
{
    m_warnings.clear();
}

void Warnings::resetWarningInternal(const QString &warning)
{
    m_warnings = { warning };
}

void Warnings::resetWarningsInternal(const QList<QString> &warnings)
{
    m_warnings = warnings;
}

Error::Error(ErrorCode code, const QString &message)
    : m_code(code)
    , m_messages{ message }
{
}

Error::~Error() = default;

Error &Error::operator=(ErrorCode code)
{
    return *this = Error(code);
}

Error &Error::setError(ErrorCode code)
{
    m_code = code;
    if (code == kNoErr) {
        m_messages.clear();
        m_catchPoints.clear();
    }
    return *this;
}

Error &Error::addErrorMessage(const QString &message)
{
    m_messages.append(message);
    return *this;
}

Error &Error::addWarning(const QString &warning)
{
    addWarningInternal(warning);
    return *this;
}

Error &Error::addWarnings(const QList<QString> &warnings)
{
    addWarningsInternal(warnings);
    return *this;
}

Error &Error::clearWarnings()
{
    clearWarningsInternal();
    return *this;
}

QString Error::errorString() const
{
    if (!m_messages.isEmpty()) {
        return m_messages.join(u'\n');
    }
    return hasError() ? codeToString(m_code) : QString();
}

Error &Error::ecatch(const char *function, const char *file, int line)
{
    if (m_catchPoints.size() < MaxCatchPoints) {
        m_catchPoints.append(CatchPoint{ function, file, line });
    }
    return *this;
}

QString Error::catchTrail() const
{
    QStringList lines;
    lines.reserve(m_catchPoints.size());
    for (const CatchPoint &point : m_catchPoints) {
        lines.append(QStringLiteral("%1:%2: %3")
                         .arg(QString::fromUtf8(point.file ? point.file : "?"))
                         .arg(point.line)
                         .arg(QString::fromUtf8(point.function ? point.function : "?")));
    }
    return lines.join(u'\n');
}

QString Error::codeToString(ErrorCode code)
{
    switch (code) {
    case kNoErr:
        return QStringLiteral("No error");
    case kError:
        return QStringLiteral("Error");
    case kBadParameterError:
        return QStringLiteral("Bad parameter");
    case kFileOpenError:
        return QStringLiteral("File could not be opened");
    case kOutOfRangeError:
        return QStringLiteral("Out of range");
    }
    return QStringLiteral("Error code %1").arg(static_cast<qint32>(code));
}

QDebug operator<<(QDebug debug, const Error &error)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "Error(" << Error::codeToString(error.code());
    if (!error.errorMessages().isEmpty()) {
        debug << ", " << error.errorMessages();
    }
    if (!error.catchPoints().isEmpty()) {
        debug << ", caught at " << error.catchPoints().constFirst().file << ':'
              << error.catchPoints().constFirst().line;
    }
    debug << ')';
    return debug;
}
