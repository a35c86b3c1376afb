#include "TableWriter.h"

#include "ValueText.h"
#include "zeq_common_core_mini/CsvWriter.h"

#include <algorithm>
#include <cmath>

namespace zeq::cli
{

namespace
{

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
}

void TableWriter::addRow(QStringList cells)
{
    cells.resize(m_columns.size());
    m_rows.append(std::move(cells));
}

QByteArray TableWriter::render() const
{
    switch (m_format) {
    case Csv:
        return renderSeparated(u',').toUtf8();
    case Tsv:
        return renderSeparated(u'\t').toUtf8();
    case Json:
        return renderJson().toUtf8();
    case Table:
        break;
    }
    return renderTable().toUtf8();
}

template <typename LineFunction> QString TableWriter::joinLines(LineFunction line) const
{
    QStringList header;
    for (const Column &column : m_columns) {
        header.append(column.name);
    }
    QString text = line(header);
    for (const QStringList &row : m_rows) {
        text += line(row);
    }
    return text;
}

QString TableWriter::renderTable() const
{
    // A table goes to a terminal, so its cells are made visible (the other formats are data and keep
    // every character); one character for one, so the widths of the raw cells hold.
    QList<qsizetype> widths;
    for (const Column &column : m_columns) {
        widths.append(column.name.size());
    }
    for (const QStringList &row : m_rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row.at(i).size());
        }
    }
    const auto line = [&](const QStringList &cells) {
        QString text;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const bool last = i + 1 == cells.size();
            if (i > 0) {
                text += QStringLiteral("  ");
            }
            const QString cell = visibleText(cells.at(i));
            if (m_columns.at(i).numeric) {
                text += cell.rightJustified(widths.at(i));
            } else {
                // No trailing blanks after the last column.
                text += last ? cell : cell.leftJustified(widths.at(i));
            }
        }
        return text + u'\n';
    };
    return joinLines(line);
}

QString TableWriter::renderSeparated(QChar separator) const
{
    const auto line = [&](const QStringList &cells) {
        QStringList fields;
        for (const QString &cell : cells) {
            fields.append(separator == u',' ? ::csvField(cell) : tsvField(cell));
        }
        return fields.join(separator) + u'\n';
    };
    return joinLines(line);
}

QString TableWriter::renderJson() const
{
    // Written by hand: QJsonObject would sort the keys and lose the column order.
    QString text = QStringLiteral("[");
    for (qsizetype r = 0; r < m_rows.size(); ++r) {
        text += r == 0 ? QStringLiteral("\n  {") : QStringLiteral(",\n  {");
        for (qsizetype i = 0; i < m_columns.size(); ++i) {
            const QString &cell = m_rows.at(r).at(i);
            text += (i == 0 ? QString() : QStringLiteral(", ")) + jsonString(m_columns.at(i).name)
                + QStringLiteral(": ") + (m_columns.at(i).numeric ? jsonNumber(cell) : jsonString(cell));
        }
        text += u'}';
    }
    text += m_rows.isEmpty() ? QStringLiteral("]\n") : QStringLiteral("\n]\n");
    return text;
}

} // namespace zeq::cli
