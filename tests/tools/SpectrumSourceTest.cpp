// Runs zeq on spectrum files that the reader library gets wrong or that carry unusual numbers:
// impossible m/z values, scan numbers past 32 bits or only in an MGF's SCANS= or TITLE, and numeric
// character references in mzML and mzXML.
#include "support/SpectrumFileWriter.h"
#include "support/TestFiles.h"
#include "support/ZeqRun.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zeq::test;

namespace
{

/// The spectrum_id and scan columns of deisotope's CSV rows, one distinct pair a line.
QString idsAndScans(const QString &csv)
{
    QStringList pairs;
    for (const QString &row : csv.split(u'\n', Qt::SkipEmptyParts).mid(1)) {
        const QString pair = row.section(u',', 1, 2);
        if (!pairs.contains(pair)) {
            pairs.append(pair);
        }
    }
    return pairs.join(u'\n');
}

Outcome deisotope(const QStringList &args)
{
    return runZeq(
        QStringList{
            u"deisotope"_qs, u"--ms-level"_qs, u"all"_qs, u"--min-isotopes"_qs, u"1"_qs, u"--format"_qs, u"csv"_qs }
        + args);
}

/// Three MS1 spectra, scans 1 to 3, of two peaks each.
QList<SpectrumToWrite> threeSpectra()
{
    QList<SpectrumToWrite> spectra(3);
    for (int i = 0; i < 3; ++i) {
        spectra[i] = { i + 1, 1, 1.0 + i, {}, 1.5, { { 400.0 + i, 100.0 }, { 400.5 + i, 60.0 } } };
    }
    return spectra;
}

} // namespace

TEST(SpectrumSourceTest, SpectraWithImpossibleNumbersAreSkippedWithOneWarningEach)
{
    QTemporaryDir dir;
    QList<SpectrumToWrite> spectra = threeSpectra();
    // What a file written with the wrong byte order reads as.
    spectra[1].points[1].setX(-1.2e27);
    const QString file = dir.filePath(u"run.mzML"_qs);
    ASSERT_EQ(writeSpectrumFile(file, SpectrumFileKind::MzML64Zlib, spectra), QString());
    const QString warning = u"zeq: warning: "_qs + file
        + u": spectrum scan=2 skipped: m/z -1.2e+27 is not a finite, non-negative number\n"_qs;

    const Outcome found = deisotope({ file });
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(idsAndScans(found.out), u"scan=1,1\nscan=3,3"_qs);
    EXPECT_TRUE(found.err.startsWith(warning + u"zeq: 2 spectra, "_qs)) << qPrintable(found.err);
    EXPECT_TRUE(found.err.endsWith(u"; 1 skipped (see the warnings)\n"_qs)) << qPrintable(found.err);

    const Outcome summed = runZeq({ u"sum"_qs, file });
    EXPECT_EQ(summed.err, warning + u"zeq: 2 spectra, 4 points summed into 4 peaks; 1 skipped (see the warnings)\n"_qs);

    // A peak list is one MS1 spectrum: not asked for, it is not looked at.
    const QString peaks = writeFile(dir.filePath(u"peaks.txt"_qs), "-5 10\n400 100\n");
    const Outcome ms2 = runZeq({ u"deisotope"_qs, u"--ms-level"_qs, u"2"_qs, peaks });
    EXPECT_TRUE(ms2.err.startsWith(u"zeq: 0 spectra"_qs)) << qPrintable(ms2.err);
}

TEST(SpectrumSourceTest, AnMs2SpectrumAfterASkippedMs1SpectrumHasNoPrecursorSearch)
{
    QTemporaryDir dir;
    QList<SpectrumToWrite> spectra = threeSpectra();
    spectra[1].points[1].setX(-1.2e27);
    // Searched in scan 1, its window would hold a cluster.
    spectra[2] = { 3, 2, 3.0, 400.25, 1.5, { { 200.0, 10.0 } } };
    const QString file = dir.filePath(u"run.mzML"_qs);
    ASSERT_EQ(writeSpectrumFile(file, SpectrumFileKind::MzML64Zlib, spectra), QString());

    const Outcome found = runZeq({ u"deisotope"_qs, u"--precursor"_qs, u"--min-isotopes"_qs, u"1"_qs, file });
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_TRUE(found.err.contains(u"spectrum scan=3 skipped: no MS1 spectrum before it"_qs)) << qPrintable(found.err);
    EXPECT_TRUE(found.err.contains(u"zeq: 0 spectra, 0 windows, 0 clusters"_qs)) << qPrintable(found.err);
}

TEST(SpectrumSourceTest, ScanNumbersAreSixtyFourBitAndReadFromMgfScansAndTitles)
{
    QTemporaryDir dir;
    const QString mzML = dir.filePath(u"run.mzML"_qs);
    ASSERT_EQ(writeSpectrumFile(mzML, SpectrumFileKind::MzMLUnindexed, threeSpectra()), QString());
    writeFile(mzML, fileContents(mzML).replace("id=\"scan=2\"", "id=\"scan=99999999999999\""));
    const Outcome big = deisotope({ mzML });
    EXPECT_EQ(idsAndScans(big.out), u"scan=1,1\nscan=99999999999999,99999999999999\nscan=3,3"_qs)
        << qPrintable(big.err);
    writeFile(mzML, fileContents(mzML).replace("id=\"scan=3\"", "id=\"scan=99999999999999999999\""));
    EXPECT_EQ(deisotope({ mzML }).err,
              u"zeq: "_qs + mzML + u": spectrum scan=99999999999999999999: its scan number does not fit 64 bits\n"_qs);

    QByteArray mgf;
    for (const char *header : { "SCANS=99999999999999\nTITLE=run.4.4.2",
                                "TITLE=spectrum scan=7 of run",
                                "TITLE=run.9.9.2",
                                "TITLE=no number" }) {
        mgf += QByteArray("BEGIN IONS\n") + header + "\nPEPMASS=500.5\n400 100\n400.5 60\nEND IONS\n";
    }
    const QString file = writeFile(dir.filePath(u"run.mgf"_qs), mgf);
    EXPECT_EQ(idsAndScans(deisotope({ file }).out), u"index=0,99999999999999\nindex=1,7\nindex=2,9\nindex=3,"_qs);
    EXPECT_EQ(idsAndScans(deisotope({ file, u"--scan"_qs, u"7"_qs }).out), u"index=1,7"_qs);
}

TEST(SpectrumSourceTest, NumericCharacterReferencesAreDecodedBeforeTheReaderSeesThem)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.mzML"_qs);
    ASSERT_EQ(writeSpectrumFile(plain, SpectrumFileKind::MzML64Zlib, threeSpectra()), QString());
    const QString mzXML = dir.filePath(u"plain.mzXML"_qs);
    ASSERT_EQ(writeSpectrumFile(mzXML, SpectrumFileKind::MzXML, threeSpectra()), QString());
    const Outcome reference = deisotope({ plain });
    ASSERT_EQ(idsAndScans(reference.out), u"scan=1,1\nscan=2,2\nscan=3,3"_qs);

    const struct {
        const char *name;
        QString source;
        QList<std::pair<QByteArray, QByteArray>> edits;
        const char *idsAndScans; ///< or, when the exit status is 1, the error
    } rows[] = {
        // The reader refuses a character above U+00FF, and reads past its buffer on any reference.
        { "an en dash in an indexed mzML",
          plain,
          { { "\"scan=2\"", "\"scan=2 note=a&#8211;b\"" } },
          "scan=1,1\nscan=2 note=a–b,2\nscan=3,3" },
        { "markup characters",
          plain,
          { { "\"scan=3\"", "\"scan=3 note=&#x3C;&#38;\"" } },
          "scan=1,1\nscan=2,2\nscan=3 note=<&,3" },
        { "a reference in an mzXML attribute",
          mzXML,
          { { "scanType=\"Full\"", "scanType=\"Full&#8211;scan\"" } },
          "scan=1,1\nscan=2,2\nscan=3,3" },
        // Escaped inside its quotes, a quote is a byte longer: taken from the white space after it.
        { "a quote in the first scan of an mzXML",
          mzXML,
          { { "<scan num=\"1\"", "<scan num=\"1\" filterLine=\"" + QByteArray("&#34;").repeated(16) + "\"" } },
          "scan=1,1\nscan=2,2\nscan=3,3" },
        { "a native id the reader cannot split",
          plain,
          { { "\"scan=1\"", "\"scan=1 &#65;\"" } },
          "unreadable spectrum file: Bad format: A" },
        { "a reference to no character",
          plain,
          { { "\"scan=1\"", "\"scan=1&#xD800;\"" } },
          "byte [0-9]+: \"&#xD800\" is not a character reference to an XML character" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray bytes = fileContents(row.source);
        for (const auto &[from, to] : row.edits) {
            bytes.replace(from, to);
        }
        const QString file = writeFile(dir.filePath(u"edited."_qs) + QFileInfo(row.source).suffix(), bytes);
        const Outcome result = deisotope({ file });
        if (QString::fromUtf8(row.idsAndScans).startsWith(u"scan"_qs)) {
            EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
            EXPECT_EQ(idsAndScans(result.out), QString::fromUtf8(row.idsAndScans));
        } else {
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_TRUE(QRegularExpression(QString::fromUtf8(row.idsAndScans)).match(result.err).hasMatch())
                << qPrintable(result.err);
        }
    }
}

TEST(SpectrumSourceTest, AnIndexThatMissesSpectraIsIgnoredWithOneWarning)
{
    QTemporaryDir dir;
    const QString indexed = dir.filePath(u"indexed.mzML"_qs);
    ASSERT_EQ(writeSpectrumFile(indexed, SpectrumFileKind::MzML64Zlib, threeSpectra()), QString());
    const QByteArray bytes = fileContents(indexed);
    const QByteArray withoutScan2 =
        QString::fromUtf8(bytes).remove(QRegularExpression(u"\\s*<offset idRef=\"scan=2\">\\d+</offset>"_qs)).toUtf8();
    ASSERT_NE(withoutScan2, bytes);
    // As a tool that rewrites the file without its index leaves it; the reader finds its spectra
    // itself when the offset of the index is wrong too.
    const auto shifted = [&bytes](qsizetype by) {
        QString text = QString::fromUtf8(bytes);
        const QRegularExpression offset(u"(<offset idRef=\"[^\"]*\">)(\\d+)"_qs);
        for (QRegularExpressionMatchIterator it = offset.globalMatch(QString(text)); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            text.replace(m.captured(), m.captured(1) + QString::number(m.captured(2).toLongLong() + by));
        }
        return text.toUtf8();
    };
    const QString gzipped = writeFile(dir.filePath(u"run.mzML.gz"_qs), gzipOf(indexed));

    const struct {
        const char *name;
        QString file;
        bool warned;
    } rows[] = {
        { "offsets one byte late", writeFile(dir.filePath(u"late.mzML"_qs), shifted(1)), true },
        { "offsets past the end", writeFile(dir.filePath(u"past.mzML"_qs), shifted(bytes.size())), true },
        { "a spectrum left out", writeFile(dir.filePath(u"short.mzML"_qs), withoutScan2), true },
        { "gzip-compressed", gzipped, false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome result = deisotope({ row.file });
        EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
        EXPECT_EQ(idsAndScans(result.out), u"scan=1,1\nscan=2,2\nscan=3,3"_qs);
        const QString warning =
            u"zeq: warning: "_qs + row.file + u": its index does not match its spectra; read without it\n"_qs;
        EXPECT_EQ(result.err.count(u"warning"_qs), row.warned ? 1 : 0) << qPrintable(result.err);
        EXPECT_EQ(result.err.startsWith(warning), row.warned) << qPrintable(result.err);
    }
}
