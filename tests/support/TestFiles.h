#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

namespace zeq::test
{

/// Writes `bytes` to `path`, replacing it, and returns the path.
inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    EXPECT_EQ(file.write(bytes), bytes.size()) << qPrintable(path);
    return path;
}

/// The bytes of the file at `path`; "<unreadable>" when it cannot be read.
inline QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

/// The file at `path` compressed by the system's gzip.
inline QByteArray gzipOf(const QString &path)
{
    QProcess gzip;
    gzip.setStandardInputFile(path);
    gzip.start(QStringLiteral("gzip"), { QStringLiteral("-c") });
    EXPECT_TRUE(gzip.waitForFinished() && gzip.exitCode() == 0) << qPrintable(path);
    return gzip.readAllStandardOutput();
}

} // namespace zeq::test
