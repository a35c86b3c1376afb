#include "constants/CustomFieldsStringConstants.h"

namespace zeq
{

const QString CustomFieldsStringConstants::COL_FILEPATH = QStringLiteral("FilePath");
const QLatin1String CustomFieldsStringConstants::HEADER_NAME("CustomFields");
const QLatin1String CustomFieldsStringConstants::HEADER_CONTENT("HeaderContent");
const QLatin1String CustomFieldsStringConstants::TABLE_CONTENT("TableContent");
const QLatin1String CustomFieldsStringConstants::ATTRIBUTES_COLUMN_TYPE("ColumnType");
const QLatin1String CustomFieldsStringConstants::ATTRIBUTES_EXPECTATION("Expectation");
const QLatin1String CustomFieldsStringConstants::ATTRIBUTES_COLUMN_NAME("ColumnName");
const QLatin1String CustomFieldsStringConstants::MASS_TYPE("Mass");
const QLatin1String CustomFieldsStringConstants::SAMPLE_TYPE("SampleName");

} // namespace zeq
