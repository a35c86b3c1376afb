#pragma once

#include <QList>
#include <QString>

#include <utility>

/// A CSV file read whole: the names of its header and its records, in file order, each record with
/// exactly one text per column.
class CsvContent
{
public:
    using Record = QList<QString>;

    CsvContent() = default;
    CsvContent(QList<QString> columns, QList<Record> records)
        : m_columns(std::move(columns))
        , m_records(std::move(records))
    {
    }

    [[nodiscard]] const QList<QString> &columns() const noexcept { return m_columns; }
    [[nodiscard]] const QList<Record> &records() const noexcept { return m_records; }
    /// Hands the records over, leaving none: lets a caller move the texts on instead of copying.
    [[nodiscard]] QList<Record> takeRecords() noexcept { return std::exchange(m_records, {}); }

    [[nodiscard]] qsizetype size() const noexcept { return m_records.size(); }
    [[nodiscard]] bool isEmpty() const noexcept { return m_records.isEmpty(); }
    [[nodiscard]] QList<Record>::const_iterator begin() const noexcept { return m_records.cbegin(); }
    [[nodiscard]] QList<Record>::const_iterator end() const noexcept { return m_records.cend(); }

private:
    QList<QString> m_columns;
    QList<Record> m_records;
};
