#include "algo/ProteinDigestionItem.h"

#include "algo/BuiltInEnzymes.h"
#include "algo/ProteinDigestionItem_p.h"
#include "constants/StringConstants.h"

#include <QRegularExpression>

namespace zeq
{

namespace
{

const QRegularExpression &grammar()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(?i) *(?<enzyme>\w+) *(?:@ *(?<digestionRules>(?<digestLetters>[a-z](?:,?[a-z])*(?:;[a-z](?:,?[a-z])*)?) *\| *(?<digestCutters>[CN]-?term(?:;[CN]-?term)?)))?$)"));
    return pattern;
}

} // namespace

namespace detail
{

ProteinDigestionItem mapFromEnzymeAmong(const QString &name, const QList<ProteinDigestionItem> &known)
{
    if (name.isEmpty()) {
        return {};
    }
    // Settings fields easily keep a stray blank; the name is matched as the item would store it.
    QString query = name.simplified();
    // "Chymotryptic" contains "tryptic": test it first.
    if (query.contains(kChymotryptic, Qt::CaseInsensitive)) {
        query = BuiltInEnzymes::kChymotrypsin;
    } else if (query.contains(kTryptic, Qt::CaseInsensitive)) {
        query = BuiltInEnzymes::kTrypsin;
    }
    query.remove(u'-');
    // A name of dashes alone would otherwise be contained in every enzyme name.
    if (!query.isEmpty()) {
        for (const ProteinDigestionItem &item : known) {
            if (item.enzyme().contains(query, Qt::CaseInsensitive)) {
                return item;
            }
        }
    }
    return ProteinDigestionItem(name, DigestRules(), -1);
}

ProteinDigestionItem fromStringAmong(const QString &text, const QList<ProteinDigestionItem> &known)
{
    if (!text.contains(u'@')) {
        return mapFromEnzymeAmong(text, known);
    }
    const QRegularExpressionMatch match = grammar().match(text);
    if (!match.hasMatch()) {
        return {};
    }
    const DigestRules rules =
        DigestRules::fromStrings(match.captured(u"digestLetters"), match.captured(u"digestCutters"));
    return ProteinDigestionItem(match.captured(u"enzyme"), rules, -1);
}

} // namespace detail

ProteinDigestionItem::ProteinDigestionItem(const QString &enzyme, const DigestRules &rules, int digestRulesId)
    : m_enzyme(enzyme.simplified())
    , m_digestRules(rules)
    , m_digestRulesId(digestRulesId)
{
}

ProteinDigestionItem::ProteinDigestionItem(const QString &enzyme,
                                           const DigestRule &cterm,
                                           const DigestRule &nterm,
                                           const DigestRules::DigestCutters &cutters,
                                           int digestRulesId)
    : ProteinDigestionItem(enzyme, DigestRules(cterm, nterm, cutters), digestRulesId)
{
}

bool ProteinDigestionItem::isValid() const
{
    return !m_enzyme.isEmpty() && m_digestRules.isValid();
}

QString ProteinDigestionItem::toString() const
{
    if (m_digestRules.isEmpty()) {
        return m_enzyme;
    }
    return QStringLiteral("%1 @ %2 | %3")
        .arg(m_enzyme,
             m_digestRules.digestRulesAsString(DigestRule::CommaSeparated),
             DigestRules::cuttersToString(m_digestRules.cutters()));
}

ProteinDigestionItem ProteinDigestionItem::fromString(const QString &text)
{
    if (!text.contains(u'@')) {
        return mapFromEnzyme(text);
    }
    return detail::fromStringAmong(text, {});
}

bool ProteinDigestionItem::validate(const QString &text)
{
    if (text.isEmpty()) {
        return true;
    }
    const QRegularExpressionMatch match = grammar().match(text);
    if (!match.hasMatch()) {
        return false;
    }
    const QStringList letters = match.captured(u"digestLetters").split(u';', Qt::SkipEmptyParts);
    const QStringList sides = match.captured(u"digestCutters").split(u';', Qt::SkipEmptyParts);
    if (letters.size() != sides.size()) {
        return false;
    }
    // Exact comparison: "C-term;c-term" passes here and is then rejected by DigestRules::fromStrings.
    return sides.size() != 2 || sides[0].simplified().at(0) != sides[1].simplified().at(0);
}

ProteinDigestionItem ProteinDigestionItem::mapFromEnzyme(const QString &name)
{
    if (name.isEmpty()) {
        return {};
    }
    return detail::mapFromEnzymeAmong(name, knownEnzymeDigestRules());
}

size_t qHash(const ProteinDigestionItem &item, size_t seed) noexcept
{
    return qHash(item.enzyme(), seed) ^ qHash(item.digestRules(), seed);
}

} // namespace zeq
