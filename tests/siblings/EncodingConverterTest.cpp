#include "zeq_qt_shared_libs_core/EncodingConverter.h"

#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

const QByteArray kUtf8Text = ">caf\xC3\xA9 \xE2\x82\xAC\r\nMK\n"; // ">café €", CRLF kept

QByteArray utf16(const QByteArray &utf8, bool littleEndian)
{
    const QString text = QString::fromUtf8(utf8);
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF);
        const char high = char(c.unicode() >> 8);
        bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return bytes;
}

class EncodingConverterTest : public ::testing::Test
{
protected:
    QString write(const QByteArray &bytes)
    {
        return zeq::test::writeFile(m_dir.filePath(QStringLiteral("in%1.txt").arg(++m_count)), bytes);
    }

    QTemporaryDir m_dir;
    int m_count = 0;
};

TEST_F(EncodingConverterTest, DetectsAndConverts)
{
    // A two- and a three-byte character straddling the 1 MiB block boundary of the UTF-8 check.
    QByteArray straddling(1024 * 1024 - 1, 'A');
    straddling += "\xC3\xA9";
    straddling += QByteArray(1024 * 1024 - 2, 'C');
    straddling += "\xE2\x82\xAC\n";
    const struct {
        const char *name;
        QByteArray bytes;
        const char *source;
        QByteArray utf8; // empty: the original file is read
    } rows[] = {
        { "UTF-8", kUtf8Text, "UTF-8", {} },
        { "UTF-8 across blocks", straddling, "UTF-8", {} },
        { "UTF-16 LE", utf16(kUtf8Text, true), "UTF-16LE", kUtf8Text },
        { "Latin-1", ">caf\xE9\r\nMK\n", "ISO-8859-1", kUtf8Text.left(6) + "\r\nMK\n" },
        { "truncated UTF-8 is Latin-1", "AB\xE2\x82", "ISO-8859-1", "AB\xC3\xA2\xC2\x82" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = write(row.bytes);
        QString copy;
        {
            EncodingConverter converter(path, "UTF-8");
            ASSERT_TRUE(converter.convertEncoding()) << qPrintable(converter.errorString());
            EXPECT_EQ(converter.sourceEncoding(), row.source);
            copy = converter.outputFileName();
            if (row.utf8.isEmpty()) {
                EXPECT_EQ(copy, path);
            } else {
                EXPECT_NE(copy, path);
                EXPECT_EQ(zeq::test::fileContents(copy), row.utf8);
            }
        }
        EXPECT_EQ(QFile::exists(copy), row.utf8.isEmpty()) << "the copy goes with the converter";
    }
}

TEST_F(EncodingConverterTest, UndecodableFilesFail)
{
    QByteArray loneHigh = utf16(">A\n", true);
    loneHigh += QByteArray("\x3D\xD8", 2);
    const struct {
        const char *name;
        QString path;
        const char *reason;
    } rows[] = {
        { "missing", m_dir.filePath(u"missing.txt"_qs), "Can't open" },
        { "binary", write(QByteArray("\x89PNG\r\n\x1A\n\0\0", 10)), "is not text: byte 0x1a at offset 6" },
        { "UTF-16 of odd size", write(utf16(">A\n", true) + 'x'), "size is odd" },
        { "UTF-16 ending in a high surrogate", write(loneHigh), "ends in a lone surrogate" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EncodingConverter converter(row.path, "UTF-8");
        EXPECT_FALSE(converter.convertEncoding());
        EXPECT_TRUE(converter.errorString().contains(QLatin1StringView(row.reason)))
            << qPrintable(converter.errorString());
    }
    EncodingConverter toLatin1(write("A"), "ISO-8859-1");
    EXPECT_FALSE(toLatin1.convertEncoding());
    EXPECT_TRUE(toLatin1.errorString().contains(u"only UTF-8"_qs));
}

} // namespace
