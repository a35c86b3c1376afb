// Column names read from the texts of CREATE TABLE and SELECT statements, without a database.

#include "FuzzSupport.h"
#include "SqlColumnsExtractor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    const QString query = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)zeq::SqlColumnsExtractor::getColumnsFromCreateTableQuery(query);
    (void)zeq::SqlColumnsExtractor::getColumnsFromSelectQuery(query);
    return 0;
}
