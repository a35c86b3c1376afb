#pragma once

#include "utils/Result.h"
#include "zeq_common_core_export.h"

#include <QRegularExpression>
#include <QString>

namespace zeq
{

/// A validated modification name: ASCII letters, digits, parentheses, "+", "-" and square
/// brackets, with single inner spaces allowed ("Carbamidomethyl (C)", "[13C6]-Lys"). A name with
/// its mass ("Oxidation/+15.99") is not a mass name.
class ZEQ_COMMON_CORE_EXPORT MassName
{
public:
    MassName() = default;

    static const QRegularExpression REGEX;

    /// kBadParameterError naming the expected pattern and the text when it does not match.
    [[nodiscard]] static Result<MassName> fromString(const QString &text);
    [[nodiscard]] const QString &name() const noexcept { return m_name; }
    [[nodiscard]] bool isEmpty() const noexcept { return m_name.isEmpty(); }

    friend bool operator==(const MassName &, const MassName &) = default;

private:
    QString m_name;
};

} // namespace zeq
