#pragma once

#include "algo/DigestRule.h"
#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/DigestCutterType.h"

#include <QFlags>
#include <QObject>

namespace zeq
{

using ::DigestCutterType;

/// The cleavage rules of a digestion: residues cut after (C-term rule), residues cut before
/// (N-term rule) and which of the two are in force.
class ZEQ_COMMON_CORE_EXPORT DigestRules
{
    Q_GADGET

public:
    /// CtermNterm is a bit of its own, not Cterm | Nterm; a value of 3 is no recognised combination.
    enum DigestCutter : qint32 {
        Cterm = 1,
        Nterm = 2,
        CtermNterm = 4,
    };
    Q_DECLARE_FLAGS(DigestCutters, DigestCutter)
    Q_FLAG(DigestCutter)

    DigestRules() = default;
    DigestRules(const DigestRule &cterm, const DigestRule &nterm, const DigestCutters &cutters)
        : m_cterm(cterm)
        , m_nterm(nterm)
        , m_cutters(cutters)
    {
    }
    DigestRules(DigestRule &&cterm, DigestRule &&nterm, const DigestCutters &cutters)
        : m_cterm(std::move(cterm))
        , m_nterm(std::move(nterm))
        , m_cutters(cutters)
    {
    }

    [[nodiscard]] const DigestRule &ruleForCterm() const noexcept { return m_cterm; }
    [[nodiscard]] const DigestRule &ruleForNterm() const noexcept { return m_nterm; }
    [[nodiscard]] DigestCutters cutters() const noexcept { return m_cutters; }

    /// No cutter set, whatever the rules hold.
    [[nodiscard]] bool isEmpty() const noexcept { return m_cutters.toInt() == 0; }
    /// Some cutter is set whose rule (both rules for CtermNterm) holds residues.
    [[nodiscard]] bool isValid() const;

    /// "C-term", "N-term" or "C-term;N-term" for exactly 1, 2 or 4; "" otherwise.
    [[nodiscard]] static QString cuttersToString(const DigestCutters &cutters);
    /// The rule texts matching cuttersToString, joined by ";" for CtermNterm; "" for other cutters.
    [[nodiscard]] QString digestRulesAsString(DigestRule::Format format) const;
    /// Inverse of digestRulesAsString and cuttersToString: "K,R;D" with "C-term;N-term" (or
    /// "D;K,R" with "N-term;C-term"). Text that cannot be read gives an empty DigestRules.
    [[nodiscard]] static DigestRules fromStrings(const QString &letters, const QString &cutters);

    [[nodiscard]] static DigestRules makeCtermOnly(const DigestRule &rule) { return { rule, {}, Cterm }; }
    [[nodiscard]] static DigestRules makeNtermOnly(const DigestRule &rule) { return { {}, rule, Nterm }; }

    bool operator==(const DigestRules &other) const
    {
        return m_cterm == other.m_cterm && m_nterm == other.m_nterm && m_cutters == other.m_cutters;
    }

private:
    DigestRule m_cterm;
    DigestRule m_nterm;
    DigestCutters m_cutters;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DigestRules::DigestCutters)

ZEQ_COMMON_CORE_EXPORT size_t qHash(const DigestRules &rules, size_t seed = 0) noexcept;

} // namespace zeq
