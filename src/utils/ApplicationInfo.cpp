#include "utils/ApplicationInfo.h"

#include <QHash>

namespace zeq
{

namespace
{

using Properties = ApplicationInfo::Properties;

Properties row(const QString &name, const QString &prefix, const QString &friendly, ApplicationFamily family)
{
    return { name, prefix + QStringLiteral("Settings.ini"), prefix + QStringLiteral("UI.ini"), friendly, family };
}

// Built on first use under the thread-safe initialisation of function-local statics.
const QHash<ApplicationType, Properties> &propertiesTable()
{
    static const QHash<ApplicationType, Properties> table = {
        { UnknownApplication, row(QStringLiteral("zeq"), QStringLiteral("Zeq"), QStringLiteral("Zeq"), UnknownFamily) },
        { Lumet, row(QStringLiteral("lumet"), QStringLiteral("Lumet"), QStringLiteral("Lumet"), PeptideFamily) },
        { Tessan, row(QStringLiteral("tessan"), QStringLiteral("Tessan"), QStringLiteral("Tessan"), ToolsFamily) },
        { Halvane,
          row(QStringLiteral("halvane"), QStringLiteral("Halvane"), QStringLiteral("Halvane"), PeptideFamily) },
        { QuViewer,
          row(QStringLiteral("quviewer"), QStringLiteral("QuViewer"), QStringLiteral("Qu Viewer"), ToolsFamily) },
        { Intact,
          row(QStringLiteral("intact"), QStringLiteral("Intact"), QStringLiteral("Intact Mass"), IntactMassFamily) },
        { IntactBatch,
          row(QStringLiteral("intactbatch"),
              QStringLiteral("IntactBatch"),
              QStringLiteral("Intact Mass Batch"),
              IntactMassFamily) },
        { Corvin, row(QStringLiteral("corvin"), QStringLiteral("Corvin"), QStringLiteral("Corvin"), SuiteFamily) },
        { Queuer, row(QStringLiteral("queuer"), QStringLiteral("Queuer"), QStringLiteral("Queuer"), ToolsFamily) },
        { Ovta, row(QStringLiteral("ovta"), QStringLiteral("Ovta"), QStringLiteral("OVTA"), PeptideFamily) },
        { Ferrow, row(QStringLiteral("ferrow"), QStringLiteral("Ferrow"), QStringLiteral("Ferrow"), PeptideFamily) },
        { Krq, row(QStringLiteral("krq"), QStringLiteral("Krq"), QStringLiteral("KRQ"), PeptideFamily) },
        { Oligo, row(QStringLiteral("oligo"), QStringLiteral("Oligo"), QStringLiteral("Oligo"), PeptideFamily) },
        { Altivo, row(QStringLiteral("altivo"), QStringLiteral("Altivo"), QStringLiteral("Altivo"), ToolsFamily) },
        { ModificationsEditor,
          row(QStringLiteral("modificationsui"),
              QStringLiteral("ModificationsUI"),
              QStringLiteral("Modifications Editor"),
              ToolsFamily) },
        { CorvinBatch,
          row(QStringLiteral("corvinbatch"),
              QStringLiteral("CorvinBatch"),
              QStringLiteral("Corvin Batch"),
              SuiteFamily) },
    };
    return table;
}

} // namespace

ApplicationInfo::ApplicationInfo(ApplicationType type)
    : m_type(type)
    , m_properties(propertiesForType(type))
{
}

ApplicationInfo::Properties ApplicationInfo::propertiesForType(ApplicationType type)
{
    const QHash<ApplicationType, Properties> &table = propertiesTable();
    return table.value(type, table.value(UnknownApplication));
}

bool ApplicationInfo::isApplication(const QList<ApplicationType> &types) const
{
    return types.contains(m_type);
}

bool ApplicationInfo::isCorvinApp() const
{
    return isApplication({ Corvin, CorvinBatch });
}

bool ApplicationInfo::isIntactFamily() const
{
    return isApplication({ Intact, IntactBatch });
}

} // namespace zeq
