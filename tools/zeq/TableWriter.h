#pragma once

#include "utils/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDataStream>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

#include <memory>

namespace zeq::cli
{

class ResultStream;

/// The rows a subcommand prints, rendered in the format the user picked. Cells arrive as text,
/// already formatted by the command, so every format shows the same digits.
///
/// Rows are kept and rendered at once (render()), or streamed (streamTo()): written out in pieces
/// of about 1 MiB as they come, the bytes being those render() would give.
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

    [[nodiscard]] Format format() const noexcept { return m_format; }
    /// A row with one cell per column; missing cells are empty and extra cells are dropped.
    void addRow(QStringList cells);
    /// Rows added so far.
    [[nodiscard]] qsizetype rowCount() const noexcept { return m_rowCount; }

    /// The header and every row, UTF-8, each line ending in "\n". Not for a streamed writer.
    [[nodiscard]] QByteArray render() const;

    /// Writes to `out` from now on instead of keeping rows: the header with the first row or at
    /// finish(), each row as it is added, the end at finish(). The aligned table needs every row's
    /// width before its first line: unless the caller measured them first (widenColumn(), then
    /// fixWidths()), as a command that can read its input twice does, its rows wait in a temporary
    /// file until finish(), so that memory stays bounded however many there are.
    void streamTo(ResultStream *out);
    [[nodiscard]] bool isStreamed() const noexcept { return m_out != nullptr; }
    /// Widens `column` of the table to `width` characters (the cell's size as text).
    void widenColumn(qsizetype column, qsizetype width);
    [[nodiscard]] qsizetype columnWidth(qsizetype column) const { return m_widths.at(column); }
    [[nodiscard]] bool widthsFixed() const noexcept { return m_widthsFixed; }
    /// Takes the widths measured so far as final: table rows then stream like the other formats.
    void fixWidths() noexcept { m_widthsFixed = true; }
    /// Room for up to `size` bytes of lines at the end of the output, for commands whose rows are too
    /// many to make a text cell each and that write the lines themselves, as addRow() would: in this
    /// format (a table's widths fixed), each ending in "\n", or JSON objects each after "\n  {" (the
    /// first row) or ",\n  {". linesWritten() closes the room.
    [[nodiscard]] char *lineRoom(qsizetype size);
    /// The lines written into lineRoom() end before `end` and hold `rows` rows.
    void linesWritten(const char *end, qsizetype rows);
    /// Streaming: false once a write failed (the stream reports it at its end).
    [[nodiscard]] bool ok() const;
    /// Streaming: writes what is left. False when a write failed.
    bool finish();

private:
    [[nodiscard]] QString line(const QStringList &cells) const;
    [[nodiscard]] QString headerLine() const;
    [[nodiscard]] QString jsonRow(const QStringList &cells, bool first) const;
    [[nodiscard]] QString jsonEnd(bool empty) const;
    /// Streaming: the header (or JSON's opening), once.
    void start();
    void append(const QString &text);
    /// Hands the pending bytes to the stream once there are `atLeast` of them.
    void flush(qsizetype atLeast);
    [[nodiscard]] bool streamsRows() const noexcept { return m_out && (m_format != Table || m_widthsFixed); }

    /// Streaming a table whose widths are not fixed: keeps the row for finish().
    void keepRow(QStringList &&cells);

    Format m_format;
    QList<Column> m_columns;
    QList<QStringList> m_rows;
    // The rows a streamed table keeps, when a temporary file could be made for them.
    std::unique_ptr<QTemporaryFile> m_spool;
    std::unique_ptr<QDataStream> m_spoolStream;
    qsizetype m_rowCount = 0;
    QList<qsizetype> m_widths;
    bool m_widthsFixed = false;
    ResultStream *m_out = nullptr;
    bool m_started = false;
    QByteArray m_pending;
};

} // namespace zeq::cli
