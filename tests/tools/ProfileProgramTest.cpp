// Runs `zeq deisotope` on profile spectra as an orbital-trap instrument records them, beside their
// centroided copies: centroiding as the file is read must give the clusters the copy gives.
#include "support/ProfileRun.h"
#include "support/ZeqRun.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace zeq::test;

namespace
{

struct Found {
    int scan;
    int charge;
    double mono;
};

/// The clusters of a `zeq deisotope --format csv` run, read by column name.
QList<Found> clustersOf(const QStringList &args)
{
    const Outcome result = runZeq(QStringList{ u"deisotope"_qs, u"--format"_qs, u"csv"_qs } + args);
    EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
    QStringList rows = result.out.split(u'\n', Qt::SkipEmptyParts);
    if (rows.isEmpty()) {
        return {};
    }
    const QStringList header = rows.takeFirst().split(u',');
    QList<Found> found;
    for (const QString &row : rows) {
        const QStringList cells = row.split(u',');
        found.append({ cells.at(header.indexOf(u"scan"_qs)).toInt(),
                       cells.at(header.indexOf(u"charge"_qs)).toInt(),
                       cells.at(header.indexOf(u"mono_mz"_qs)).toDouble() });
    }
    return found;
}

/// How many of `expected` have a cluster in `found` of the same scan and charge, mono m/z within 10 ppm.
qsizetype matched(const QList<Found> &expected, const QList<Found> &found)
{
    qsizetype count = 0;
    for (const Found &e : expected) {
        count += std::any_of(found.cbegin(),
                             found.cend(),
                             [&e](const Found &f) {
                                 return f.scan == e.scan && f.charge == e.charge
                                     && std::abs(f.mono - e.mono) <= 10e-6 * e.mono;
                             })
            ? 1
            : 0;
    }
    return count;
}

QList<Found> truthOf(const ProfileRun &run)
{
    QList<Found> truth;
    for (const TruthCluster &t : run.truth) {
        if (t.role != TruthCluster::Precursor) {
            truth.append({ t.scan, t.charge, t.monoMz });
        }
    }
    return truth;
}

class ProfileProgramTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        ProfileRunOptions options;
        options.ms1Count = 2;
        options.clustersPerMs1 = 12;
        s_run = new ProfileRun(makeProfileRun(options));
        ASSERT_EQ(s_run->write(s_dir->path(), SpectrumFileKind::MzML64Zlib), QString());
        options.ms1Count = 1;
        options.sampling.noiseSigma = 300.0;
        s_noisy = new ProfileRun(makeProfileRun(options));
        ASSERT_EQ(writeSpectrumFile(path("noisy.mzML"), SpectrumFileKind::MzML64Zlib, s_noisy->profile), QString());
        ASSERT_EQ(writeSpectrumFile(path("noisy_centroid.mzML"), SpectrumFileKind::MzML64Zlib, s_noisy->centroids),
                  QString());
        // The same profile points, but the file calls them centroids: what older runs searched.
        QList<SpectrumToWrite> unmarked = s_run->profile;
        for (SpectrumToWrite &s : unmarked) {
            s.profile = false;
        }
        ASSERT_EQ(writeSpectrumFile(path("unmarked.mzML"), SpectrumFileKind::MzML64Zlib, unmarked), QString());
        QFile list(path("scan1.txt"));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        for (const QPointF &p : s_run->profile.constFirst().points) {
            list.write(QStringLiteral("%1 %2\n").arg(p.x(), 0, 'f', 7).arg(p.y(), 0, 'f', 3).toUtf8());
        }
    }
    static void TearDownTestSuite()
    {
        delete s_run;
        delete s_noisy;
        delete s_dir;
    }
    static QString path(const char *name) { return s_dir->filePath(QString::fromUtf8(name)); }

    static inline QTemporaryDir *s_dir = nullptr;
    static inline ProfileRun *s_run = nullptr;
    static inline ProfileRun *s_noisy = nullptr; ///< one MS1 and one MS2 spectrum under a noise floor
};

} // namespace

TEST_F(ProfileProgramTest, ProfileGivesTheClustersOfItsCentroidedCopy)
{
    const QStringList all{ u"--ms-level"_qs, u"all"_qs };
    const QList<Found> fromCentroids = clustersOf(all + QStringList{ path("centroid.mzML") });
    const QList<Found> fromProfile = clustersOf(all + QStringList{ path("profile.mzML") });
    ASSERT_GE(fromCentroids.size(), 20);
    EXPECT_EQ(matched(fromCentroids, fromProfile), fromCentroids.size());
    EXPECT_EQ(fromProfile.size(), fromCentroids.size());

    // Under a noise floor the weakest isotopes sink, so a cluster or two may go, but the noise
    // itself must not become clusters.
    const QList<Found> truth = truthOf(*s_noisy);
    const qsizetype fromNoisyCentroids = matched(truth, clustersOf(all + QStringList{ path("noisy_centroid.mzML") }));
    const QList<Found> fromNoisy = clustersOf(all + QStringList{ path("noisy.mzML") });
    EXPECT_GE(matched(truth, fromNoisy), fromNoisyCentroids - 2);
    EXPECT_LE(fromNoisy.size(), truth.size() + 2);
}

TEST_F(ProfileProgramTest, PeakPickingAndProfileOptionsDecideWhatIsCentroided)
{
    const QStringList all{ u"--ms-level"_qs, u"all"_qs };
    const QList<Found> centroided = clustersOf(all + QStringList{ path("profile.mzML") });
    const QList<Found> asRead = clustersOf(all + QStringList{ path("unmarked.mzML") });
    // never: the profile points searched as they are, as before centroiding existed.
    const QList<Found> never = clustersOf(all + QStringList{ u"--peak-picking"_qs, u"never"_qs, path("profile.mzML") });
    EXPECT_EQ(matched(asRead, never), asRead.size());
    EXPECT_EQ(never.size(), asRead.size());
    EXPECT_LT(matched(centroided, never), centroided.size());
    // always: a file that calls its profile points centroids is centroided all the same.
    const QList<Found> always =
        clustersOf(all + QStringList{ u"--peak-picking"_qs, u"always"_qs, path("unmarked.mzML") });
    EXPECT_EQ(matched(centroided, always), centroided.size());
    // A peak list is centroids unless --profile says otherwise. Its points are the file's rounded
    // to print, which can tip the improved search's estimate of the model's width; the design's
    // search, whose width is fixed, keeps the comparison about what is centroided.
    const QStringList design{ u"--mode"_qs, u"design"_qs };
    const QList<Found> scan1 = clustersOf(design + QStringList{ u"--scan"_qs, u"1"_qs, path("profile.mzML") });
    EXPECT_EQ(matched(scan1, clustersOf(design + QStringList{ u"--profile"_qs, path("scan1.txt") })), scan1.size());
    EXPECT_LT(matched(scan1, clustersOf(design + QStringList{ path("scan1.txt") })), scan1.size());
}
