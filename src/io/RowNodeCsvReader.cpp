#include "io/RowNodeCsvReader.h"

#include "ZeqLogging.h"
#include "zeq_common_core_mini/CsvColumnsReader.h"

namespace zeq
{

Error readCSVFile_HeaderRowExpected(const QString &path,
                                    RowNode &table,
                                    const CsvColumnsValidator &validator,
                                    int option)
{
    Result<CsvContent> read = CsvColumnsReader(path).readContent(validator, option);
    if (!read.hasValue()) {
        Error err = read.error();
        qCWarning(lcCore) << "Can't load CSV file" << path << err.errorMessages();
        return ZEQ_ECATCH(err);
    }
    CsvContent content = std::move(read).value();
    QList<CsvContent::Record> records = content.takeRecords();
    const qsizetype columnCount = content.columns().size();

    table.addData(content.columns(), true);
    table.children().reserve(table.children().size() + records.size());
    for (CsvContent::Record &record : records) {
        VariantItems &cells = table.addNewChildMatchRootDataSize()->data();
        for (qsizetype j = 0; j < columnCount; ++j) {
            cells[j] = std::move(record[j]).trimmed();
        }
        // Each record's list goes as soon as its texts have moved into the tree, which keeps the
        // peak near one copy of the table.
        CsvContent::Record().swap(record);
    }
    return Error();
}

Error readCSVFileWithExpectedColumns(const QString &path,
                                     RowNode *table,
                                     const QList<QString> &expected,
                                     QString *errorText,
                                     QString *secondText,
                                     int option)
{
    Error err;
    for (QString *text : { errorText, secondText }) {
        if (text) {
            text->clear();
        }
    }
    if (table) {
        table->clear();
        err = readCSVFile_HeaderRowExpected(
            path, *table, CsvColumnsValidator(expected, {}, false, Qt::CaseSensitive), option);
    } else {
        err = Error(kBadParameterError, QStringLiteral("No table to load %1 into").arg(path));
    }
    if (err.hasError()) {
        if (errorText) {
            *errorText = err.errorMessages().join(u'\n');
        }
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace zeq
