#pragma once

#include "support/SeededRandom.h"

#include <QByteArray>
#include <QList>

#include <cstdint>

namespace zeq::test
{

/// A SQLite file spoilt one way. `mustFail` is false when the damage may miss every page a reader
/// visits: that reader then answers as from the whole file, as it cannot know better.
struct Damage {
    const char *name;
    QByteArray bytes;
    bool mustFail;
};

/// Copies of the SQLite file `good` (at least three pages) cut short or with pages overwritten by
/// noise from `seed`. A cut leaves fewer pages than the header counts, which SQLite reports.
inline QList<Damage> damagedCopies(const QByteArray &good, std::uint64_t seed)
{
    // Big-endian at offset 16; 1 stands for 65536.
    const qsizetype stored = (qsizetype(quint8(good.at(16))) << 8) | quint8(good.at(17));
    const qsizetype page = stored == 1 ? 65536 : stored;
    const int pages = int(good.size() / page);
    SeededRandom random(seed);
    const auto noise = [&random](QByteArray bytes, qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i) {
            bytes[i] = char(random.next());
        }
        return bytes;
    };
    const qsizetype victim = random.between(1, pages - 1) * page;
    return {
        { "cut inside the header", good.left(60), true },
        { "cut inside the first page", good.left(page / 2), true },
        { "cut inside a middle page", good.left(pages / 2 * page + page / 3), true },
        { "first page overwritten after the header", noise(good, 100, page), true },
        { "every page after the first overwritten", noise(good, page, good.size()), true },
        { "one page overwritten", noise(good, victim, victim + page), false },
        { "last page overwritten", noise(good, (pages - 1) * page, good.size()), false },
    };
}

} // namespace zeq::test
