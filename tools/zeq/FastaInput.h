#pragma once

#include "SeekableInput.h"
#include "zeq_common_stable/Error.h"

#include <QString>

#include <optional>

namespace zeq::cli
{

/// A FASTA file named on the command line, ready for the library's readers, which go over a file
/// twice (the encoding check, then the proteins): standard input or a pipe is copied to a
/// temporary file first.
class FastaInput
{
public:
    /// Returns the exit status of a failure, already reported in a line that names the file.
    std::optional<int> open(const QString &path);
    /// The file to hand the library.
    [[nodiscard]] QString fileName() const { return m_input.fileName(); }
    /// Reports `err` of a library reader in one line naming the file as the user gave it; returns
    /// kExitBadInput.
    int fail(const Error &err) const;

private:
    QString m_path;
    SeekableInput m_input;
};

} // namespace zeq::cli
