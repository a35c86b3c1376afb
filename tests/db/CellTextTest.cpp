#include "db/CellText_p.h"

#include <QVariant>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using zeq::detail::assignCellText;

namespace
{

QString viaAssign(const QVariant &cell)
{
    QString out = QStringLiteral("previous text, longer than any number");
    assignCellText(cell, out);
    return out;
}

} // namespace

// The CSV writer relies on this text being exactly QVariant::toString().
TEST(CellTextTest, NumbersReadAsQVariantToString)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (const QVariant &cell : { QVariant(1230000.0),
                                  QVariant(1e21),
                                  QVariant(5e-324),
                                  QVariant(-0.0),
                                  QVariant(inf),
                                  QVariant(std::numeric_limits<double>::quiet_NaN()),
                                  QVariant(std::numeric_limits<qlonglong>::min()),
                                  QVariant(true),
                                  QVariant(1.5f),
                                  QVariant(),
                                  QVariant(QStringLiteral("text")) }) {
        EXPECT_EQ(viaAssign(cell), cell.toString()) << qPrintable(cell.toString());
    }

    std::mt19937_64 random(7);
    for (int i = 0; i < 300000; ++i) {
        double value = 0;
        switch (i % 3) {
        case 0: // every magnitude a double has, full precision
            value = std::ldexp(double(random() >> 11), int(random() % 2100) - 1100);
            break;
        case 1: // few significant digits, the numbers a table mostly holds
            value = double(qint64(random() % 2000000) - 1000000) * std::pow(10.0, int(random() % 30) - 15);
            break;
        default: { // any bit pattern, subnormals included
            const quint64 bits = random();
            std::memcpy(&value, &bits, sizeof value);
        }
        }
        const QVariant cell(value);
        ASSERT_EQ(viaAssign(cell), cell.toString());
    }
}

TEST(CellTextTest, TextSharedWithTheOutputStaysUnchanged)
{
    const QString kept = QStringLiteral("12345");
    QString out = kept;
    assignCellText(QVariant(7.5), out);
    EXPECT_EQ(out, u"7.5");
    EXPECT_EQ(kept, u"12345");
}
