// Helpers shared by the fuzz targets: readers that only take a path get the input through a
// scratch file, and the library's warnings about bad input are silenced, since every input is bad
// and printing them would dominate the run.
#pragma once

#include <QDir>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace zeq_fuzz
{

inline void silenceQtMessages()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

namespace detail
{
/// Removes the scratch files when the process ends normally.
struct ScratchFiles {
    ~ScratchFiles()
    {
        for (const std::string &path : paths)
            std::remove(path.c_str());
    }
    std::vector<std::string> paths;
};
} // namespace detail

/// Writes the input to this process's scratch file `name` in the temporary folder, replacing what
/// the previous input left, and returns its path.
inline QString writeScratchFile(const uint8_t *data, size_t size, const char *name)
{
    const QString path = QDir::tempPath() + QStringLiteral("/zeq_fuzz_%1_%2").arg(getpid()).arg(QLatin1String(name));
    const std::string local = path.toStdString();
    static detail::ScratchFiles scratch;
    if (std::find(scratch.paths.begin(), scratch.paths.end(), local) == scratch.paths.end())
        scratch.paths.push_back(local);
    std::FILE *file = std::fopen(local.c_str(), "wb");
    if (!file)
        qFatal("cannot write %s", qPrintable(path));
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        qFatal("cannot write %s", qPrintable(path));
    std::fclose(file);
    return path;
}

} // namespace zeq_fuzz
