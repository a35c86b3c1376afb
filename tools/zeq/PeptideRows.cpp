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
// need no quoting (but JSON's) or replacing. Asked of the formatter itself, a character at a time, so that the
// fast path cannot disagree with it (a CSV field of one blank is quoted, a blank inside a run is not;
// this errs towards the formatting path).
const std::array<bool, 256> &plainResidues(TableWriter::Format format)
{
    static const std::array<std::array<bool, 256>, 4> plain = [] {
        std::array<std::array<bool, 256>, 4> tables{};
        for (const TableWriter::Format f :
             { TableWriter::Table, TableWriter::Csv, TableWriter::Tsv, TableWriter::Json }) {
            for (std::size_t c = 0; c < 128; ++c) {
                const QString field(QChar{ char16_t(c) });
                // JSON quotes every text cell; plain is what needs nothing else.
                const QString plain = f == TableWriter::Json ? u'"' + field + u'"' : field;
                tables[size_t(f)][c] = TableWriter::formatCell(f, field) == plain;
            }
        }
        return tables;
    }();
    return plain[size_t(format) & 3];
}

// std::to_chars ignores the locale and rounds as QString::number does.
using Digits = std::array<char, 32>;

// `mass` with 5 decimals, as std::to_chars(fixed, 5) writes it, which is a fifth of the time of a
// proteome's rows: from the nearest integer of mass * 1e5 while that product is from 1e5 to 2^40 (its
// rounding error then under 1.2e-4) and not within 1e-3 of a tie, where it cannot round otherwise.
char *writeMass(char *out, double mass)
{
    const double scaled = mass * 1e5;
    // Truncation is the floor of a number not below 0, and one instruction where std::floor may be
    // a call.
    const double whole = scaled >= 0.0 && scaled < 0x1p40 ? double(static_cast<quint64>(scaled)) : 0.0;
    const double fraction = scaled - whole;
    if (scaled >= 1e5 && scaled < 0x1p40 && std::abs(fraction - 0.5) > 1e-3) {
        const auto units = static_cast<quint64>(whole) + (fraction > 0.5 ? 1 : 0);
        // At least 6 digits: the last 5 move up by one for the point.
        char *end = std::to_chars(out, out + 24, units).ptr;
        for (int i = 0; i < 5; ++i) {
            end[-i] = end[-i - 1];
        }
        end[-5] = '.';
        return end + 1;
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

QList<TableWriter::Column> peptideColumns()
{
    return { { QStringLiteral("accession"), false }, { QStringLiteral("start"), true },
             { QStringLiteral("end"), true },        { QStringLiteral("missed"), true },
             { QStringLiteral("mono_mass"), true },  { QStringLiteral("before"), false },
             { QStringLiteral("after"), false },     { QStringLiteral("sequence"), false } };
}

void measurePeptideRows(const QString &accession, const QList<DigestedPeptide> &peptides, TableWriter *table)
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

void addPeptideRows(const QString &accession,
                    QLatin1StringView residues,
                    const QList<DigestedPeptide> &peptides,
                    TableWriter *table)
{
    const TableWriter::Format format = table->format();
    const bool aligned = format == TableWriter::Table;
    const bool json = format == TableWriter::Json;
    if (!table->isStreamed() || (aligned && !table->widthsFixed())) {
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
    const QList<TableWriter::Column> columns = peptideColumns();
    std::array<qsizetype, 8> widths{};
    std::array<QByteArray, 8> keys; // JSON: "name": and the ", " before it
    for (qsizetype i = 0; i < qsizetype(widths.size()); ++i) {
        widths[size_t(i)] = table->columnWidth(i);
        keys[size_t(i)] =
            (TableWriter::formatCell(TableWriter::Json, columns.at(i).name) + QStringLiteral(": ")).toUtf8();
        if (i > 0) {
            keys[size_t(i)].prepend(", ");
        }
    }
    const QString accessionCell = TableWriter::formatCell(format, accession);
    // A table's cells are shown one character for one, so the widths of the raw cells hold.
    const QByteArray accessionField = (aligned ? accessionCell.leftJustified(widths[0]) : accessionCell).toUtf8();
    // Written through a pointer into the output, into room sized once per protein: appends that
    // check for room are much of the cost of millions of short cells. An escaped residue takes at
    // most 6 bytes (JSON's \u00XX).
    const qsizetype widthsSum = std::accumulate(widths.begin() + 1, widths.end() - 1, qsizetype(0));
    qsizetype room = 0;
    for (const DigestedPeptide &peptide : peptides) {
        room += accessionField.size() + 6 * peptide.sequence.size() + widthsSum + 256;
    }
    char *out = table->lineRoom(room);
    [[maybe_unused]] const char *roomEnd = out + room;
    const auto put = [&](const char *bytes, qsizetype size) {
        std::memcpy(out, bytes, size_t(size));
        out += size;
    };
    const auto text = [&](QLatin1StringView cell) {
        if (!plain) {
            const QByteArray field = TableWriter::formatCell(format, QString(cell)).toUtf8();
            put(field.constData(), field.size());
        } else if (json) {
            *out++ = '"';
            put(cell.data(), cell.size());
            *out++ = '"';
        } else {
            put(cell.data(), cell.size());
        }
    };
    // A cell in `column`: JSON's key before it; after it, of `size` characters, the separator, or
    // in a table the padding to the column's width and two blanks.
    const auto open = [&](qsizetype column) {
        if (json) {
            put(keys[size_t(column)].constData(), keys[size_t(column)].size());
        }
    };
    const auto close = [&](qsizetype column, qsizetype size) {
        if (aligned) {
            // A cell wider than its column (a file changed between the passes) still gets two.
            const qsizetype blanks = std::max(widths[size_t(column)] - size, qsizetype(0)) + 2;
            std::memset(out, ' ', size_t(blanks));
            out += blanks;
        } else if (!json) {
            *out++ = separator;
        }
    };
    // `write(p)` writes a number at p and returns its end. Numbers are right-aligned in a table:
    // written aside first to know their size.
    Digits digits;
    const auto number = [&](qsizetype column, auto write) {
        open(column);
        if (!aligned) {
            out = write(out);
            close(column, 0);
            return;
        }
        const qsizetype size = write(digits.data()) - digits.data();
        const qsizetype blanks = std::max(widths[size_t(column)] - size, qsizetype(0));
        std::memset(out, ' ', size_t(blanks));
        out += blanks;
        put(digits.data(), size);
        close(column, std::max(widths[size_t(column)], size));
    };
    const auto integer = [](int value) { return [value](char *p) { return std::to_chars(p, p + 16, value).ptr; }; };
    const auto residue = [&](qsizetype column, char c) {
        open(column);
        text(QLatin1StringView(&c, 1));
        close(column, 1);
    };
    bool first = table->rowCount() == 0;
    for (const DigestedPeptide &peptide : peptides) {
        if (json) {
            const QByteArrayView start = first ? "\n  {" : ",\n  {";
            put(start.data(), start.size());
            first = false;
        }
        open(0);
        put(accessionField.constData(), accessionField.size());
        close(0, widths[0]);
        number(1, integer(peptide.start));
        number(2, integer(peptide.end));
        number(3, integer(peptide.missedCleavages));
        const double mass = peptide.monoisotopicMass;
        number(4, [mass, json](char *p) {
            if (std::isnan(mass)) {
                return json ? std::copy_n("null", 4, p) : p;
            }
            char *end = writeMass(p, mass);
            if (json) {
                // JSON numbers are written shortest: the decimals without their trailing zeros.
                while (end[-1] == '0') {
                    --end;
                }
                end -= end[-1] == '.' ? 1 : 0;
            }
            return end;
        });
        residue(5, peptide.before);
        residue(6, peptide.after);
        open(7);
        text(peptide.sequence);
        *out++ = json ? '}' : '\n';
    }
    Q_ASSERT(out <= roomEnd);
    table->linesWritten(out, peptides.size());
}

} // namespace zeq::cli
