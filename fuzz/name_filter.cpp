// File-dialog filter texts ("Text (*.txt);;CSV (*.csv)"), mask texts and type names, one per line,
// then the queries on the filter they built.

#include "FileExtensionsNameFilter.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    const QList<QString> lines = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(u'\n');
    FileExtensionsNameFilter filter;
    for (const QString &line : lines) {
        filter.addExtension(line);
        filter.addExtension(line.section(u'\t', 0, 0), line.section(u'\t', 1));
    }
    const FileExtensionsNameFilter typed = FileExtensionsNameFilter::fromExtensionTypes(lines);
    FileExtensionsNameFilter reread;
    reread.addExtension(filter.toFilterString());
    for (const QString &line : lines) {
        (void)filter.passesFilter(line);
        (void)filter.containsSuffix(line);
        (void)typed.passesFilter(line);
    }
    (void)(reread == filter);
    (void)filter.fileMasks();
    return 0;
}
