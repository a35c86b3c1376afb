// Runs zeq digest as a user would: its rows against an independent scan of cleavage sites, its
// masses against hand sums, and its refusals.
#include "math/MonoisotopicMass.h"
#include "support/TestFiles.h"
#include "support/ZeqRun.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using zeq::test::Outcome;
using zeq::test::runZeq;

namespace
{

class DigestProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The program's custom proteases are read from the data folder, which the test owns.
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(u"General"_qs));
        file(u"General/CustomProteases.txt"_qs, "Mine @ K;D | C-term;N-term\n");
    }
    Outcome run(const QStringList &args)
    {
        return runZeq(QStringList{ u"digest"_qs } + args, [this](QProcess &process) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"XDG_DATA_HOME"_qs, m_dir.path());
            process.setProcessEnvironment(env);
            process.setWorkingDirectory(m_dir.path());
        });
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        return zeq::test::writeFile(m_dir.filePath(name), bytes);
    }

    QTemporaryDir m_dir;
};

// The TSV rows without masses of every peptide whose ends are protein ends or cleavage sites with at
// most `missed` sites inside, each boundary tested on its own.
QStringList scan(const QString &accession, const QString &protein, const QString &rules, int missed)
{
    const QString p = protein.toUpper();
    const QStringList sides = rules.split(u'|'); // residues cut after, residues cut before
    QList<int> bounds{ 0 };
    for (int b = 1; b < p.size(); ++b) {
        if (sides[0].contains(p[b - 1]) || sides[1].contains(p[b])) {
            bounds.append(b);
        }
    }
    bounds.append(int(p.size()));
    QStringList rows;
    for (int i = 0; i + 1 < bounds.size(); ++i) {
        for (int j = i + 1; j < bounds.size() && j - i - 1 <= missed; ++j) {
            const int first = bounds[i];
            const int end = bounds[j];
            rows.append(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7")
                            .arg(accession)
                            .arg(first + 1)
                            .arg(end)
                            .arg(j - i - 1)
                            .arg(first == 0 ? u'-' : p[first - 1])
                            .arg(end == p.size() ? u'-' : p[end])
                            .arg(p.mid(first, end - first)));
        }
    }
    return rows;
}

} // namespace

TEST_F(DigestProgramTest, RowsMatchAnIndependentScan)
{
    // Cleaving letters made frequent; every third protein in lower case; X has no mass.
    std::mt19937 random(11);
    const QString letters = u"ACDEFGHIKLMNPQRSTVWYKRDX"_qs;
    QList<QString> proteins;
    QByteArray fasta;
    for (int i = 0; i < 40; ++i) {
        QString protein;
        for (int n = std::uniform_int_distribution<int>(1, 60)(random); n > 0; --n) {
            protein += letters[std::uniform_int_distribution<int>(0, int(letters.size()) - 1)(random)];
        }
        proteins.append(i % 3 == 0 ? protein.toLower() : protein);
        fasta += QStringLiteral(">P%1 protein %1\n%2\n").arg(i).arg(proteins.last()).toUtf8();
    }
    const QString path = file(u"random.fasta"_qs, fasta);

    const std::pair<QString, QString> enzymes[] = { { u"trypsin"_qs, u"KR|"_qs },
                                                    { u"mine"_qs, u"K|D"_qs },
                                                    { u"Mix @ r,k;k,d | C-term;N-term"_qs, u"RK|KD"_qs } };
    for (const auto &[enzyme, rules] : enzymes) {
        for (const int missed : { 0, 2 }) {
            SCOPED_TRACE(QStringLiteral("%1, %2 missed").arg(enzyme).arg(missed).toStdString());
            const Outcome result = run({ path,
                                         u"--enzyme"_qs,
                                         enzyme,
                                         u"--missed"_qs,
                                         QString::number(missed),
                                         u"--min-length=1"_qs,
                                         u"--max-length=60"_qs,
                                         u"--format=tsv"_qs });
            ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
            QStringList expected;
            for (qsizetype i = 0; i < proteins.size(); ++i) {
                expected += scan(QStringLiteral("P%1").arg(i), proteins[i], rules, missed);
            }
            QStringList rows = result.out.split(u'\n', Qt::SkipEmptyParts).mid(1);
            for (QString &row : rows) {
                QStringList cells = row.split(u'\t');
                ASSERT_EQ(cells.size(), 8) << row.toStdString();
                // The mass is that of the row's own sequence, or empty when a residue has none.
                const zeq::Result<double> mass = zeq::peptideMonoisotopicMass(cells[7]);
                EXPECT_EQ(cells.takeAt(4), mass.hasValue() ? QString::number(mass.value(), 'f', 5) : QString());
                row = cells.join(u'\t');
            }
            EXPECT_EQ(rows, expected);
        }
    }
}

TEST_F(DigestProgramTest, OutputAndRefusals)
{
    // DRVYIHPF is C50 H71 N13 O12, GGGR C12 H24 N6 O5, PEPTIDEK C40 H65 N9 O16.
    file(u"hand.fasta"_qs, ">sp|P1|ANGT\tangiotensin\ndrvyihpf\n>P2\nPEPTIDEKGGGR\n");
    file(u"quote.fasta"_qs, "> x,\"y\" quoted\nGG,GGGGK\n");
    file(u"accent.fasta"_qs, ">P1\nMK\n>P2 x\nMK\u00c9R\n");
    const char *const header = "^accession,start,end,missed,mono_mass,before,after,sequence\n";
    const struct {
        const char *name;
        const char *args; ///< split at blanks
        int exitCode;
        QString out; ///< regular expressions
        const char *err = "";
    } rows[] = {
        { "Whole",
          "hand.fasta --enzyme None@J|C-term --format=csv",
          0,
          header + u"sp\\|P1\\|ANGT,1,8,0,1045\\.53451,-,-,DRVYIHPF\nP2,1,12,0,1254\\.62043,-,-,PEPTIDEKGGGR\n$"_qs },
        { "CsvQuotes", "quote.fasta --format=csv", 0, header + u"\"x,\"\"y\"\"\",1,8,0,,-,-,\"GG,GGGGK\"\n$"_qs },
        { "Json",
          "hand.fasta --min-length 12 --format=json",
          0,
          u"^\\[\n  \\{\"accession\": \"P2\", \"start\": 1, \"end\": 12, \"missed\": 1, \"mono_mass\": 1254\\.62043, "
          "\"before\": \"-\", \"after\": \"-\", \"sequence\": \"PEPTIDEKGGGR\"\\}\n\\]\n$"_qs },
        { "MissingFile", "missing.fasta", 1, u"^$"_qs, "missing\\.fasta" },
        { "NotAscii", "accent.fasta", 1, u"^$"_qs, "accent\\.fasta line 3: protein P2: residue 3 is \"\u00c9\"" },
        { "NegativeMissed", "hand.fasta --missed -1", 2, u"^$"_qs, "--missed must be from 0 to 100" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome result = run(QString::fromUtf8(row.args).split(u' ', Qt::SkipEmptyParts));
        EXPECT_EQ(result.exitCode, row.exitCode) << result.err.toStdString();
        EXPECT_TRUE(QRegularExpression(row.out).match(result.out).hasMatch()) << result.out.toStdString();
        const QString err = *row.err ? u"^zeq: [^\n]*"_qs + QString::fromUtf8(row.err) + u"[^\n]*\n$"_qs : u"^$"_qs;
        EXPECT_TRUE(QRegularExpression(err).match(result.err).hasMatch()) << result.err.toStdString();
    }
}
