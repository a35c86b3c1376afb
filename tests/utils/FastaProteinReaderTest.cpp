#include "utils/FastaProteinReader.h"

#include "support/TestFiles.h"

#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

QByteArray encoded(QStringConverter::Encoding encoding, const QString &text)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

struct Read {
    Error err;
    QStringList proteins; // name, sequence and header line
};

Read readAll(const QString &path)
{
    Read read;
    zeq::FastaProteinReader reader;
    read.err = reader.open(path);
    FastaEntry entry;
    while (!read.err.hasError() && reader.next(&entry)) {
        read.proteins.append(u"%1/%2/%3"_qs.arg(entry.name, entry.sequence).arg(entry.headerLine));
    }
    if (!read.err.hasError()) {
        read.err = reader.error();
    }
    return read;
}

} // namespace

TEST(FastaProteinReaderTest, DecodesEveryEncodingWithTheFilesLineNumbers)
{
    QTemporaryDir dir;
    const QString text = u"\n>caf\u00e9\r\nWY\n>P2\nKL\n"_qs;
    const QString bad = u">P1\nWY\n>P2\nA\u0000C\n"_qs;
    const struct {
        const char *name;
        QByteArray bytes;
        QString result; // the proteins, or the start of the error after the path
    } rows[] = {
        { "UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + text.toUtf8(), u"caf\u00e9/WY/2 P2/KL/4"_qs },
        { "Latin-1", text.toLatin1(), u"caf\u00e9/WY/2 P2/KL/4"_qs },
        { "UTF-16 LE", encoded(QStringConverter::Utf16LE, text), u"caf\u00e9/WY/2 P2/KL/4"_qs },
        { "UTF-16 BE", encoded(QStringConverter::Utf16BE, text), u"caf\u00e9/WY/2 P2/KL/4"_qs },
        // The protein before the malformed line was handed out already.
        { "malformed line in UTF-16", encoded(QStringConverter::Utf16LE, bad), u" line 4: binary data"_qs },
        { "odd UTF-16", encoded(QStringConverter::Utf16LE, text) + 'x', u" is not valid UTF-16"_qs },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = zeq::test::writeFile(dir.filePath(u"in.fasta"_qs), row.bytes);
        const Read read = readAll(path);
        if (row.result.startsWith(u' ')) {
            EXPECT_TRUE(read.err.errorString().startsWith(path + row.result)) << qPrintable(read.err.errorString());
        } else {
            ASSERT_FALSE(read.err.hasError()) << qPrintable(read.err.errorString());
            EXPECT_EQ(read.proteins.join(u' '), row.result);
        }
    }
}
