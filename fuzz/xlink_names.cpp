// Cross-link names of result files, one per line, given to both parsers whatever their tag.

#include "FuzzSupport.h"
#include "utils/TessanUtilsXlinkNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &line : text.split(u'\n')) {
        zeq::XlinkInfo info;
        (void)zeq::parseInterPeptideXlinkName(line, info);
        QString suffix;
        QString linkName;
        bool isDisulfide = false;
        (void)zeq::parseIntraPeptideXlinkName(line, suffix, linkName, &isDisulfide);
    }
    return 0;
}
