#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/CsvColumnsValidator.h"
#include "zeq_common_core_mini/RowNode.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QString>

namespace zeq
{

/// Loads a CSV file with a header line into `table`: the root's data become the header's names,
/// in file order, and each record is appended as a child row of text cells, white space trimmed.
/// `option` is a set of CsvColumnsReader::Option flags. On failure (file unreadable, malformed,
/// header refused by `validator`) a warning is logged, the reader's error is returned and `table`
/// is left as it was.
ZEQ_COMMON_CORE_EXPORT Error readCSVFile_HeaderRowExpected(const QString &path,
                                                           RowNode &table,
                                                           const CsvColumnsValidator &validator,
                                                           int option);

/// Clears `table` and both texts, then loads the file, which must have every `expected` column
/// (matched case-sensitively; other columns are welcome). On failure `errorText` receives the
/// error's messages, one per line, and `table` stays empty. `secondText` is only cleared.
/// kBadParameterError for a null table.
ZEQ_COMMON_CORE_EXPORT Error readCSVFileWithExpectedColumns(const QString &path,
                                                            RowNode *table,
                                                            const QList<QString> &expected,
                                                            QString *errorText,
                                                            QString *secondText,
                                                            int option);

} // namespace zeq
