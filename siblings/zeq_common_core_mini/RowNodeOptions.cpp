#include "zeq_common_core_mini/RowNodeOptions.h"

namespace rn
{

Error createOptions(RowNode *options, const QList<QString> &names)
{
    Error err;
    if (!options) {
        err.setError(kBadParameterError).addErrorMessage(QStringLiteral("No options table"));
        return ZEQ_ECATCH(err);
    }
    // Every name is checked before the table changes, so a refused call leaves it as it was.
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].isEmpty()) {
            err.setError(kBadParameterError)
                .addErrorMessage(QStringLiteral("Empty option name at index %1 of %2").arg(i).arg(names.size()));
            return ZEQ_ECATCH(err);
        }
    }
    if (options->getChildListSize() == 0) {
        options->addNewChildMatchRootDataSize();
    }
    for (const QString &name : names) {
        if (!options->rootHasData(name)) {
            options->addDataToRootAndResizeChildren(name, QVariant(), true);
        }
    }
    return err;
}

Error setOption(RowNode *options, const QString &name, const QVariant &value)
{
    Error err;
    if (!options) {
        err.setError(kBadParameterError).addErrorMessage(QStringLiteral("No options table"));
        return ZEQ_ECATCH(err);
    }
    const int column = options->getColumnIndexFromName(name);
    if (column < 0 || options->getChildListSize() == 0) {
        err.setError(kBadParameterError).addErrorMessage(QStringLiteral("Unknown option %1").arg(name));
        return ZEQ_ECATCH(err);
    }
    options->getChild(0)->getDataAt(column) = value;
    return err;
}

QVariant option(const RowNode &options, const QString &name, const QVariant &defaultValue)
{
    const int column = options.getColumnIndexFromName(name);
    const RowNode *values = options.getChild(0);
    return column < 0 || !values ? defaultValue : values->getDataAt(column);
}

} // namespace rn
