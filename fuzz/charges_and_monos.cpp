// The isotope cluster search fed arbitrary points. Byte 0 holds flags: bit 0 packs each point in
// four bytes (m/z 300 + n/100, intensity n), which reaches real clusters, else each point is two raw
// doubles (NaN, infinities and huge values included); bit 1 sorts the points by m/z; bits 2-3 pick
// the uncertainty scaling. Bytes 1-3 give the charge range and σ, then the window comes in the
// points' encoding, then at most 512 points. Odd results are not faults; crashes and hangs are.

#include "FuzzSupport.h"
#include "algo/AveragineComparisonSearch.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <compare>
#include <cstring>

namespace
{

struct Bytes {
    const uint8_t *data;
    size_t size;
    size_t at = 0;
    bool take(void *out, size_t n)
    {
        if (size - at < n)
            return false;
        std::memcpy(out, data + at, n);
        at += n;
        return true;
    }
    bool pair(bool packed, double *x, double *y)
    {
        if (!packed)
            return take(x, sizeof *x) && take(y, sizeof *y);
        uint16_t a = 0;
        uint16_t b = 0;
        if (!take(&a, 2) || !take(&b, 2))
            return false;
        *x = 300.0 + a / 100.0;
        *y = b;
        return true;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    Bytes in{ data, size };
    uint8_t head[4] = {};
    double start = 0.0;
    double end = 0.0;
    const bool packed = in.take(head, sizeof head) && (head[0] & 1);
    if (!in.pair(packed, &start, &end))
        return 0;
    zeq::ProcessorOptions opts;
    opts.uncertaintyScaling = zeq::UncertaintyScaling((head[0] >> 2) & 3);
    opts.minCharge = head[1] % 12;
    opts.maxCharge = opts.minCharge + head[2] % 30;
    opts.stdDev = head[3] / 1000.0;
    QList<QPointF> points;
    double x = 0.0;
    double y = 0.0;
    while (points.size() < 512 && in.pair(packed, &x, &y))
        points.append({ x, y });
    if (head[0] & 2)
        std::stable_sort(points.begin(), points.end(), [](const QPointF &a, const QPointF &b) {
            return std::is_lt(std::strong_order(a.x(), b.x()));
        });
    QList<zeq::ChargeScoreInfo> out;
    zeq::findChargesAndMonos(opts, PlotBase(points), start, end, {}, 0.05, out);
    return 0;
}
