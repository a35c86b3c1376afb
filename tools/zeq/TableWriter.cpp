#include "TableWriter.h"

#include "CommandLine.h"
#include "ValueText.h"
#include "zeq_common_core_mini/CsvWriter.h"

#include <algorithm>
#include <cmath>

namespace zeq::cli
{

namespace
{

constexpr qsizetype kPieceSize = qsizetype(1) << 20;

QString tsvField(QString cell)
{
    // TSV has no quoting: a tab or line break inside a cell would shift every later column.
    for (QChar &c : cell) {
        if (c == u'\t' || c == u'\n' || c == u'\r') {
            c = u' ';
        }
    }
    return cell;
}

QString jsonString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20) {
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            } else {
                out += c;
            }
        }
    }
    out += u'"';
    return out;
}

// Re-printed rather than copied: the command's text ("1.50", "+3") is not always valid JSON.
QString jsonNumber(const QString &cell)
{
    bool ok = false;
    const double value = cell.toDouble(&ok);
    return ok && std::isfinite(value) ? formatNumber(value) : QStringLiteral("null");
}

} // namespace

Result<TableWriter::Format> TableWriter::formatFromName(const QString &name)
{
    const QString key = name.trimmed().toLower();
    if (key == u"table") {
        return Table;
    }
    if (key == u"csv") {
        return Csv;
    }
    if (key == u"tsv") {
        return Tsv;
    }
    if (key == u"json") {
        return Json;
    }
    Error err(kBadParameterError, QStringLiteral("unknown format \"%1\": table, csv, tsv or json").arg(name));
    return ZEQ_ECATCH(err);
}

QString TableWriter::formatCell(Format format, const QString &cell)
{
    switch (format) {
    case Csv:
        return ::csvField(cell);
    case Tsv:
        return tsvField(cell);
    case Json:
        return jsonString(cell);
    case Table:
        break;
    }
    return visibleText(cell);
}

TableWriter::TableWriter(Format format, const QList<Column> &columns)
    : m_format(format)
    , m_columns(columns)
{
    for (const Column &column : m_columns) {
        m_widths.append(column.name.size());
    }
}

void TableWriter::addRow(QStringList cells)
{
    cells.resize(m_columns.size());
    if (m_format == Table && !m_widthsFixed) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            widenColumn(i, cells.at(i).size());
        }
    }
    if (streamsRows()) {
        start();
        append(m_format == Json ? jsonRow(cells, m_rowCount == 0) : line(cells));
        flush(kPieceSize);
    } else if (m_out) {
        keepRow(std::move(cells));
    } else {
        m_rows.append(std::move(cells));
    }
    ++m_rowCount;
}

void TableWriter::keepRow(QStringList &&cells)
{
    if (m_rowCount == 0) {
        auto spool = std::make_unique<QTemporaryFile>();
        if (spool->open()) {
            m_spoolStream = std::make_unique<QDataStream>(spool.get());
            m_spool = std::move(spool);
        }
    }
    if (!m_spool) {
        m_rows.append(std::move(cells)); // no temporary file: held in memory instead
        return;
    }
    *m_spoolStream << cells;
    if (m_spoolStream->status() != QDataStream::Ok && m_out->ok()) {
        m_out->failWith(QStringLiteral("Can't keep the table's rows in the temporary file %1: %2")
                            .arg(m_spool->fileName(), m_spool->errorString()));
    }
}

QByteArray TableWriter::render() const
{
    Q_ASSERT(!m_out);
    QString text = m_format == Json ? QStringLiteral("[") : headerLine();
    for (qsizetype r = 0; r < m_rows.size(); ++r) {
        text += m_format == Json ? jsonRow(m_rows.at(r), r == 0) : line(m_rows.at(r));
    }
    if (m_format == Json) {
        text += jsonEnd(m_rows.isEmpty());
    }
    return text.toUtf8();
}

void TableWriter::streamTo(ResultStream *out)
{
    Q_ASSERT(m_rows.isEmpty());
    m_out = out;
}

void TableWriter::widenColumn(qsizetype column, qsizetype width)
{
    m_widths[column] = std::max(m_widths[column], width);
}

char *TableWriter::lineRoom(qsizetype size)
{
    Q_ASSERT(m_out && (m_format != Table || m_widthsFixed));
    start();
    const qsizetype used = m_pending.size();
    m_pending.resize(used + size);
    return m_pending.data() + used;
}

void TableWriter::linesWritten(const char *end, qsizetype rows)
{
    Q_ASSERT(end >= m_pending.constData() && end <= m_pending.constData() + m_pending.size());
    m_pending.resize(end - m_pending.constData());
    m_rowCount += rows;
    flush(kPieceSize);
}

bool TableWriter::ok() const
{
    return !m_out || m_out->ok();
}

bool TableWriter::finish()
{
    if (!m_out) {
        return true;
    }
    // An aligned table whose widths were not fixed starts only now that they are known.
    start();
    for (const QStringList &row : std::as_const(m_rows)) {
        append(line(row));
        flush(kPieceSize);
    }
    m_rows.clear();
    if (m_spool && ok()) {
        m_spool->flush();
        m_spool->seek(0);
        QStringList row;
        for (qsizetype i = 0; i < m_rowCount && ok(); ++i) {
            *m_spoolStream >> row;
            if (m_spoolStream->status() != QDataStream::Ok) {
                m_out->failWith(QStringLiteral("Can't read back the table's rows from the temporary file %1")
                                    .arg(m_spool->fileName()));
                break;
            }
            append(line(row));
            flush(kPieceSize);
        }
    }
    m_spoolStream.reset();
    m_spool.reset();
    if (m_format == Json) {
        append(jsonEnd(m_rowCount == 0));
    }
    flush(1);
    return ok();
}

void TableWriter::start()
{
    if (!m_started) {
        m_started = true;
        m_pending.reserve(kPieceSize + (kPieceSize >> 4));
        append(m_format == Json ? QStringLiteral("[") : headerLine());
    }
}

void TableWriter::append(const QString &text)
{
    m_pending += text.toUtf8();
}

void TableWriter::flush(qsizetype atLeast)
{
    if (m_pending.size() >= atLeast && m_out) {
        m_out->write(m_pending);
        // resize() keeps the capacity, clear() would not.
        m_pending.resize(0);
    }
}

QString TableWriter::headerLine() const
{
    QStringList names;
    for (const Column &column : m_columns) {
        names.append(column.name);
    }
    return line(names);
}

QString TableWriter::line(const QStringList &cells) const
{
    if (m_format == Csv || m_format == Tsv) {
        QStringList fields;
        for (const QString &cell : cells) {
            fields.append(formatCell(m_format, cell));
        }
        return fields.join(m_format == Csv ? u',' : u'\t') + u'\n';
    }
    // A table goes to a terminal, so its cells are made visible (the other formats are data and keep
    // every character); one character for one, so the widths of the raw cells hold.
    QString text;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const bool last = i + 1 == cells.size();
        if (i > 0) {
            text += QStringLiteral("  ");
        }
        const QString cell = visibleText(cells.at(i));
        if (m_columns.at(i).numeric) {
            text += cell.rightJustified(m_widths.at(i));
        } else {
            // No trailing blanks after the last column.
            text += last ? cell : cell.leftJustified(m_widths.at(i));
        }
    }
    return text + u'\n';
}

// Written by hand: QJsonObject would sort the keys and lose the column order.
QString TableWriter::jsonRow(const QStringList &cells, bool first) const
{
    QString text = first ? QStringLiteral("\n  {") : QStringLiteral(",\n  {");
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        const QString &cell = cells.at(i);
        text += (i == 0 ? QString() : QStringLiteral(", ")) + jsonString(m_columns.at(i).name) + QStringLiteral(": ")
            + (m_columns.at(i).numeric ? jsonNumber(cell) : jsonString(cell));
    }
    return text + u'}';
}

QString TableWriter::jsonEnd(bool empty) const
{
    return empty ? QStringLiteral("]\n") : QStringLiteral("\n]\n");
}

} // namespace zeq::cli
