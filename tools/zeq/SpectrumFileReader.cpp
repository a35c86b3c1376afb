// The spectrum module: mzML, mzXML and MGF files read through the field's own reader library, and
// mzML written by it (SpectrumFileWriting.cpp). The library reports failures by throwing, so every
// call into it stays inside a try block.
#include "CommandLine.h"
#include "Modules.h"
#include "ProfileCentroider.h"
#include "SpectrumFileWriting.h"
#include "SpectrumSource_p.h"
#include "XmlCharacterReferences.h"
#include "pwiz/data/msdata/DefaultReaderList.hpp"
#include "pwiz/data/msdata/Serializer_MGF.hpp"
#include "pwiz/data/msdata/Serializer_mzML.hpp"
#include "pwiz/data/msdata/Serializer_mzXML.hpp"
#include "pwiz/data/msdata/SpectrumInfo.hpp"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>
#include <boost/make_shared.hpp>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>
#include <zlib.h>

namespace zeq::cli
{

namespace
{

using namespace pwiz::msdata;

/// mzML, mzXML and MGF only: the library's other readers would claim text files of their own
/// kinds that a user means as peak lists.
const ReaderList &spectrumReaders()
{
    static const ReaderList readers = [] {
        ReaderList list;
        list.push_back(ReaderPtr(new Reader_mzML));
        list.push_back(ReaderPtr(new Reader_mzXML));
        list.push_back(ReaderPtr(new Reader_MGF));
        return list;
    }();
    return readers;
}

double cvDouble(const ParamContainer &params, pwiz::cv::CVID id)
{
    const CVParam param = params.cvParam(id);
    return param.empty() ? 0.0 : param.valueAs<double>();
}

std::optional<Precursor> precursorOf(const pwiz::msdata::Spectrum &spectrum)
{
    if (spectrum.precursors.empty()) {
        return std::nullopt;
    }
    const pwiz::msdata::Precursor &first = spectrum.precursors.front();
    Precursor precursor;
    if (!first.selectedIons.empty()) {
        const SelectedIon &ion = first.selectedIons.front();
        precursor.mz = cvDouble(ion, pwiz::cv::MS_selected_ion_m_z);
        if (precursor.mz > 0.0) {
            precursor.statedMz = precursor.mz;
        }
        // An MGF's "CHARGE=2+ and 3+" states possible charges only, no charge of its own; a value
        // that is no whole number states none either, rather than failing the whole file.
        bool ok = false;
        const int charge = QString::fromStdString(ion.cvParam(pwiz::cv::MS_charge_state).value).toInt(&ok);
        if (ok && charge != 0) {
            precursor.statedCharge = charge;
        }
    }
    const IsolationWindow &window = first.isolationWindow;
    const double target = window.hasCVParam(pwiz::cv::MS_isolation_window_target_m_z)
        ? cvDouble(window, pwiz::cv::MS_isolation_window_target_m_z)
        : precursor.mz;
    if (precursor.mz <= 0.0) {
        precursor.mz = target;
    }
    precursor.isolationLow = target - cvDouble(window, pwiz::cv::MS_isolation_window_lower_offset);
    precursor.isolationHigh = target + cvDouble(window, pwiz::cv::MS_isolation_window_upper_offset);
    return precursor;
}

constexpr qint64 kPast64Bits = -2;

/// The whole number at the start of `text`; -1 when there is none, kPast64Bits when it exceeds 64
/// bits.
qint64 leadingNumber(std::string_view text)
{
    qint64 value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        return kPast64Bits;
    }
    return error == std::errc() && end != text.data() ? value : -1;
}

/// The value of `key` in a native id of blank-separated key=value pairs (see leadingNumber),
/// nullopt when absent.
std::optional<qint64> nativeIdValue(std::string_view id, std::string_view key)
{
    for (std::size_t at = 0; at < id.size();) {
        const std::size_t end = std::min(id.find(' ', at), id.size());
        const std::string_view pair = id.substr(at, end - at);
        if (pair.size() > key.size() && pair.substr(0, key.size()) == key && pair[key.size()] == '=') {
            return leadingNumber(pair.substr(key.size() + 1));
        }
        at = end + 1;
    }
    return std::nullopt;
}

/// The scan number of a spectrum, read as 64 bits (the library's own is an int, and wraps):
/// nullopt when the spectrum names none, -1 when what it names is no number, kPast64Bits.
std::optional<qint64> scanNumberOf(const pwiz::msdata::Spectrum &spectrum)
{
    for (const std::string_view key : { "scan", "scanId" }) {
        if (const std::optional<qint64> scan = nativeIdValue(spectrum.id, key)) {
            return scan;
        }
    }
    // MGF: SCANS=5, or a range 5-7 of which the first counts.
    const CVParam scans = spectrum.cvParam(pwiz::cv::MS_peak_list_scans);
    if (!scans.empty()) {
        return leadingNumber(scans.value);
    }
    const CVParam title = spectrum.cvParam(pwiz::cv::MS_spectrum_title);
    if (!title.empty()) {
        // "... scan=5 ..." as converters write it, or the "run.5.5.2" of search engines.
        static const QRegularExpression inTitle(
            QStringLiteral(R"((?:^|[^a-z])scans?[=:]\s*(\d+)|^\S+\.(\d+)\.\2\.\d+(?:\s|$))"),
            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = inTitle.match(QString::fromStdString(title.value));
        if (match.hasMatch()) {
            const QString digits = match.hasCaptured(1) ? match.captured(1) : match.captured(2);
            bool ok = false;
            const qint64 scan = digits.toLongLong(&ok);
            return ok ? scan : kPast64Bits;
        }
    }
    return std::nullopt;
}

/// Whether an mzML's index can be trusted: its first and last offsets land on a <spectrum> tag,
/// and it lists as many spectra as the spectrumList's count says. That costs two seeks and a read
/// of the header; a spectrum left out in the middle and a count that agrees with the index are not
/// caught. An unindexed file gets its offsets from the reader's own scan, and passes.
bool indexMatches(const std::string &path, const SpectrumList &list)
{
    std::ifstream in(path, std::ios::binary);
    const std::size_t size = list.size();
    const auto tagAt = [&in](boost::iostreams::stream_offset at) {
        char tag[10] = {};
        in.clear();
        in.seekg(at);
        return at >= 0 && in.read(tag, sizeof tag) && std::string_view(tag, 9) == "<spectrum"
            && std::isspace(static_cast<unsigned char>(tag[9]));
    };
    if (size > 0
        && (!tagAt(list.spectrumIdentity(0).sourceFilePosition)
            || !tagAt(list.spectrumIdentity(size - 1).sourceFilePosition))) {
        return false;
    }
    // The count attribute comes before the first spectrum, after a header of a few kilobytes.
    in.clear();
    in.seekg(0);
    std::string text;
    std::vector<char> chunk(1 << 16);
    for (std::size_t at = std::string::npos; at == std::string::npos || text.find('>', at) == std::string::npos;) {
        in.read(chunk.data(), std::streamsize(chunk.size()));
        if (in.gcount() <= 0) {
            return true;
        }
        text.append(chunk.data(), std::size_t(in.gcount()));
        at = text.find("<spectrumList");
    }
    const std::size_t open = text.find("<spectrumList");
    const std::string_view tag = std::string_view(text).substr(open, text.find('>', open) - open);
    const std::size_t count = tag.find(" count=\"");
    return count == std::string_view::npos || leadingNumber(tag.substr(count + 8)) == qint64(size);
}

/// A copy of the mzML at `path` stripped of its index wrapper, which the library then reads front to
/// back. The library's own switch for that expects no wrapper at all.
QString copyWithoutIndex(const std::string &path, QTemporaryFile &copy)
{
    std::ifstream in(path, std::ios::binary);
    if (!copy.open() || copy.write("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") < 0) {
        throw std::runtime_error("Can't copy it: " + copy.errorString().toStdString());
    }
    constexpr std::string_view kOpen = "<mzML";
    constexpr std::string_view kClose = "</mzML>";
    std::string text;
    std::vector<char> chunk(1 << 20);
    bool started = false;
    while (in.read(chunk.data(), std::streamsize(chunk.size())), in.gcount() > 0) {
        text.append(chunk.data(), std::size_t(in.gcount()));
        if (!started) {
            const std::size_t open = text.find(kOpen);
            if (open == std::string::npos) {
                continue;
            }
            text.erase(0, open);
            started = true;
        }
        const std::size_t close = text.find(kClose);
        const std::size_t keep =
            close != std::string::npos ? close + kClose.size() : text.size() - std::min(text.size(), kClose.size());
        if (copy.write(text.data(), qint64(keep)) != qint64(keep)) {
            throw std::runtime_error("Can't copy it: " + copy.errorString().toStdString());
        }
        if (close != std::string::npos) {
            break;
        }
        text.erase(0, keep);
    }
    copy.close();
    return copy.fileName();
}

/// The run in the file at `path`, of the library's reader `kind`, read through a stream of our own:
/// the library's own file stream keeps a read-ahead buffer that grows with the file to about 100 MB,
/// which a stream of spectra read one at a time has no use for. `indexedWrapper`: an mzML file in
/// an <indexedmzML> element.
std::unique_ptr<MSData> openRun(const std::string &path, const std::string &kind, bool indexedWrapper)
{
    auto in = boost::make_shared<std::ifstream>(path, std::ios::binary);
    if (!*in) {
        throw std::runtime_error("can't open it");
    }
    auto run = std::make_unique<MSData>();
    if (kind == Reader_mzML().getType()) {
        Serializer_mzML::Config config;
        config.indexed = indexedWrapper;
        Serializer_mzML(config).read(in, *run);
    } else if (kind == Reader_mzXML().getType()) {
        Serializer_mzXML().read(in, *run);
    } else {
        Serializer_MGF().read(in, *run);
    }
    return run;
}

Error readWithLibrary(const QString &path,
                      const QString &shownName,
                      const std::string &kind,
                      bool indexedWrapper,
                      const SpectrumSelection &selection,
                      qsizetype *skipped,
                      const SpectrumSink &sink)
{
    const bool mzML = kind == Reader_mzML().getType();
    // MGF has no word for profile points.
    const bool mgf = kind == Reader_MGF().getType();
    try {
        // An mzML whose index fails the checks above, or makes the library throw, is read again
        // from a copy without it: slower, but every spectrum is found.
        QTemporaryFile unindexed(QDir::tempPath() + QStringLiteral("/zeq_unindexed_XXXXXX"));
        std::unique_ptr<MSData> file;
        bool trusted = !mzML;
        std::exception_ptr indexedFailure;
        try {
            file = openRun(path.toStdString(), kind, indexedWrapper);
            trusted =
                trusted || !file->run.spectrumListPtr || indexMatches(path.toStdString(), *file->run.spectrumListPtr);
        } catch (const std::exception &) {
            if (!mzML) {
                throw;
            }
            indexedFailure = std::current_exception();
        }
        if (!trusted) {
            try {
                file = openRun(copyWithoutIndex(path.toStdString(), unindexed).toStdString(), kind, false);
            } catch (const std::exception &) {
                // Unreadable either way (a file cut short, say): the first reason is the one to report.
                if (indexedFailure) {
                    std::rethrow_exception(indexedFailure);
                }
                throw;
            }
            std::fprintf(stderr,
                         "zeq: warning: %s: its index does not match its spectra; read without it\n",
                         elide(shownName, 200).toUtf8().constData());
        }
        const SpectrumListPtr list = file->run.spectrumListPtr;
        const std::size_t count = list ? list->size() : 0;
        bool skippedMs1 = false;
        for (std::size_t i = 0; i < count; ++i) {
            // The header alone decides; the arrays are decoded only for the spectra kept.
            const SpectrumPtr header = list->spectrum(i, false);
            // The library's own number is an int: past 64 bits it fails saying only "bad lexical
            // cast", so such a number is refused here, naming the spectrum.
            const std::optional<qint64> own = scanNumberOf(*header);
            if (own == kPast64Bits) {
                Error err(kBadParameterError,
                          QStringLiteral("%1: spectrum %2: its scan number does not fit 64 bits")
                              .arg(shownName, elide(QString::fromStdString(header->id))));
                return ZEQ_ECATCH(err);
            }
            SpectrumInfo info(*header);
            const double rt = info.retentionTime / 60.0;
            // Native-id kinds without a scan key, which the library knows, keep its number.
            const qint64 scan = own && *own >= 0 ? *own : info.scanNumber;
            const bool precedingMs1 = selection.withPrecedingMs1 && info.msLevel == 1;
            if (!precedingMs1 && !selection.accepts(info.msLevel, scan, rt)) {
                continue;
            }
            const SpectrumPtr full = list->spectrum(i, true);
            info.update(*full, true);
            zeq::cli::Spectrum spectrum;
            spectrum.nativeId = QString::fromStdString(info.id);
            spectrum.scanNumber = scan > 0 ? scan : -1;
            spectrum.msLevel = info.msLevel;
            if (!full->scanList.scans.empty()
                && full->scanList.scans.front().hasCVParam(pwiz::cv::MS_scan_start_time)) {
                spectrum.retentionTime = rt;
            }
            spectrum.precursor = precursorOf(*full);
            spectrum.profile = mgf ? selection.listsAreProfile : full->hasCVParam(pwiz::cv::MS_profile_spectrum);
            spectrum.points.reserve(static_cast<qsizetype>(info.data.size()));
            for (const MZIntensityPair &pair : info.data) {
                spectrum.points.append(QPointF(pair.mz, pair.intensity));
            }
            if (const QString why = badPoint(spectrum.points); !why.isEmpty()) {
                warnSkipped(shownName, spectrum.nativeId, why);
                *skipped += 1;
                skippedMs1 = skippedMs1 || spectrum.msLevel == 1;
                continue;
            }
            spectrum.afterSkippedMs1 = std::exchange(skippedMs1, false);
            std::stable_sort(spectrum.points.begin(), spectrum.points.end(), [](const QPointF &a, const QPointF &b) {
                return a.x() < b.x();
            });
            if (Error err = sink(std::move(spectrum)); err.hasError()) {
                return err;
            }
        }
    } catch (const std::exception &e) {
        // The library's messages start with the throwing function in brackets; the user needs
        // only what went wrong.
        QString what = QString::fromLocal8Bit(e.what()).trimmed();
        if (what.startsWith(u'[') && what.indexOf(u']') > 0) {
            what = what.mid(what.indexOf(u']') + 1).trimmed();
        }
        Error err(kBadParameterError, QStringLiteral("%1: unreadable spectrum file: %2").arg(shownName, elide(what)));
        return ZEQ_ECATCH(err);
    }
    return Error();
}

/// `path` with its numeric character references decoded into `decoded` when it holds any (see
/// XmlCharacterReferences.h); `path` itself otherwise.
Result<QString> withoutNumericReferences(const QString &path, const QString &shownName, QTemporaryFile &decoded)
{
    const Result<bool> holds = holdsNumericReference(path, shownName);
    if (holds.hasError()) {
        Error err = holds.error();
        return ZEQ_ECATCH(err);
    }
    if (!holds.value()) {
        return path;
    }
    QFile original(path);
    if (!original.open(QIODevice::ReadOnly) || !decoded.open()) {
        Error err(kFileOpenError,
                  QStringLiteral("Can't copy %1: %2")
                      .arg(shownName, original.isOpen() ? decoded.errorString() : original.errorString()));
        return ZEQ_ECATCH(err);
    }
    Error err = decodeNumericReferences(original, decoded, shownName);
    if (!err.hasError() && !decoded.flush()) {
        err = Error(kFileOpenError, QStringLiteral("Can't copy %1: %2").arg(shownName, decoded.errorString()));
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    decoded.close();
    return decoded.fileName();
}

/// A gzip-compressed file's content, read through zlib; closed when it goes.
class GzipInput
{
public:
    explicit GzipInput(const QString &path)
        : m_name(QFile::encodeName(path))
        , m_in(gzopen(m_name.constData(), "rb"))
    {
    }
    ~GzipInput()
    {
        if (m_in) {
            gzclose(m_in);
        }
    }
    GzipInput(const GzipInput &) = delete;
    GzipInput &operator=(const GzipInput &) = delete;

    [[nodiscard]] bool isOpen() const { return m_in != nullptr; }
    /// Up to `size` bytes of content, 0 at its end, -1 where the compressed data is damaged.
    int read(char *data, qsizetype size) { return gzread(m_in, data, unsigned(size)); }
    /// A file cut short ends like a whole one: only the stream's state tells them apart.
    [[nodiscard]] bool damaged() const
    {
        int code = Z_OK;
        gzerror(m_in, &code);
        return code != Z_OK && code != Z_STREAM_END;
    }
    [[nodiscard]] Error damage(const QString &shownName) const
    {
        int code = Z_OK;
        // zlib's messages of a damaged stream start with the path it was given.
        QByteArray why = gzerror(m_in, &code);
        if (why.startsWith(m_name + ": ")) {
            why.remove(0, m_name.size() + 2);
        }
        return Error(kBadParameterError,
                     QStringLiteral("%1: unreadable spectrum file: its gzip compression is damaged (%2)")
                         .arg(shownName, QString::fromLocal8Bit(why)));
    }

private:
    QByteArray m_name;
    gzFile m_in;
};

Error cannotDecompress(const QString &shownName, const QString &why)
{
    return Error(kFileOpenError, QStringLiteral("Can't decompress %1: %2").arg(shownName, why));
}

/// The first 4 KiB of a file, of its content when it is gzip-compressed.
struct FileHead {
    QByteArray bytes;
    bool gzipped = false;
};

Result<FileHead> headOf(const QString &path, const QString &shownName)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(shownName, file.errorString()));
        return ZEQ_ECATCH(err);
    }
    FileHead head{ file.read(4096), false };
    if (!head.bytes.startsWith("\x1f\x8b")) {
        return head;
    }
    head.gzipped = true;
    GzipInput in(path);
    if (!in.isOpen()) {
        Error err = cannotDecompress(shownName, QString::fromLocal8Bit(std::strerror(errno)));
        return ZEQ_ECATCH(err);
    }
    head.bytes.resize(4096);
    const int got = in.read(head.bytes.data(), head.bytes.size());
    if (got < 0) {
        Error err = in.damage(shownName);
        return ZEQ_ECATCH(err);
    }
    head.bytes.resize(got);
    return head;
}

/// The gzip-compressed file at `path` decompressed into `plain`, a chunk at a time.
Result<QString> decompressed(const QString &path, const QString &shownName, QTemporaryFile &plain)
{
    GzipInput in(path);
    if (!in.isOpen() || !plain.open()) {
        Error err = cannotDecompress(shownName,
                                     in.isOpen() ? plain.errorString() : QString::fromLocal8Bit(std::strerror(errno)));
        return ZEQ_ECATCH(err);
    }
    std::vector<char> chunk(1 << 16);
    int read = 0;
    bool written = true;
    while (written && (read = in.read(chunk.data(), qsizetype(chunk.size()))) > 0) {
        written = plain.write(chunk.data(), read) == read;
    }
    if (!written || !plain.flush()) {
        Error err = cannotDecompress(shownName, plain.errorString());
        return ZEQ_ECATCH(err);
    }
    if (read < 0 || in.damaged()) {
        Error err = in.damage(shownName);
        return ZEQ_ECATCH(err);
    }
    return plain.fileName();
}

/// The library's reader type for a file starting with `head`, empty when none claims it. The XML
/// readers look for the root element in a 512-byte buffer they do not terminate, so they get a
/// head that ends within it. The MGF reader goes by the file's name alone: a file with a line
/// "BEGIN IONS" near its start is MGF whatever its name (standard input, a decompressed copy).
std::string kindOf(const QString &path, const QByteArray &head)
{
    const std::string xml = head.left(511).toStdString() + '\0';
    try {
        for (const ReaderPtr &reader : spectrumReaders()) {
            const std::string kind = reader->identify(path.toStdString(), xml);
            if (!kind.empty()) {
                return kind;
            }
        }
    } catch (const std::exception &) {
    }
    static const QRegularExpression ions(QStringLiteral("(^|\n)BEGIN IONS\r?(\n|$)"));
    return QString::fromLatin1(head).contains(ions) ? Reader_MGF().getType() : std::string();
}

class SpectrumFiles final : public SpectrumModule
{
public:
    std::optional<Error> read(const QString &path,
                              const QString &shownName,
                              const SpectrumSelection &selection,
                              qsizetype *skipped,
                              const SpectrumSink &sink) override
    {
        const Result<FileHead> head = headOf(path, shownName);
        if (head.hasError()) {
            Error err = head.error();
            return ZEQ_ECATCH(err);
        }
        const std::string kind = kindOf(path, head.value().bytes);
        if (kind.empty()) {
            return std::nullopt;
        }
        // Compressed files are read from a plain copy: the library's own compressed stream corrupts
        // its heap on some damaged files, and the plain path decodes numeric references too.
        QTemporaryFile plain(QDir::tempPath() + QStringLiteral("/zeq_gunzipped_XXXXXX"));
        QString readable = path;
        if (head.value().gzipped) {
            const Result<QString> copy = decompressed(path, shownName, plain);
            if (copy.hasError()) {
                Error err = copy.error();
                return ZEQ_ECATCH(err);
            }
            readable = copy.value();
        }
        QTemporaryFile decoded(QDir::tempPath() + QStringLiteral("/zeq_decoded_XXXXXX"));
        const Result<QString> readPath = kind == Reader_MGF().getType()
            ? Result<QString>(readable)
            : withoutNumericReferences(readable, shownName, decoded);
        if (readPath.hasError()) {
            Error err = readPath.error();
            return ZEQ_ECATCH(err);
        }
        if (readPath.value() != readable && plain.isOpen()) {
            plain.remove(); // one plain copy on disk is enough
        }
        const bool indexedWrapper = head.value().bytes.contains("<indexedmzML");
        return readWithLibrary(readPath.value(), shownName, kind, indexedWrapper, selection, skipped, sink);
    }

    Result<QList<QPointF>> centroid(const QList<QPointF> &profile) override
    {
        try {
            return centroidProfile(profile);
        } catch (const std::exception &e) {
            Error err(kError, QStringLiteral("can't centroid it: %1").arg(QString::fromLocal8Bit(e.what())));
            return ZEQ_ECATCH(err);
        }
    }

    Result<QByteArray> mzMLDocument(const QList<QPointF> &points, qsizetype sourceCount) override
    {
        return writeSummedMzML(points, sourceCount);
    }

    Result<QByteArray> mzMLRun(const QList<SpectrumToSave> &spectra) override { return writeMzMLRun(spectra); }
};

} // namespace

} // namespace zeq::cli

extern "C" Q_DECL_EXPORT zeq::cli::SpectrumModule *zeq_spectra_module()
{
    static zeq::cli::SpectrumFiles module;
    return &module;
}
