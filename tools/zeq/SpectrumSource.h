#pragma once

#include "utils/Result.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <functional>
#include <limits>
#include <optional>

namespace zeq::cli
{

/// The precursor of an MS2 spectrum: its selected m/z and the m/z range the instrument isolated.
struct Precursor {
    double mz = 0.0; ///< the selected ion's m/z, else the isolation window's target
    double isolationLow = 0.0;
    double isolationHigh = 0.0;
    /// What the file itself states for the selected ion (mzML selected ion m/z and charge state,
    /// mzXML precursorMz and precursorCharge, MGF PEPMASS and CHARGE), nullopt when it states none.
    std::optional<double> statedMz;
    std::optional<int> statedCharge;
};

/// One spectrum of a file, its points centroided and ascending by m/z.
struct Spectrum {
    QString nativeId;
    qint64 scanNumber = -1; ///< -1 when the file gives none
    int msLevel = 1;
    double retentionTime = std::numeric_limits<double>::quiet_NaN(); ///< minutes; NaN when unknown
    std::optional<Precursor> precursor;
    /// The points sample a profile rather than peaks: the file says so (mzML "profile spectrum", mzXML
    /// centroided="0"), or --profile for MGF files and peak lists, which cannot. Never true once centroided.
    bool profile = false;
    /// An MS1 spectrum left out for impossible numbers came between the previous spectrum read
    /// and this one: an MS2 spectrum here has no MS1 spectrum before it to pair with.
    bool afterSkippedMs1 = false;
    QList<QPointF> points;
};

/// Which spectra are centroided when read (--peak-picking): Auto those whose points sample a profile.
enum class PeakPicking : qint32 { Auto = 0, Always = 1, Never = 2 };

/// Which spectra of a file to read, and how; an empty scan list takes every scan.
struct SpectrumSelection {
    int msLevel = 1; ///< 0 takes every level
    QList<qint64> scans;
    double rtStart = -std::numeric_limits<double>::infinity(); ///< minutes
    double rtEnd = std::numeric_limits<double>::infinity();
    /// The MS1 spectra before the selected MS2 spectra are read too, whatever msLevel says.
    bool withPrecedingMs1 = false;
    PeakPicking peakPicking = PeakPicking::Auto;
    /// The points of MGF files and peak lists, which cannot say, sample profiles (--profile).
    bool listsAreProfile = false;

    [[nodiscard]] bool accepts(int level, qint64 scan, double rt) const;
};

/// The selected spectra of a spectrum file, in file order: mzML (plain or indexed, arrays
/// compressed or not, 32- or 64-bit), mzXML, MGF, or a two-column peak list (one spectrum, scan 1;
/// "-" reads standard input). The file kind is told from its content, not its name. Fails, naming
/// the file, when it is missing, a folder, truncated, or holds neither spectra nor a peak list.
/// A pipe is read once, as standard input is. The scan number comes from the native id
/// ("scan=N"), else an MGF's SCANS=, else its TITLE ("scan=N", or "name.N.N.charge").
/// A spectrum with an m/z that is not a finite, non-negative number, or an intensity that is not
/// finite (e.g. a file written with the wrong byte order), is left out with a warning on standard
/// error naming it, and counted in `*skipped` when given. Spectra are centroided as
/// `selection.peakPicking` says, by the spectrum module (see SpectrumModule::centroid).
Result<QList<Spectrum>>
readSpectra(const QString &path, const SpectrumSelection &selection, qsizetype *skipped = nullptr);

/// Receives the spectra of a file one at a time; an error it returns ends the reading with that error.
using SpectrumSink = std::function<Error(Spectrum &&)>;

/// As readSpectra, handing each spectrum to `sink` as soon as it is read (and centroided), so that
/// no more than one spectrum of the file is held at a time.
Error readSpectra(const QString &path,
                  const SpectrumSelection &selection,
                  qsizetype *skipped,
                  const SpectrumSink &sink);

/// Fails as readSpectra does when `path` is missing or a folder: what can be told before reading.
Error checkSpectrumFile(const QString &path);

/// "; N skipped" for a summary line when readSpectra left spectra out, else empty.
QString skippedNote(qsizetype skipped);

} // namespace zeq::cli
