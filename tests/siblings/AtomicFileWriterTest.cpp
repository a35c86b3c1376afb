#include "zeq_common_stable/AtomicFileWriter.h"

#include "support/FifoReader.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "zeq_common_stable/FileUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

using zeq::test::fileContents;
using zeq::test::writeFile;

namespace
{

bool isFifo(const QString &path)
{
    struct stat info {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

} // namespace

TEST(AtomicFileWriterTest, LinksAreFollowedAndSpecialFilesWrittenInPlace)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = writeFile(dir.filePath(u"target.txt"_qs), "earlier");
    ASSERT_TRUE(QFile::link(u"target.txt"_qs, dir.filePath(u"link"_qs)));
    ASSERT_TRUE(QFile::link(u"link"_qs, dir.filePath(u"link-to-link"_qs)));
    ASSERT_TRUE(QFile::link(u"made-through-link.txt"_qs, dir.filePath(u"dangling"_qs)));
    const QString fifo = dir.filePath(u"fifo"_qs);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    const struct {
        const char *name;
        QString path;
        QString writtenAt; ///< where the content lands, to be read back; empty for a device
    } rows[] = {
        { "new file", dir.filePath(u"new.txt"_qs), dir.filePath(u"new.txt"_qs) },
        { "regular file", target, target },
        { "link", dir.filePath(u"link"_qs), target },
        { "link to a link", dir.filePath(u"link-to-link"_qs), target },
        { "dangling link", dir.filePath(u"dangling"_qs), dir.filePath(u"made-through-link.txt"_qs) },
        { "fifo", fifo, fifo },
        { "device", u"/dev/null"_qs, QString() },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QByteArray content = QByteArray("content for ") + row.name;
        std::optional<zeq::test::FifoReader> reader;
        if (row.path == fifo) {
            reader.emplace(fifo);
            ASSERT_TRUE(reader->started());
        }
        // A device is not held to the size limit of files: a writer that wrongly replaces it fails
        // here rather than, run by root, destroy /dev/null.
        std::optional<zeq::test::FileSizeLimit> limit;
        if (row.writtenAt.isEmpty()) {
            limit.emplace(1);
            ASSERT_TRUE(limit->active());
        }
        const Error err = FileUtils::writeToFile(row.path, content);
        limit.reset();
        EXPECT_FALSE(err.hasError()) << qPrintable(err.errorString());
        if (reader) {
            EXPECT_EQ(reader->finish(), content);
        } else if (!row.writtenAt.isEmpty()) {
            EXPECT_EQ(fileContents(row.writtenAt), content);
        }
    }
    // The links are still links, to the same names, and the FIFO is still a FIFO.
    EXPECT_EQ(QFileInfo(dir.filePath(u"link"_qs)).symLinkTarget(), target);
    EXPECT_EQ(QFileInfo(dir.filePath(u"link-to-link"_qs)).symLinkTarget(), dir.filePath(u"link"_qs));
    EXPECT_TRUE(QFileInfo(dir.filePath(u"dangling"_qs)).isSymLink());
    EXPECT_TRUE(isFifo(fifo));
}

TEST(AtomicFileWriterTest, DescriptorLinksWriteThroughTheDescriptor)
{
    // As a shell's ">>" leaves standard output: the earlier content must stay, the new one follow it.
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath(u"log.txt"_qs), "earlier\n");
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    QByteArray expected = "earlier\n";
    for (const QString &link : { u"/dev/fd/%1"_qs, u"/proc/self/fd/%1"_qs }) {
        const QString linkName = link.arg(fd);
        const Error err = FileUtils::writeToFile(linkName, linkName.toUtf8() + '\n');
        EXPECT_FALSE(err.hasError()) << qPrintable(err.errorString());
        expected += linkName.toUtf8() + '\n';
    }

    // Descriptors the process opened itself (close-on-exec, as a database's), or that can't be
    // written, are refused rather than written into.
    const int own = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    const int readOnly = ::open(name.constData(), O_RDONLY);
    ::close(fd);
    ASSERT_GE(own, 0);
    ASSERT_GE(readOnly, 0);
    for (const int refused : { own, readOnly, fd }) {
        SCOPED_TRACE(refused);
        const QString link = u"/dev/fd/%1"_qs.arg(refused);
        const Error err = FileUtils::writeToFile(link, "overwritten");
        EXPECT_EQ(err.code(), kFileOpenError);
        EXPECT_EQ(err.errorString(), u"Can't write %1: descriptor %2 is not open for writing"_qs.arg(link).arg(refused))
            << qPrintable(err.errorString());
    }
    ::close(own);
    ::close(readOnly);
    EXPECT_EQ(fileContents(path), expected);
}

TEST(AtomicFileWriterTest, OnlyAnEmptyNameIsRefusedAndAFailedOpenIsNotAFailedWrite)
{
    QTemporaryDir dir;
    EXPECT_EQ(FileUtils::writeToFile(QString(), "x").code(), kBadParameterError);
    // A name of one blank is a name.
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const Error blank = FileUtils::writeToFile(u" "_qs, "x");
    QDir::setCurrent(current);
    EXPECT_FALSE(blank.hasError()) << qPrintable(blank.errorString());
    EXPECT_EQ(fileContents(dir.filePath(u" "_qs)), "x");

    AtomicFileWriter writer(dir.filePath(u"no/such/folder/out.txt"_qs));
    EXPECT_EQ(writer.open().code(), kFileOpenError);
    EXPECT_TRUE(writer.commit().errorString().endsWith(u"it is not open"_qs));
}

TEST(AtomicFileWriterTest, FailuresLeaveTheTargetAsItWas)
{
    QTemporaryDir dir;
    const QString target = writeFile(dir.filePath(u"target.txt"_qs), "earlier");
    ASSERT_TRUE(QFile::link(u"target.txt"_qs, dir.filePath(u"link"_qs)));
    ASSERT_TRUE(QFile::link(u"loop"_qs, dir.filePath(u"loop"_qs)));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);

    const struct {
        const char *name;
        QString path;
        ErrorCode code;
        const char *reason;
    } rows[] = {
        { "folder", dir.path(), kFileOpenError, "it is a folder" },
        { "link loop", dir.filePath(u"loop"_qs), kFileOpenError, "too many levels of symbolic links" },
        { "full device", u"/dev/full"_qs, kError, "No space left on device" },
        { "cut short through a link", dir.filePath(u"link"_qs), kError, "File too large" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const zeq::test::FileSizeLimit limit(4);
        ASSERT_TRUE(limit.active());
        const Error err = FileUtils::writeToFile(row.path, QByteArray(100, 'x'));
        EXPECT_EQ(err.code(), row.code);
        EXPECT_TRUE(err.errorString().startsWith(QStringLiteral("Can't write %1: ").arg(row.path)));
        EXPECT_TRUE(err.errorString().contains(QString::fromUtf8(row.reason))) << qPrintable(err.errorString());
    }
    // Nor does a writer destroyed before its commit.
    {
        AtomicFileWriter writer(target);
        ASSERT_FALSE(writer.open().hasError());
        ASSERT_FALSE(writer.write("new").hasError());
    }
    EXPECT_EQ(fileContents(target), "earlier");
    EXPECT_TRUE(QFileInfo(dir.filePath(u"link"_qs)).isSymLink());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden), before);
}
