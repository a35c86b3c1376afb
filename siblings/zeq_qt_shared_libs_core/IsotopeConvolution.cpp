#include "IsotopeConvolution_p.h"

#include <algorithm>
#include <numeric>

namespace isotopeconv
{

void convolve(const Distribution &a, const Distribution &b, Distribution &out)
{
    out.assign(a.empty() || b.empty() ? 0 : a.size() + b.size() - 1, 0.0);
    for (size_t i = 0; i < a.size(); ++i) {
        const double ai = a[i];
        if (ai == 0.0) {
            continue;
        }
        double *row = out.data() + i;
        for (size_t j = 0; j < b.size(); ++j) {
            row[j] += ai * b[j];
        }
    }
}

void dropTail(Distribution &d, double relative)
{
    if (d.empty()) {
        return;
    }
    const double cut = relative * *std::max_element(d.cbegin(), d.cend());
    size_t size = d.size();
    while (size > 1 && d[size - 1] < cut) {
        --size;
    }
    d.resize(size);
}

void normalise(Distribution &d)
{
    const double sum = std::accumulate(d.cbegin(), d.cend(), 0.0);
    if (sum > 0.0) {
        for (double &v : d) {
            v /= sum;
        }
    }
}

namespace
{

// pattern^count by binary powering: about log2(count) convolutions instead of count.
Distribution power(const Distribution &pattern, int count, double tailCut, Distribution &scratch)
{
    Distribution result{ 1.0 };
    Distribution base = pattern;
    while (count > 0) {
        if (count & 1) {
            convolve(result, base, scratch);
            result.swap(scratch);
            dropTail(result, tailCut);
        }
        count >>= 1;
        if (count > 0) {
            convolve(base, base, scratch);
            base.swap(scratch);
            dropTail(base, tailCut);
        }
    }
    return result;
}

} // namespace

Distribution moleculeDistribution(const ElementPatterns &patterns, const int *counts, double tailCut)
{
    Distribution result{ 1.0 };
    Distribution scratch;
    for (int e = 0; e < ElementCount; ++e) {
        if (counts[e] <= 0) {
            continue;
        }
        const Distribution part = power(*patterns[e], counts[e], tailCut, scratch);
        convolve(result, part, scratch);
        result.swap(scratch);
        dropTail(result, tailCut);
    }
    return result;
}

} // namespace isotopeconv
