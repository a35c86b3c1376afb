#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

#include <ostream>
#include <random>

/// Failed expectations on texts print them readably, with line breaks, tabs and quotes escaped and
/// other characters as UTF-8, instead of a dump of UTF-16 units.
inline void PrintTo(const QString &text, std::ostream *os)
{
    QString shown = text;
    shown.replace(u'\\', u"\\\\"_qs).replace(u'"', u"\\\""_qs);
    shown.replace(u'\r', u"\\r"_qs).replace(u'\n', u"\\n"_qs).replace(u'\t', u"\\t"_qs);
    shown.replace(QChar::ByteOrderMark, u"\\uFEFF"_qs);
    *os << '"' << shown.toStdString() << '"';
}

namespace zeq::test
{

/// Writes `bytes` to `path` as they are; false when the file cannot be written.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/// The whole file, or a null array when it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The names in `dir` other than `.` and `..`, sorted: what a failed save may have left behind.
inline QList<QString> entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

/// A text made of the pieces CSV gets wrong: separators, quotes, each kind of line break,
/// blanks at either end, non-ASCII letters, a character outside the BMP, a byte-order mark.
inline QString trickyText(std::mt19937 &rng)
{
    static const QList<QString> pieces = { u"a"_qs,    u"Pep"_qs,  u","_qs,      u";"_qs,   u"\t"_qs, u"\""_qs,
                                           u"\"\""_qs, u" "_qs,    u"\r\n"_qs,   u"\n"_qs,  u"\r"_qs, u"é"_qs,
                                           u"日本"_qs, u"🧪"_qs, u"\uFEFF"_qs, u"12.5"_qs };
    std::uniform_int_distribution<int> count(0, 5);
    std::uniform_int_distribution<int> piece(0, int(pieces.size()) - 1);
    QString text;
    for (int n = count(rng); n > 0; --n) {
        text += pieces.at(piece(rng));
    }
    return text;
}

} // namespace zeq::test
