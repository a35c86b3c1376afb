#include "algo/DigestRule.h"

#include <QHashFunctions>
#include <QVarLengthArray>

#include <algorithm>

namespace zeq
{

namespace
{

QVarLengthArray<char16_t, 32> sortedDistinct(const QList<QChar> &sites)
{
    QVarLengthArray<char16_t, 32> letters;
    for (const QChar ch : sites) {
        letters.append(ch.unicode());
    }
    std::sort(letters.begin(), letters.end());
    letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
    return letters;
}

} // namespace

DigestRule::DigestRule(const QList<QChar> &sites)
{
    m_cleavageSites.reserve(sites.size());
    for (const QChar ch : sites) {
        m_cleavageSites.append(ch.toUpper());
    }
}

bool DigestRule::contains(const QChar &ch) const
{
    return m_cleavageSites.contains(ch.toUpper());
}

QString DigestRule::toString(Format format) const
{
    QString text;
    for (const QChar ch : m_cleavageSites) {
        if (!text.isEmpty() && format == CommaSeparated) {
            text.append(u',');
        }
        text.append(ch);
    }
    return text;
}

DigestRule DigestRule::fromString(const QString &text)
{
    QList<QChar> letters;
    for (const QChar ch : text) {
        if (ch.isLetter()) {
            letters.append(ch);
        }
    }
    return DigestRule(letters);
}

bool DigestRule::operator==(const DigestRule &other) const
{
    if (m_cleavageSites == other.m_cleavageSites) {
        return true;
    }
    return sortedDistinct(m_cleavageSites) == sortedDistinct(other.m_cleavageSites);
}

size_t qHash(const DigestRule &rule, size_t seed) noexcept
{
    const QVarLengthArray<char16_t, 32> letters = sortedDistinct(rule.cleavageSites());
    return qHashRange(letters.begin(), letters.end(), seed);
}

} // namespace zeq
