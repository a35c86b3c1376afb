#include "zeq_common_core_mini/FindLinearCoeffs.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

// Diagonal entries of R this small against the largest column are rank loss, not data.
constexpr double kRankTolerance = 1e-12;

struct Row {
    double x;
    double y;
    double sqrtWeight;
};

bool validRows(const QList<QPointF> &points, const QList<double> &weights, std::vector<Row> &rows)
{
    for (qsizetype i = 0; i < points.size(); ++i) {
        const double x = points.at(i).x();
        const double y = points.at(i).y();
        const double w = weights.at(i);
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || w < 0.0) {
            return false;
        }
        // A zero weight removes the point from the fit, and from the count of distinct x values.
        if (w > 0.0) {
            rows.push_back({ x, y, std::sqrt(w) });
        }
    }
    return true;
}

qsizetype distinctX(const std::vector<Row> &rows)
{
    std::vector<double> xs;
    xs.reserve(rows.size());
    for (const Row &r : rows) {
        xs.push_back(r.x);
    }
    std::sort(xs.begin(), xs.end());
    return std::unique(xs.begin(), xs.end()) - xs.begin();
}

// Solves min ‖A·c − b‖ for the n×m column-major A in place; false on rank loss.
bool solveQr(std::vector<double> &a, std::vector<double> &b, size_t n, size_t m, std::vector<double> &c)
{
    double largest = 0.0;
    for (size_t k = 0; k < m; ++k) {
        double norm = 0.0;
        for (size_t i = 0; i < n; ++i) {
            norm = std::hypot(norm, a[k * n + i]);
        }
        largest = std::max(largest, norm);
    }
    for (size_t k = 0; k < m; ++k) {
        double *col = &a[k * n];
        double norm = 0.0;
        for (size_t i = k; i < n; ++i) {
            norm = std::hypot(norm, col[i]);
        }
        if (norm <= kRankTolerance * largest) {
            return false;
        }
        // Reflect column k onto −sign(a_kk)·norm·e_k; the sign choice avoids cancellation in v_k.
        const double alpha = col[k] > 0.0 ? -norm : norm;
        col[k] -= alpha;
        double vv = 0.0;
        for (size_t i = k; i < n; ++i) {
            vv += col[i] * col[i];
        }
        const auto reflect = [&](double *target) {
            double dot = 0.0;
            for (size_t i = k; i < n; ++i) {
                dot += col[i] * target[i];
            }
            const double f = 2.0 * dot / vv;
            for (size_t i = k; i < n; ++i) {
                target[i] -= f * col[i];
            }
        };
        for (size_t j = k + 1; j < m; ++j) {
            reflect(&a[j * n]);
        }
        reflect(b.data());
        col[k] = alpha; // R's diagonal; the rest of the reflector is no longer needed
    }
    c.assign(m, 0.0);
    for (size_t k = m; k-- > 0;) {
        double s = b[k];
        for (size_t j = k + 1; j < m; ++j) {
            s -= a[j * n + k] * c[j];
        }
        c[k] = s / a[k * n + k];
    }
    return true;
}

} // namespace

bool findLinearCoeffs(const QList<QPointF> &points,
                      const QList<double> &weights,
                      int count,
                      QList<double> &coefficients)
{
    coefficients.clear();
    std::vector<Row> rows;
    if (count < 1 || points.size() != weights.size() || !validRows(points, weights, rows) || distinctX(rows) < count) {
        return false;
    }
    const auto [lo, hi] =
        std::minmax_element(rows.cbegin(), rows.cend(), [](const Row &p, const Row &q) { return p.x < q.x; });
    const double centre = lo->x / 2.0 + hi->x / 2.0;
    const double halfSpan = hi->x / 2.0 - lo->x / 2.0;
    const double scale = halfSpan > 0.0 ? halfSpan : 1.0;

    const size_t n = rows.size();
    const auto m = static_cast<size_t>(count);
    std::vector<double> a(n * m);
    std::vector<double> b(n);
    for (size_t i = 0; i < n; ++i) {
        const double t = (rows[i].x - centre) / scale;
        double power = rows[i].sqrtWeight;
        for (size_t k = 0; k < m; ++k) {
            a[k * n + i] = power;
            power *= t;
        }
        b[i] = rows[i].sqrtWeight * rows[i].y;
    }
    std::vector<double> c;
    if (!solveQr(a, b, n, m, c)) {
        return false;
    }
    // Back from t = (x − centre) / scale to powers of x, by Horner's rule on polynomials.
    std::vector<double> p(m, 0.0);
    p[0] = c[m - 1];
    for (size_t k = m - 1; k-- > 0;) {
        for (size_t j = m - 1; j > 0; --j) {
            p[j] = p[j - 1] / scale - p[j] * centre / scale;
        }
        p[0] = c[k] - p[0] * centre / scale;
    }
    for (double v : p) {
        if (!std::isfinite(v)) {
            return false;
        }
        coefficients.append(v);
    }
    return true;
}
