#include "FastaInput.h"

#include "CommandLine.h"

namespace zeq::cli
{

std::optional<int> FastaInput::open(const QString &path)
{
    m_path = path;
    if (const Error err = m_input.open(path); err.hasError()) {
        return zeq::cli::fail(kExitBadInput, err.errorString());
    }
    return std::nullopt;
}

int FastaInput::fail(const Error &err) const
{
    // A copy of standard input is named as the user named it.
    return zeq::cli::fail(kExitBadInput, err.errorString().replace(m_input.fileName(), m_path));
}

} // namespace zeq::cli
