#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/RowNode.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>

namespace zeq
{

/// Names a kind of aggregation and the result column it fills. The two texts are the caller's;
/// this library only stores and copies them.
struct ZEQ_COMMON_CORE_EXPORT AggregatorSettings {
    enum Type : qint32 { None = 0, Min = 1, Max = 2, Avg = 3, StdDev = 4, Sem = 5 };

    Type type = None;
    QString first;
    QString second;

    /// The type's label followed by `name` (Avg and Score give "AvgScore"); "" for None and for
    /// values outside 1–5.
    [[nodiscard]] static QString makeColumnName(Type type, const QString &name);
};

/// Folds one column over rows pushed one at a time into one value.
class ZEQ_COMMON_CORE_EXPORT AbstractAggregator
{
public:
    AbstractAggregator() = default;
    AbstractAggregator(const AbstractAggregator &) = default;
    AbstractAggregator &operator=(const AbstractAggregator &) = default;
    virtual ~AbstractAggregator();

    /// Reads the cell of `column` by name; a null row is skipped.
    virtual void push(const RowNode *row, const QString &column) = 0;
    /// The result so far; may be asked at any time.
    [[nodiscard]] virtual QVariant value() const = 0;
};

/// The smallest or largest cell that converts to a number (a double), or null when none did.
/// Cells that do not convert (null, empty or non-numeric text) and NaN cells are skipped; so is
/// everything when the mode is neither Minimum nor Maximum. ±inf take part like any number.
class ZEQ_COMMON_CORE_EXPORT ExtremesAggregator : public AbstractAggregator
{
public:
    enum Mode : qint32 { Minimum = 0, Maximum = 1 };

    explicit ExtremesAggregator(Mode mode)
        : m_mode(mode)
    {
    }

    void push(const RowNode *row, const QString &column) override;
    [[nodiscard]] QVariant value() const override { return m_extreme; }

private:
    QVariant m_extreme;
    Mode m_mode;
};

/// Mean, sample standard deviation or standard error of the mean of the cells that convert to a
/// number, accumulated in one pass (Welford) so that large offsets do not cancel. 0.0 until there
/// are enough values (one for the mean, two for the others). NaN cells are skipped like text.
/// Infinite values count: the mean is their sign's infinity (NaN when both +inf and −inf arrived),
/// the standard deviation and error +inf (with at least two values).
class ZEQ_COMMON_CORE_EXPORT RunningStatAggregator : public AbstractAggregator
{
public:
    enum Mode : qint32 { Mean = 0, StandardDeviation = 1, StandardErrorOfMean = 2 };

    explicit RunningStatAggregator(Mode mode)
        : m_mode(mode)
    {
    }

    void push(const RowNode *row, const QString &column) override;
    /// A double; null with a warning for a mode outside 0–2.
    [[nodiscard]] QVariant value() const override;

private:
    [[nodiscard]] qint32 count() const;
    [[nodiscard]] double mean() const;
    [[nodiscard]] double variance() const;
    [[nodiscard]] double stdDev() const;
    [[nodiscard]] double stdErrorOfMean() const;

    qint32 m_count = 0; // finite values, those in m_mean and m_m2
    double m_mean = 0.0;
    double m_m2 = 0.0;
    Mode m_mode;
    qint32 m_infiniteCount = 0;
    double m_infiniteSum = 0.0;
};

/// The distinct cells of a column, of any type, nulls included. Integer cells (bool and QChar
/// included) are one value when equal whatever their type (1, 1u, 1LL, true); other cells of
/// different types are different values even when QVariant calls them equal (1 and 1.0), so the
/// result never depends on hash order. All NaN cells of one type are one value; +inf and −inf
/// are two.
class ZEQ_COMMON_CORE_EXPORT UniquesAggregator
{
public:
    void push(const RowNode *row, const QString &column);
    /// Every distinct value once, in no defined order.
    [[nodiscard]] QList<QVariant> value() const;

    /// A cell that compares its hash family as well as its value; NaN equals NaN.
    struct TypedCell {
        QVariant cell;
    };

private:
    QSet<TypedCell> m_values;
};

ZEQ_COMMON_CORE_EXPORT bool operator==(const UniquesAggregator::TypedCell &a,
                                       const UniquesAggregator::TypedCell &b) noexcept;
ZEQ_COMMON_CORE_EXPORT size_t qHash(const UniquesAggregator::TypedCell &value, size_t seed = 0) noexcept;

/// Makes the aggregator of a settings type.
class ZEQ_COMMON_CORE_EXPORT AggregatorFactory
{
public:
    /// A new aggregator owned by the caller, or null (with a warning) for None and values outside 1–5.
    [[nodiscard]] static AbstractAggregator *makeAggregator(AggregatorSettings::Type type);
};

} // namespace zeq
