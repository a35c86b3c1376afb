#include "zeq_common_core_mini/VariantComparator.h"

#include "zeq_common_core_mini/NumberKind.h"

#include <QString>

#include <cmath>

namespace
{

enum Rank { NullRank, NaNRank, NumberRank, TextRank, OtherRank };

struct Number {
    enum Kind { Signed, Unsigned, Real } kind = Signed;
    qint64 s = 0;
    quint64 u = 0;
    double d = 0.0;
};

template <typename T> int sign(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

Rank rankOf(const QVariant &v, Number &number)
{
    if (v.isNull()) {
        return NullRank;
    }
    const int type = v.typeId();
    // A bool counts as the integer 0 or 1.
    switch (type == QMetaType::Bool ? rn::NumberKind::Signed : rn::numberKind(type)) {
    case rn::NumberKind::Signed:
        number.kind = Number::Signed;
        number.s = v.toLongLong();
        return NumberRank;
    case rn::NumberKind::Unsigned:
        number.kind = Number::Unsigned;
        number.u = v.toULongLong();
        return NumberRank;
    case rn::NumberKind::Real:
        number.kind = Number::Real;
        number.d = v.toDouble();
        return std::isnan(number.d) ? NaNRank : NumberRank;
    case rn::NumberKind::None:
        break;
    }
    switch (type) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QChar:
        return TextRank;
    default:
        return OtherRank;
    }
}

// Exact comparison of a double with an integer: converting the integer to double would merge
// neighbouring large integers and break transitivity.
int compareRealSigned(double d, qint64 i)
{
    if (d < -9223372036854775808.0) {
        return -1;
    }
    if (d >= 9223372036854775808.0) {
        return 1;
    }
    const auto whole = static_cast<qint64>(d); // exact: |d| < 2^63 and truncation is exact
    if (whole != i) {
        return sign(whole, i);
    }
    return sign(d - static_cast<double>(whole), 0.0);
}

int compareRealUnsigned(double d, quint64 u)
{
    if (d < 0.0) {
        return -1;
    }
    if (d >= 18446744073709551616.0) {
        return 1;
    }
    const auto whole = static_cast<quint64>(d);
    if (whole != u) {
        return sign(whole, u);
    }
    return sign(d - static_cast<double>(whole), 0.0);
}

int compareSignedUnsigned(qint64 s, quint64 u)
{
    return s < 0 ? -1 : sign(static_cast<quint64>(s), u);
}

int compareNumbers(const Number &a, const Number &b)
{
    using K = Number::Kind;
    switch (a.kind) {
    case K::Signed:
        switch (b.kind) {
        case K::Signed:
            return sign(a.s, b.s);
        case K::Unsigned:
            return compareSignedUnsigned(a.s, b.u);
        case K::Real:
            return -compareRealSigned(b.d, a.s);
        }
        break;
    case K::Unsigned:
        switch (b.kind) {
        case K::Signed:
            return -compareSignedUnsigned(b.s, a.u);
        case K::Unsigned:
            return sign(a.u, b.u);
        case K::Real:
            return -compareRealUnsigned(b.d, a.u);
        }
        break;
    case K::Real:
        switch (b.kind) {
        case K::Signed:
            return compareRealSigned(a.d, b.s);
        case K::Unsigned:
            return compareRealUnsigned(a.d, b.u);
        case K::Real:
            return sign(a.d, b.d);
        }
        break;
    }
    return 0;
}

int compareTexts(const QString &a, const QString &b)
{
    const int c = QString::compare(a, b, Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace

int VariantComparator::compare(const QVariant &a, const QVariant &b)
{
    Number na;
    Number nb;
    const Rank ra = rankOf(a, na);
    const Rank rb = rankOf(b, nb);
    if (ra != rb) {
        return ra < rb ? -1 : 1;
    }
    switch (ra) {
    case NullRank:
    case NaNRank:
        return 0;
    case NumberRank:
        return compareNumbers(na, nb);
    case TextRank:
        if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString) {
            // No copies for the common case.
            return compareTexts(*static_cast<const QString *>(a.constData()),
                                *static_cast<const QString *>(b.constData()));
        }
        return compareTexts(a.toString(), b.toString());
    case OtherRank:
        if (a.typeId() != b.typeId()) {
            return a.typeId() < b.typeId() ? -1 : 1;
        }
        return compareTexts(a.toString(), b.toString());
    }
    return 0;
}

bool VariantComparator::lessThan(const QVariant &a, const QVariant &b)
{
    return compare(a, b) < 0;
}
