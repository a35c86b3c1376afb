#include "ProteinDigester.h"

#include "FastaInput.h"
#include "ValueText.h"
#include "algo/ProteinDigestNumbering.h"
#include "math/MonoisotopicMass.h"

#include <charconv>
#include <cmath>

namespace zeq::cli
{

namespace
{

// A proteome gives millions of rows whose positions, counts and flanking residues repeat: shared
// strings leave the mass and the sequence as the only new text of a row.
QString positionText(int value)
{
    static const QList<QString> texts = [] {
        QList<QString> list(1 << 16);
        for (qsizetype i = 0; i < list.size(); ++i) {
            list[i] = QString::number(i);
        }
        return list;
    }();
    return value < texts.size() ? texts[value] : QString::number(value);
}

const QString &residueText(char residue)
{
    static const QList<QString> texts = [] {
        QList<QString> list(128);
        for (qsizetype i = 0; i < list.size(); ++i) {
            list[i] = QString(QLatin1Char(char(i)));
        }
        return list;
    }();
    return texts[static_cast<unsigned char>(residue) & 0x7f];
}

// Residues that CSV and TSV write as they are, alone or in a run: then a protein's residue cells
// need no quoting. Asked of the formatter itself, a character at a time, so that the fast path
// cannot disagree with it (a field of one blank is quoted, a blank inside a run is not; this errs
// towards the formatting path).
bool isPlainResidue(char16_t code)
{
    static const std::array<bool, 128> plain = [] {
        std::array<bool, 128> table{};
        for (std::size_t c = 0; c < table.size(); ++c) {
            const QString field(QChar{ char16_t(c) });
            table[c] = TableWriter::formatCell(TableWriter::Csv, field) == field
                && TableWriter::formatCell(TableWriter::Tsv, field) == field;
        }
        return table;
    }();
    return code < plain.size() && plain[code];
}

} // namespace

ProteinDigester::ProteinDigester(const DigestSettings &settings)
    : m_settings(settings)
    , m_openMassRange(settings.minMass <= 0.0 && std::isinf(settings.maxMass) && settings.maxMass > 0.0)
{
    Q_ASSERT(settings.enzyme.isValid());
    ProteinDigestNumbering::setupCutterAndHash(settings.enzyme.digestRules(), &m_cutter, m_cleavageTable.data());
    m_engineMasses = proteinResidueMonoisotopicMasses();
    for (double &mass : m_engineMasses) {
        if (std::isnan(mass)) {
            mass = 0.0;
        }
    }
}

Error ProteinDigester::digest(QStringView sequence)
{
    m_peptides.clear();
    // The digestion engine numbers residues with int; cut down, a longer protein would be digested
    // as another one.
    if (sequence.size() > std::numeric_limits<int>::max()) {
        Error err(kBadParameterError,
                  QStringLiteral("%1 residues, more than the %2 a protein may have")
                      .arg(sequence.size())
                      .arg(std::numeric_limits<int>::max()));
        return ZEQ_ECATCH(err);
    }
    const std::array<double, 256> &masses = proteinResidueMonoisotopicMasses();
    const auto length = static_cast<int>(sequence.size());
    m_residues.resize(size_t(length));
    m_unknownBefore.resize(size_t(length) + 1);
    int unknown = 0;
    m_plainResidues = true;
    for (int i = 0; i < length; ++i) {
        char16_t code = sequence[i].unicode();
        if (code > 0x7f) {
            Error err(kBadParameterError,
                      QStringLiteral("residue %1 is \"%2\", not an ASCII letter").arg(i + 1).arg(sequence[i]));
            return ZEQ_ECATCH(err);
        }
        // The cleavage table holds upper-case residues only.
        if (code >= u'a' && code <= u'z') {
            code -= u'a' - u'A';
        }
        m_residues[size_t(i)] = static_cast<char>(code);
        m_plainResidues = m_plainResidues && isPlainResidue(code);
        m_unknownBefore[size_t(i)] = unknown;
        unknown += std::isnan(masses[code]) ? 1 : 0;
    }
    m_unknownBefore[size_t(length)] = unknown;

    constexpr double noBound = std::numeric_limits<double>::infinity();
    Error err = m_engine.init(m_residues.data(),
                              length,
                              m_engineMasses.data(),
                              kWaterMonoisotopicMass,
                              0.0,
                              -noBound,
                              noBound,
                              m_settings.maxMissedCleavages,
                              m_cleavageTable.data(),
                              m_cutter,
                              DigestSpecific,
                              0);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    for (ProteinDigestor::Peptide peptide : m_engine.peptides()) {
        const int residues = peptide.last - peptide.first + 1;
        if (residues < m_settings.minLength || residues > m_settings.maxLength) {
            continue;
        }
        if (m_unknownBefore[size_t(peptide.last) + 1] != m_unknownBefore[size_t(peptide.first)]) {
            peptide.mass = std::numeric_limits<double>::quiet_NaN();
            if (!m_openMassRange) {
                continue;
            }
        } else if (peptide.mass < m_settings.minMass || peptide.mass > m_settings.maxMass) {
            continue;
        }
        m_peptides.append(peptide);
    }
    return err;
}

QList<TableWriter::Column> ProteinDigester::columns()
{
    return { { QStringLiteral("accession"), false }, { QStringLiteral("start"), true },
             { QStringLiteral("end"), true },        { QStringLiteral("missed"), true },
             { QStringLiteral("mono_mass"), true },  { QStringLiteral("before"), false },
             { QStringLiteral("after"), false },     { QStringLiteral("sequence"), false } };
}

void ProteinDigester::addRows(const QString &accession, TableWriter *table) const
{
    const auto residue = [this](int index) {
        return residueText(index < 0 || size_t(index) >= m_residues.size() ? '-' : m_residues[size_t(index)]);
    };
    for (const ProteinDigestor::Peptide &peptide : m_peptides) {
        table->addRow({ accession,
                        positionText(peptide.first + 1),
                        positionText(peptide.last + 1),
                        positionText(peptide.missedCleavages),
                        std::isnan(peptide.mass) ? QString() : formatFixed(peptide.mass, 5),
                        residue(peptide.first - 1),
                        residue(peptide.last + 1),
                        QString::fromLatin1(m_residues.data() + peptide.first, peptide.last - peptide.first + 1) });
    }
}

void ProteinDigester::appendLines(const QString &accession, TableWriter::Format format, QByteArray *text) const
{
    Q_ASSERT(format == TableWriter::Csv || format == TableWriter::Tsv);
    const char separator = format == TableWriter::Csv ? ',' : '\t';
    // The protein's lines are gathered in a std::string, whose appends are inline, and join the
    // output once per protein rather than once per cell.
    std::string lines;
    const std::string accessionField = TableWriter::formatCell(format, accession).toStdString();
    const auto residues = [&](int first, int count) {
        const char *begin = m_residues.data() + first;
        if (m_plainResidues) {
            lines.append(begin, size_t(count));
        } else {
            lines += TableWriter::formatCell(format, QString::fromLatin1(begin, count)).toStdString();
        }
    };
    // std::to_chars ignores the locale and rounds as QString::number does.
    std::array<char, 32> digits;
    const auto cell = [&](auto... value) {
        lines.append(digits.data(), std::to_chars(digits.begin(), digits.end(), value...).ptr);
        lines += separator;
    };
    const auto length = static_cast<int>(m_residues.size());
    for (const ProteinDigestor::Peptide &peptide : m_peptides) {
        lines += accessionField;
        lines += separator;
        cell(peptide.first + 1);
        cell(peptide.last + 1);
        cell(peptide.missedCleavages);
        if (std::isnan(peptide.mass)) {
            lines += separator;
        } else {
            cell(peptide.mass, std::chars_format::fixed, 5);
        }
        if (peptide.first == 0) {
            lines += '-';
        } else {
            residues(peptide.first - 1, 1);
        }
        lines += separator;
        if (peptide.last + 1 == length) {
            lines += '-';
        } else {
            residues(peptide.last + 1, 1);
        }
        lines += separator;
        residues(peptide.first, peptide.last - peptide.first + 1);
        lines += '\n';
    }
    text->append(lines.data(), qsizetype(lines.size()));
}

Result<QByteArray>
digestProteins(const FastaProteins &proteins, const DigestSettings &settings, TableWriter::Format format)
{
    ProteinDigester digester(settings);
    TableWriter table(format, ProteinDigester::columns());
    // A proteome gives millions of rows: CSV and TSV are written line by line after the header
    // (the empty table's text), tables and JSON through the writer's cells.
    const bool lines = format == TableWriter::Csv || format == TableWriter::Tsv;
    QByteArray text = lines ? table.render() : QByteArray();
    for (qsizetype i = 0; i < proteins.sequences.size(); ++i) {
        const QString accession = accessionOf(proteins.names.at(i));
        Error err = digester.digest(proteins.sequences.at(i));
        if (err.hasError()) {
            Error located(kBadParameterError,
                          QStringLiteral("line %1: protein %2: %3")
                              .arg(proteins.headerLines.value(i))
                              .arg(accession.left(80), err.errorString()));
            return ZEQ_ECATCH(located);
        }
        if (lines) {
            digester.appendLines(accession, format, &text);
        } else {
            digester.addRows(accession, &table);
        }
    }
    return lines ? text : table.render();
}

} // namespace zeq::cli
