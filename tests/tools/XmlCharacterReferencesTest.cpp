#include "XmlCharacterReferences.h"

#include <QBuffer>
#include <QTemporaryFile>

#include <gtest/gtest.h>

using namespace zeq::cli;

namespace
{

QByteArray decoded(const QByteArray &input, QString *error = nullptr)
{
    QByteArray source = input;
    QBuffer in(&source);
    QByteArray out;
    QBuffer to(&out);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly) && to.open(QIODevice::WriteOnly));
    const Error err = decodeNumericReferences(in, to, u"f.mzML"_qs);
    if (error) {
        *error = err.hasError() ? err.errorString() : QString();
    }
    return out;
}

} // namespace

TEST(XmlCharacterReferencesTest, DecodesEveryReferenceAndKeepsMarkupEscaped)
{
    const struct {
        const char *in;
        const char *out;
    } rows[] = {
        // The bytes saved come back after the next end or empty tag, whatever its quotes hold.
        { "<a b=\"x&#65;y>/\"><c/>z</a>", "<a b=\"xAy>/\"><c/>    z</a>" },
        { "<a b='&#8211;'></a><!-- -->", "<a b='\xE2\x80\x93'></a>    <!-- -->" },
        { "&#8211;&#x2013;&#X1F600;", "\xE2\x80\x93\xE2\x80\x93\xF0\x9F\x98\x80" },
        // Quotes are escaped only inside a value delimited by them; the byte that costs is taken
        // from the white space after the next end or empty tag, or from later savings.
        { "&#60;&#62;&#38;&#34;&#39;", "&lt;&gt;&amp;\"'" },
        { "<a x=\"&#34;\"/>\n<b/>", "<a x=\"&quot;\"/><b/>" },
        { "<a x=\"&#34;&#34;\"\n   y=\"1\"></a>", "<a x=\"&quot;&quot;\"\n y=\"1\"></a>" },
        { "<a x=\"&#34;&#8211;\" y='&#34;&#39;'/><b/>", "<a x=\"&quot;\xE2\x80\x93\" y='\"&apos;'/>      <b/>" },
        { "&amp;&lt;#65; & # &#0065;", "&amp;&lt;#65; & # A" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.in);
        EXPECT_EQ(decoded(row.in), QByteArray(row.out));
    }
    // References cut by the reading block's end, after '&' and inside the digits.
    for (const qsizetype before : { (1 << 20) - 1, (1 << 20) - 3 }) {
        const QByteArray text = QByteArray(before, 'x') + "&#8211;y";
        EXPECT_EQ(decoded(text), QByteArray(before, 'x') + "\xE2\x80\x93y") << before;
    }
    // A tag whose '<' ends the reading block.
    for (const QByteArray tag : { "</r>", "<!-- it's a comment --></r>" }) {
        const QByteArray start = "<r a='&#8211;'>";
        const QByteArray text = start + QByteArray((1 << 20) - 1 - start.size(), 'x') + tag;
        EXPECT_TRUE(decoded(text).endsWith(tag + "    ")) << tag.constData();
    }
}

TEST(XmlCharacterReferencesTest, RefusesReferencesToNoCharacterNamingTheByte)
{
    for (const char *bad :
         { "ab&#;", "ab&#0;", "ab&#xD800;", "ab&#x110000;", "ab&#12a;", "ab&#65", "ab&#99999999999999999;" }) {
        QString error;
        (void)decoded(bad, &error);
        EXPECT_TRUE(error.startsWith(u"f.mzML: byte 2: \"&#"_qs)) << bad << ": " << qPrintable(error);
    }
    // A quote escaped inside a value it delimits is a byte longer, and too little white space
    // follows before an element that an index points at.
    QString error;
    (void)decoded("<scan x=\"&#34;\"/><scan/>", &error);
    EXPECT_TRUE(error.startsWith(u"f.mzML: byte 9: \"&#34;\" "_qs)) << qPrintable(error);
}

TEST(XmlCharacterReferencesTest, FindsAReferenceOrANulByteAcrossTheScanningBlocks)
{
    const struct {
        QByteArray text;
        bool holds;
        const char *error;
    } rows[] = {
        { "&#65;", true, "" },
        { "&x#65;", false, "" },
        { QByteArray("a&#65;<b\0>", 10), false, "f.mzML: unreadable spectrum file: byte 4194311 is a NUL byte" },
    };
    for (const auto &row : rows) {
        QTemporaryFile file;
        ASSERT_TRUE(file.open());
        file.write(QByteArray((4 << 20) - 1, 'x') + row.text);
        file.close();
        const zeq::Result<bool> found = holdsNumericReference(file.fileName(), u"f.mzML"_qs);
        EXPECT_TRUE(found.hasError() ? found.error().errorString().startsWith(QString::fromUtf8(row.error))
                                     : found.value() == row.holds && !*row.error)
            << row.text.constData();
    }
}
