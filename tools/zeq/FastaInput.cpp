#include "FastaInput.h"

#include "CommandLine.h"
#include "SeekableInput.h"
#include "zeq_qt_shared_libs_core/EncodingConverter.h"
#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <algorithm>

namespace zeq::cli
{

std::optional<int> readFastaProteins(const QString &path, FastaProteins *proteins)
{
    // The encoding check reads the file to its end before the reader starts again at the top: a
    // pipe is copied once, or the reader would find it empty.
    SeekableInput seekable;
    if (const Error err = seekable.open(path); err.hasError()) {
        return fail(kExitBadInput, err.errorString());
    }
    const QString file = seekable.fileName();
    EncodingConverter converter(file, "UTF-8");
    if (!converter.convertEncoding()) {
        return fail(kExitBadInput, converter.errorString().replace(file, path));
    }
    const QString input = converter.outputFileName();
    const Error err =
        readFasta(input.toStdWString(), 0, true, &proteins->names, &proteins->sequences, {}, &proteins->headerLines);
    if (err.hasError()) {
        // Line numbers in the UTF-8 copy are those of the file the user named.
        return fail(kExitBadInput, err.errorString().replace(input, path).replace(file, path));
    }
    return std::nullopt;
}

QString accessionOf(const QString &header)
{
    // "> P1 text" is still protein P1.
    const QStringView text = QStringView(header).trimmed();
    const auto blank = std::find_if(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
    return text.first(blank - text.cbegin()).toString();
}

} // namespace zeq::cli
