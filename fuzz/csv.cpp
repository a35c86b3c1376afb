// CSV texts into a row tree, with and without padding of short records, and through the reader
// that checks for expected columns.

#include "FuzzSupport.h"
#include "io/RowNodeCsvReader.h"
#include "zeq_common_core_mini/CsvColumnsReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    const QString path = zeq_fuzz::writeScratchFile(data, size, "table.csv");
    RowNode table;
    const int option = size % 2 == 0 ? CsvColumnsReader::NoOption : CsvColumnsReader::PadShortRecords;
    (void)zeq::readCSVFile_HeaderRowExpected(path, table, CsvColumnsValidator(), option);

    RowNode checked;
    QString errorText;
    QString secondText;
    (void)zeq::readCSVFileWithExpectedColumns(
        path, &checked, { QStringLiteral("Name"), QStringLiteral("Mass") }, &errorText, &secondText, option);
    return 0;
}
