#pragma once

#include "utils/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zeq::cli
{

/// The rows a subcommand prints, rendered in the format the user picked. Cells arrive as text,
/// already formatted by the command, so every format shows the same digits.
class TableWriter
{
public:
    enum Format : qint32 {
        Table = 0, ///< aligned columns, numbers right-aligned, control characters shown as '?'
        Csv = 1, ///< quoted as csvField() does (RFC 4180, and leading or trailing blanks kept)
        Tsv = 2, ///< tab-separated; tabs and line breaks inside a cell become blanks
        Json = 3, ///< an array of objects keyed by column name; numeric cells as JSON numbers
    };
    struct Column {
        QString name;
        /// Right-aligned in a table; a JSON number, or null when the cell is not a finite number.
        bool numeric = false;
    };

    /// "table", "csv", "tsv" or "json", any case.
    [[nodiscard]] static Result<Format> formatFromName(const QString &name);
    /// A text cell as `format` writes it: quoted when CSV needs it, tabs and line breaks blanked for
    /// TSV, a JSON string, or with control characters shown as '?' in a table. For commands that write large outputs
    /// themselves.
    [[nodiscard]] static QString formatCell(Format format, const QString &cell);

    TableWriter(Format format, const QList<Column> &columns);

    /// A row with one cell per column; missing cells are empty and extra cells are dropped.
    void addRow(QStringList cells);
    [[nodiscard]] qsizetype rowCount() const noexcept { return m_rows.size(); }

    /// The header and every row, UTF-8, each line ending in "\n".
    [[nodiscard]] QByteArray render() const;

private:
    [[nodiscard]] QString renderTable() const;
    [[nodiscard]] QString renderSeparated(QChar separator) const;
    [[nodiscard]] QString renderJson() const;
    /// The header line, then one line per row, each made by `line` from its cells.
    template <typename LineFunction> [[nodiscard]] QString joinLines(LineFunction line) const;

    Format m_format;
    QList<Column> m_columns;
    QList<QStringList> m_rows;
};

} // namespace zeq::cli
