#pragma once

#include "zeq_common_stable/Error.h"

#include <QString>
#include <QTemporaryFile>

#include <memory>

namespace zeq::cli
{

/// An input named on the command line as a file that readers can open by name, read twice and
/// seek in. A regular file is used where it is; standard input ("-"), a pipe, a process
/// substitution or a device is read once, to its end, into a temporary copy that lives as long as
/// this object.
class SeekableInput
{
public:
    /// Fails, naming the input, when reading it or writing the copy fails (a full temporary
    /// folder): a copy is never used cut short. A missing file or a folder is left to the reader.
    Error open(const QString &path);
    /// The file to read: the path given, or the copy.
    [[nodiscard]] QString fileName() const { return m_fileName; }
    /// The input as messages name it: the path given, or "standard input".
    [[nodiscard]] QString shownName() const { return m_shownName; }

private:
    QString m_fileName;
    QString m_shownName;
    std::unique_ptr<QTemporaryFile> m_copy;
};

} // namespace zeq::cli
