#include "PeptideRows.h"

#include "ValueText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numeric>

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

// Residues that `format` writes as they are, alone or in a run: then a protein's residue cells
// need no quoting or replacing. Asked of the formatter itself, a character at a time, so that the
// fast path cannot disagree with it (a CSV field of one blank is quoted, a blank inside a run is not;
// this errs towards the formatting path).
const std::array<bool, 256> &plainResidues(TableWriter::Format format)
{
    static const std::array<std::array<bool, 256>, 4> plain = [] {
        std::array<std::array<bool, 256>, 4> tables{};
        for (const TableWriter::Format f : { TableWriter::Table, TableWriter::Csv, TableWriter::Tsv }) {
            for (std::size_t c = 0; c < 128; ++c) {
                const QString field(QChar{ char16_t(c) });
                tables[size_t(f)][c] = TableWriter::formatCell(f, field) == field;
            }
        }
        return tables;
    }();
    return plain[size_t(format) & 3];
}

// std::to_chars ignores the locale and rounds as QString::number does.
using Digits = std::array<char, 32>;

// `mass` with 5 decimals, as std::to_chars(fixed, 5) writes it, which is a fifth of the time of a
// proteome's rows: from the nearest integer of mass * 1e5 while that product is below 2^40 (its
// rounding error then under 1.2e-4) and not within 1e-3 of a tie, where it cannot round otherwise.
char *writeMass(char *out, double mass)
{
    const double scaled = mass * 1e5;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (scaled >= 0.0 && scaled < 0x1p40 && std::abs(fraction - 0.5) > 1e-3) {
        const auto units = static_cast<quint64>(whole) + (fraction > 0.5 ? 1 : 0);
        out = std::to_chars(out, out + 16, units / 100000).ptr;
        *out++ = '.';
        auto decimals = static_cast<unsigned>(units % 100000);
        for (int i = 4; i >= 0; --i) {
            out[i] = char('0' + decimals % 10);
            decimals /= 10;
        }
        return out + 5;
    }
    return std::to_chars(out, out + 32, mass, std::chars_format::fixed, 5).ptr;
}

qsizetype digitCount(int value)
{
    Digits digits;
    return std::to_chars(digits.begin(), digits.end(), value).ptr - digits.begin();
}

qsizetype massWidth(double mass)
{
    Digits digits;
    return std::isnan(mass) ? 0 : writeMass(digits.data(), mass) - digits.data();
}

} // namespace

QList<TableWriter::Column> PeptideRows::columns()
{
    return { { QStringLiteral("accession"), false }, { QStringLiteral("start"), true },
             { QStringLiteral("end"), true },        { QStringLiteral("missed"), true },
             { QStringLiteral("mono_mass"), true },  { QStringLiteral("before"), false },
             { QStringLiteral("after"), false },     { QStringLiteral("sequence"), false } };
}

void PeptideRows::measure(const QString &accession, const QList<DigestedPeptide> &peptides, TableWriter *table)
{
    if (peptides.isEmpty()) {
        return;
    }
    table->widenColumn(0, accession.size());
    for (const DigestedPeptide &peptide : peptides) {
        table->widenColumn(1, digitCount(peptide.start));
        table->widenColumn(2, digitCount(peptide.end));
        table->widenColumn(3, digitCount(peptide.missedCleavages));
        table->widenColumn(4, massWidth(peptide.monoisotopicMass));
        table->widenColumn(5, 1);
        table->widenColumn(6, 1);
        table->widenColumn(7, peptide.sequence.size());
    }
}

void PeptideRows::add(const QString &accession,
                      QLatin1StringView residues,
                      const QList<DigestedPeptide> &peptides,
                      TableWriter *table)
{
    const TableWriter::Format format = table->format();
    const bool aligned = format == TableWriter::Table;
    if (!table->isStreamed() || format == TableWriter::Json || (aligned && !table->widthsFixed())) {
        for (const DigestedPeptide &peptide : peptides) {
            table->addRow({ accession,
                            positionText(peptide.start),
                            positionText(peptide.end),
                            positionText(peptide.missedCleavages),
                            std::isnan(peptide.monoisotopicMass) ? QString() : formatFixed(peptide.monoisotopicMass, 5),
                            residueText(peptide.before),
                            residueText(peptide.after),
                            QString(peptide.sequence) });
        }
        return;
    }
    if (peptides.isEmpty()) {
        return;
    }
    const char separator = format == TableWriter::Csv ? ',' : '\t';
    const std::array<bool, 256> &plainResidue = plainResidues(format);
    const bool plain = std::all_of(
        residues.begin(), residues.end(), [&](char c) { return plainResidue[static_cast<unsigned char>(c)]; });
    std::array<qsizetype, 8> widths{};
    for (qsizetype i = 0; i < qsizetype(widths.size()); ++i) {
        widths[size_t(i)] = table->columnWidth(i);
    }
    const QString accessionCell = TableWriter::formatCell(format, accession);
    // A table's cells are shown one character for one, so the widths of the raw cells hold.
    const QByteArray accessionField = (aligned ? accessionCell.leftJustified(widths[0]) : accessionCell).toUtf8();
    // Written through a pointer into room sized once per protein: appends that check for room are
    // much of the cost of millions of short cells. A quoted cell is at most twice its size plus 2.
    const qsizetype widthsSum = std::accumulate(widths.begin() + 1, widths.end() - 1, qsizetype(0));
    qsizetype room = 0;
    for (const DigestedPeptide &peptide : peptides) {
        room += accessionField.size() + 2 * peptide.sequence.size() + widthsSum + 128;
    }
    m_lines.resize(room);
    char *out = m_lines.data();
    const auto text = [&](QLatin1StringView cell) {
        if (plain) {
            std::memcpy(out, cell.data(), size_t(cell.size()));
            out += cell.size();
        } else {
            const QByteArray field = TableWriter::formatCell(format, QString(cell)).toUtf8();
            std::memcpy(out, field.constData(), size_t(field.size()));
            out += field.size();
        }
    };
    // What follows a cell of `size` characters in `column`: the separator, or in a table the
    // padding to the column's width and two blanks.
    const auto close = [&](qsizetype column, qsizetype size) {
        if (aligned) {
            // A cell wider than its column (a file changed between the passes) still gets two.
            const qsizetype blanks = std::max(widths[size_t(column)] - size, qsizetype(0)) + 2;
            std::memset(out, ' ', size_t(blanks));
            out += blanks;
        } else {
            *out++ = separator;
        }
    };
    // Numbers are right-aligned in a table: written aside first to know their size.
    Digits digits;
    const auto number = [&](qsizetype column, char *end) {
        const qsizetype size = end - digits.data();
        if (aligned) {
            const qsizetype blanks = std::max(widths[size_t(column)] - size, qsizetype(0));
            std::memset(out, ' ', size_t(blanks));
            out += blanks;
        }
        std::memcpy(out, digits.data(), size_t(size));
        out += size;
        aligned ? close(column, widths[size_t(column)]) : close(column, size);
    };
    const auto residue = [&](qsizetype column, char c) {
        if (plain) {
            *out++ = c;
        } else {
            text(QLatin1StringView(&c, 1));
        }
        close(column, 1);
    };
    for (const DigestedPeptide &peptide : peptides) {
        std::memcpy(out, accessionField.constData(), size_t(accessionField.size()));
        out += accessionField.size();
        close(0, widths[0]);
        number(1, std::to_chars(digits.begin(), digits.end(), peptide.start).ptr);
        number(2, std::to_chars(digits.begin(), digits.end(), peptide.end).ptr);
        number(3, std::to_chars(digits.begin(), digits.end(), peptide.missedCleavages).ptr);
        const double mass = peptide.monoisotopicMass;
        number(4, std::isnan(mass) ? digits.data() : writeMass(digits.data(), mass));
        residue(5, peptide.before);
        residue(6, peptide.after);
        text(peptide.sequence);
        *out++ = '\n';
    }
    Q_ASSERT(out <= m_lines.data() + room);
    table->addLines(QByteArrayView(m_lines.constData(), out - m_lines.constData()), peptides.size());
}

} // namespace zeq::cli
