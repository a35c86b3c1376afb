#pragma once

#include "zeq_common_core_export.h"

#include <QChar>
#include <QList>
#include <QString>

namespace zeq
{

/// The residues (one-letter codes, stored upper case) next to which an enzyme cuts on one side.
/// Order and repetition are kept but not significant: K,R equals R,K,K.
class ZEQ_COMMON_CORE_EXPORT DigestRule
{
public:
    enum Format : qint32 {
        CommaSeparated = 0, ///< "K,R"
        Concatenated = 1, ///< "KR"; every other non-zero value writes so too
    };

    DigestRule() = default;
    /// Upper-cases each character; characters are not checked to be letters.
    explicit DigestRule(const QList<QChar> &sites);

    [[nodiscard]] const QList<QChar> &cleavageSites() const noexcept { return m_cleavageSites; }
    /// Case-insensitive.
    [[nodiscard]] bool contains(const QChar &ch) const;
    [[nodiscard]] bool isEmpty() const noexcept { return m_cleavageSites.isEmpty(); }

    [[nodiscard]] QString toString(Format format) const;
    /// Keeps the letters of `text`, upper-cased, and skips everything else: "k, r" and "KR" both give K,R.
    [[nodiscard]] static DigestRule fromString(const QString &text);

    /// Equal as sets of residues.
    bool operator==(const DigestRule &other) const;

private:
    QList<QChar> m_cleavageSites;
};

/// Hashes the sorted distinct residues, so rules that compare equal hash alike.
ZEQ_COMMON_CORE_EXPORT size_t qHash(const DigestRule &rule, size_t seed = 0) noexcept;

} // namespace zeq
