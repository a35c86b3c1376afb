#include "zeq_qt_shared_libs_core/AveragineIsotopeDistribution.h"

#include "IsotopeConvolution_p.h"
#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <numeric>

// Below ExactLimit every distinct rounded composition has its own pattern: one atom more changes a
// fraction of a small molecule by up to 0.01, so masses cannot share patterns there. The patterns are
// built a chunk of masses at a time, walking the masses at which some atom count steps up and adding
// that atom to the previous distribution, which is far cheaper than a fresh convolution per pattern.
//
// Above ExactLimit one atom moves a fraction by less than 1e-5, and bins of BinWidth Da share the
// pattern of their centre (error below 3e-4); exact patterns up to MaxMass would take ~0.5 GB.

namespace
{

using Counts = std::array<int, 5>;

constexpr double AveragineMass = 111.1254;
// Atoms per Da, element order of IsotopeWorkspace.
constexpr std::array<double, 5> AtomsPerDa = { 4.9384 / AveragineMass,
                                               7.7583 / AveragineMass,
                                               1.3577 / AveragineMass,
                                               1.4773 / AveragineMass,
                                               0.0417 / AveragineMass };

constexpr double ChunkWidth = 1000.0;
constexpr double ExactLimit = 200000.0;
constexpr int ChunkCount = static_cast<int>(ExactLimit / ChunkWidth);
// Chunks overlap by this much, so a mass whose chunk index rounds to a neighbour is still covered.
constexpr double ChunkMargin = 1.0;
constexpr double BinWidth = 250.0;
// The last bin also takes MaxMass itself.
constexpr int BinCount = static_cast<int>((AveragineIsotopeDistribution::MaxMass - ExactLimit) / BinWidth);

// Each count is monotone in the mass (a rounded product by a positive constant), so the total atom
// count strictly increases from one distinct composition to the next and identifies it.
int atomCount(const Counts &counts)
{
    return std::accumulate(counts.cbegin(), counts.cend(), 0);
}

int elementCount(double mass, size_t element)
{
    return static_cast<int>(mass * AtomsPerDa[element] + 0.5);
}

// The smallest mass above `mass` at which the count of `element` exceeds its count at `mass`: the
// estimate is exact up to rounding, and stepping by single ulps settles the rounding.
double nextStep(double mass, size_t element)
{
    const int count = elementCount(mass, element);
    double t = std::max(mass, (count + 0.5) / AtomsPerDa[element]);
    while (t > mass && elementCount(t, element) > count) {
        t = std::nextafter(t, 0.0);
    }
    while (elementCount(t, element) <= count) {
        t = std::nextafter(t, HUGE_VAL);
    }
    return t;
}

// The reported pattern: shares of the whole distribution, cut after the last peak of at least 1 % of
// the tallest but never before two peaks past the tallest (callers read the height after it). The cut
// tail is not spread over the kept peaks: that would move a fraction by up to 0.003.
AveragineIsotopeDistribution::Pattern reportedPattern(const isotopeconv::Distribution &full)
{
    const auto tallest = std::max_element(full.cbegin(), full.cend());
    const double cut = 0.01 * *tallest;
    size_t last = full.size() - 1;
    while (last > 0 && full[last] < cut) {
        --last;
    }
    const size_t size = std::max(last + 1, static_cast<size_t>(tallest - full.cbegin()) + 3);
    const double sum = std::accumulate(full.cbegin(), full.cend(), 0.0);
    std::vector<double> out(size, 0.0);
    std::transform(full.cbegin(),
                   full.cbegin() + static_cast<std::ptrdiff_t>(std::min(size, full.size())),
                   out.begin(),
                   [sum](double v) { return v / sum; });
    // Of the reported shares: dividing by the sum may make neighbours equal.
    const auto reportedTallest = static_cast<size_t>(std::max_element(out.cbegin(), out.cend()) - out.cbegin());
    double sumOfSquares = 0.0;
    for (const double f : out) {
        sumOfSquares += f * f;
    }
    return { std::move(out), reportedTallest, sumOfSquares };
}

struct Entry {
    Counts counts{ -1, -1, -1, -1, -1 }; // a gap in the atom counts holds no composition
    AveragineIsotopeDistribution::Pattern pattern;
};

struct Chunk {
    int firstAtomCount = 0;
    std::vector<Entry> entries; // by atom count − firstAtomCount
};

} // namespace

struct AveragineIsotopeDistribution::Tables {
    IsotopeWorkspace natural{ IsotopeWorkspace::NaturalAbundances };
    isotopeconv::ElementPatterns patterns{};
    std::array<std::once_flag, ChunkCount> chunkOnce;
    std::array<Chunk, ChunkCount> chunks;
    std::array<std::once_flag, BinCount> binOnce;
    std::array<Pattern, BinCount> bins;
    // Set once a table entry is filled: a look-up then skips call_once, whose every call stores
    // thread-locals through the dynamic linker's TLS look-up, a third of a look-up's time.
    std::array<std::atomic<bool>, ChunkCount> chunkReady{};
    std::array<std::atomic<bool>, BinCount> binReady{};

    Tables()
    {
        for (int e = 0; e < IsotopeWorkspace::ElementCount; ++e) {
            patterns[static_cast<size_t>(e)] = &natural.isotopeAbundances(e);
        }
    }

    void fillChunk(int index);
    void fillBin(int index);
};

void AveragineIsotopeDistribution::Tables::fillChunk(int index)
{
    const double end = (index + 1) * ChunkWidth + ChunkMargin;
    double mass = std::max(0.0, index * ChunkWidth - ChunkMargin);
    Counts counts = composition(mass);
    isotopeconv::Distribution working =
        isotopeconv::moleculeDistribution(patterns, counts.data(), isotopeconv::FarTailCut);
    isotopeconv::Distribution scratch;
    Chunk &chunk = chunks[static_cast<size_t>(index)];
    chunk.firstAtomCount = atomCount(counts);
    while (true) {
        const size_t slot = static_cast<size_t>(atomCount(counts) - chunk.firstAtomCount);
        chunk.entries.resize(slot + 1);
        chunk.entries[slot] = { counts, reportedPattern(working) };

        double next = HUGE_VAL;
        for (size_t e = 0; e < counts.size(); ++e) {
            next = std::min(next, nextStep(mass, e));
        }
        if (next > end) {
            break;
        }
        mass = next;
        const Counts nextCounts = composition(mass);
        for (size_t e = 0; e < counts.size(); ++e) {
            for (int added = counts[e]; added < nextCounts[e]; ++added) {
                isotopeconv::convolve(working, *patterns[e], scratch);
                working.swap(scratch);
                isotopeconv::dropTail(working, isotopeconv::FarTailCut);
            }
        }
        counts = nextCounts;
    }
}

void AveragineIsotopeDistribution::Tables::fillBin(int index)
{
    const Counts counts = composition(ExactLimit + (index + 0.5) * BinWidth);
    bins[static_cast<size_t>(index)] =
        reportedPattern(isotopeconv::moleculeDistribution(patterns, counts.data(), isotopeconv::FarTailCut));
}

AveragineIsotopeDistribution::AveragineIsotopeDistribution()
    : m_tables(std::make_unique<Tables>())
{
}

AveragineIsotopeDistribution::~AveragineIsotopeDistribution() = default;

std::array<int, 5> AveragineIsotopeDistribution::composition(double mass)
{
    Counts counts{};
    if (!(mass > 0.0 && mass <= MaxMass)) {
        return counts;
    }
    for (size_t e = 0; e < counts.size(); ++e) {
        counts[e] = elementCount(mass, e);
    }
    return counts;
}

const AveragineIsotopeDistribution::Pattern &AveragineIsotopeDistribution::isotopePattern(double mass) const
{
    static const Pattern none;
    // Written so that NaN fails too.
    if (!(mass > 0.0 && mass <= MaxMass)) {
        return none;
    }
    Tables &tables = *m_tables;
    if (mass >= ExactLimit) {
        const auto index =
            static_cast<size_t>(std::min(static_cast<int>((mass - ExactLimit) / BinWidth), BinCount - 1));
        if (!tables.binReady[index].load(std::memory_order_acquire)) {
            std::call_once(tables.binOnce[index], [&tables, index] {
                tables.fillBin(static_cast<int>(index));
                tables.binReady[index].store(true, std::memory_order_release);
            });
        }
        return tables.bins[index];
    }
    const auto index = static_cast<size_t>(std::min(static_cast<int>(mass / ChunkWidth), ChunkCount - 1));
    if (!tables.chunkReady[index].load(std::memory_order_acquire)) {
        std::call_once(tables.chunkOnce[index], [&tables, index] {
            tables.fillChunk(static_cast<int>(index));
            tables.chunkReady[index].store(true, std::memory_order_release);
        });
    }
    const Chunk &chunk = tables.chunks[index];
    const Counts counts = composition(mass);
    const size_t slot = static_cast<size_t>(atomCount(counts) - chunk.firstAtomCount);
    // The chunk's walk met every composition of its mass range, so this always holds.
    Q_ASSERT(slot < chunk.entries.size() && chunk.entries[slot].counts == counts);
    return slot < chunk.entries.size() ? chunk.entries[slot].pattern : none;
}
