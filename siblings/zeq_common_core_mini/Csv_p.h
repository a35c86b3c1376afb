#pragma once

#include <QChar>
#include <QString>

// Shared by the CSV reader and writer.

/// The text scanners work on bytes: a separator is one ASCII character, and never one that quoting
/// or line ends give a meaning to.
inline bool canSeparateCsvFields(QChar separator)
{
    const char16_t c = separator.unicode();
    return c != 0 && c <= 0x7f && c != u'"' && c != u'\r' && c != u'\n';
}

inline QString cannotSeparateMessage(const QString &action, const QString &path, QChar separator)
{
    return QStringLiteral("%1 %2: U+%3 cannot separate CSV fields")
        .arg(action, path)
        .arg(uint(separator.unicode()), 4, 16, QLatin1Char('0'));
}
