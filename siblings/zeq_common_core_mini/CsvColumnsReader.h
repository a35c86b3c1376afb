#pragma once

#include "zeq_common_core_mini/CsvColumnsValidator.h"
#include "zeq_common_core_mini/CsvContent.h"
#include "zeq_common_core_mini_export.h"
#include "zeq_common_stable/Result.h"

#include <QChar>
#include <QString>

/// Reads a CSV file whose first record is a header (see CsvReader for the text rules) into a
/// CsvContent, checking the header against a validator and the shape of every record.
class ZEQ_COMMON_CORE_MINI_EXPORT CsvColumnsReader
{
public:
    /// Flags for readContent().
    enum Option : qint32 {
        NoOption = 0,
        /// A record with fewer fields than the header gets empty texts for the rest, as spreadsheets
        /// that drop trailing empty cells need. Records with more fields stay an error.
        PadShortRecords = 0x1,
    };

    explicit CsvColumnsReader(const QString &path, QChar separator = u',');

    /// The header and records, or the reader's error; kBadParameterError, naming the file and
    /// line, for an empty file, a duplicate column name, a header the validator refuses, a record
    /// with another number of fields than the header, and unknown option flags.
    [[nodiscard]] zeq::Result<CsvContent> readContent(const CsvColumnsValidator &validator,
                                                      int option = NoOption) const;

private:
    QString m_path;
    QChar m_separator;
};
