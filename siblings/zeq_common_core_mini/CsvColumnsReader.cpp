#include "zeq_common_core_mini/CsvColumnsReader.h"

#include "zeq_common_core_mini/CsvReader.h"

#include <QHash>

CsvColumnsReader::CsvColumnsReader(const QString &path, QChar separator)
    : m_path(path)
    , m_separator(separator)
{
}

zeq::Result<CsvContent> CsvColumnsReader::readContent(const CsvColumnsValidator &validator, int option) const
{
    Error err;
    if (option & ~int(PadShortRecords)) {
        err = Error(kBadParameterError,
                    QStringLiteral("Can't read %1: unknown CSV read option 0x%2").arg(m_path).arg(option, 0, 16));
        return ZEQ_ECATCH(err);
    }
    CsvReader reader(m_path, m_separator);
    err = reader.open();
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }

    QList<QString> columns;
    if (!reader.readRecord(columns)) {
        err = reader.error();
        if (!err.hasError()) {
            err = Error(kBadParameterError, QStringLiteral("%1 is empty: there is no header line").arg(m_path));
        }
        return ZEQ_ECATCH(err);
    }
    QHash<QString, qsizetype> seen;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const auto it = seen.constFind(columns.at(i));
        if (it != seen.cend()) {
            err = Error(kBadParameterError,
                        QStringLiteral("%1 line %2: the column \"%3\" appears twice (columns %4 and %5)")
                            .arg(m_path)
                            .arg(reader.recordLine())
                            .arg(columns.at(i))
                            .arg(it.value() + 1)
                            .arg(i + 1));
            return ZEQ_ECATCH(err);
        }
        seen.insert(columns.at(i), i);
    }
    err = validator.validate(columns, m_path);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }

    QList<CsvContent::Record> records;
    QList<QString> fields;
    while (reader.readRecord(fields)) {
        if (fields.size() < columns.size() && (option & PadShortRecords)) {
            fields.resize(columns.size());
        }
        if (fields.size() != columns.size()) {
            err = Error(kBadParameterError,
                        QStringLiteral("%1 line %2: %3 field(s) where the header has %4")
                            .arg(m_path)
                            .arg(reader.recordLine())
                            .arg(fields.size())
                            .arg(columns.size()));
            return ZEQ_ECATCH(err);
        }
        records.append(std::move(fields));
        fields.reserve(columns.size());
    }
    if (reader.error().hasError()) {
        err = reader.error();
        return ZEQ_ECATCH(err);
    }
    return CsvContent(std::move(columns), std::move(records));
}
