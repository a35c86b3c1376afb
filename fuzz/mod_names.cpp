// Modification name texts, one per line: "name/mass", "5|Oxidation;12|Deamidation", mutation names
// such as "Mutation A->G", and the cross-link names of result files.

#include "FuzzSupport.h"
#include "db/ModificationsManager.h"
#include "utils/TessanUtilsXlinkNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    zeq::ModificationsManager manager;
    for (QString line : text.split(u'\n')) {
        QString name;
        double mass = 0.0;
        zeq::ErrorWarningMessages messages;
        (void)zeq::ModificationsManager::parseModificationNameWithMass(line, &name, &mass, &messages);
        QString names;
        QString positions;
        (void)manager.modNamesAndPositionsListFromTessanStyleMods(line, &names, &positions);
        zeq::ModificationsManager::ModificationsEntry entry;
        entry.setModName(line);

        zeq::XlinkInfo info;
        if (zeq::isInterPeptideXlink(line) || zeq::isInterPeptideDecoyXlink(line))
            (void)zeq::parseInterPeptideXlinkName(line, info);
        QString suffix;
        QString linkName;
        bool isDisulfide = false;
        if (zeq::isIntraPeptideXlink(line))
            (void)zeq::parseIntraPeptideXlinkName(line, suffix, linkName, &isDisulfide);
    }
    return 0;
}
