#pragma once

#include <QMetaType>

namespace rn
{

/// How a cell's type holds a number: an integer type by signedness (read whole through
/// QVariant::toLongLong or toULongLong), a floating type, or no number. Bool and QChar are not
/// numbers here; the callers that count them as integers say so themselves.
enum class NumberKind : qint8 { None = 0, Signed = 1, Unsigned = 2, Real = 3 };

[[nodiscard]] constexpr NumberKind numberKind(int typeId) noexcept
{
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::Long: // qint64 cells carry this id on Linux
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::Char: // signed or not by platform; toLongLong keeps its value either way
        return NumberKind::Signed;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return NumberKind::Unsigned;
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberKind::Real;
    default:
        return NumberKind::None;
    }
}

[[nodiscard]] constexpr bool isInteger(int typeId) noexcept
{
    const NumberKind kind = numberKind(typeId);
    return kind == NumberKind::Signed || kind == NumberKind::Unsigned;
}

} // namespace rn
