#include "db/CellText_p.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zeq::detail
{

namespace
{

// QString::number(value, 'g', QLocale::FloatingPointShortest), which QVariant::toString() uses:
// the shortest digits that read back as `value`, written in decimal form unless the exponent
// form is shorter (so 1e+05 and 1e-04, but 1230000 and 0.00012), with a signed exponent of at
// least two digits. `out` must hold 32 characters; returns the length written.
int formatShortest(double value, char *out)
{
    char scientific[32];
    const std::to_chars_result written =
        std::to_chars(scientific, scientific + sizeof scientific, value, std::chars_format::scientific);
    const char *in = scientific;
    char *o = out;
    if (*in == '-') {
        *o++ = *in++;
    }
    char digits[20];
    int count = 0;
    for (; *in != 'e'; ++in) {
        if (*in != '.') {
            digits[count++] = *in;
        }
    }
    int exponent = 0;
    std::from_chars(in + (in[1] == '+' ? 2 : 1), written.ptr, exponent);
    // Qt's comparison of the two forms' lengths: the exponent form adds "e", a sign and two digits,
    // and either form may gain or save a decimal point.
    const int decimalPoint = exponent + 1;
    int bias = 4;
    if (count > 1 && count <= decimalPoint) {
        ++bias;
    } else if (count == 1 && decimalPoint <= 0) {
        --bias;
    }
    const bool decimal = decimalPoint <= 0 ? 1 - decimalPoint <= bias : decimalPoint <= count + bias;
    if (!decimal) {
        *o++ = digits[0];
        if (count > 1) {
            *o++ = '.';
            o = std::copy(digits + 1, digits + count, o);
        }
        *o++ = 'e';
        *o++ = exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) {
            *o++ = '0';
        }
        o = std::to_chars(o, o + 3, magnitude).ptr;
    } else if (decimalPoint <= 0) {
        *o++ = '0';
        *o++ = '.';
        o = std::fill_n(o, -decimalPoint, '0');
        o = std::copy(digits, digits + count, o);
    } else if (decimalPoint >= count) {
        o = std::copy(digits, digits + count, o);
        o = std::fill_n(o, decimalPoint - count, '0');
    } else {
        o = std::copy(digits, digits + decimalPoint, o);
        *o++ = '.';
        o = std::copy(digits + decimalPoint, digits + count, o);
    }
    return int(o - out);
}

} // namespace

void assignCellText(const QVariant &cell, QString &out)
{
    char text[32];
    int length = 0;
    switch (cell.typeId()) {
    case QMetaType::QString:
        out = *static_cast<const QString *>(cell.constData());
        return;
    case QMetaType::Double: {
        const double value = *static_cast<const double *>(cell.constData());
        // Zero keeps Qt's sign rule and non-finite values Qt's spelling.
        if (!std::isfinite(value) || value == 0.0) {
            out = cell.toString();
            return;
        }
        length = formatShortest(value, text);
        break;
    }
    case QMetaType::Int:
        length = int(std::to_chars(text, text + sizeof text, *static_cast<const int *>(cell.constData())).ptr - text);
        break;
    case QMetaType::LongLong:
        length =
            int(std::to_chars(text, text + sizeof text, *static_cast<const qlonglong *>(cell.constData())).ptr - text);
        break;
    default:
        out = cell.toString();
        return;
    }
    out.resize(length);
    QChar *chars = out.data();
    for (int i = 0; i < length; ++i) {
        chars[i] = QLatin1Char(text[i]);
    }
}

} // namespace zeq::detail
