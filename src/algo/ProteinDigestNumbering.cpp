#include "algo/ProteinDigestNumbering.h"

#include <QLatin1StringView>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace zeq
{

namespace
{

// Shared by QString callers and the engine's 8-bit sequence, read as Latin-1 without a copy.
template <typename View> bool isProteolytic(const DigestRules &rules, View protein, qsizetype first, qsizetype second)
{
    if (rules.isEmpty()) {
        return true;
    }
    const qsizetype n = protein.size();
    const auto inside = [n](qsizetype x) { return x >= 0 && x < n; };
    const DigestRule &cRule = rules.ruleForCterm();
    const DigestRule &nRule = rules.ruleForNterm();
    const bool before = !inside(first - 1) || cRule.contains(QChar(protein[first - 1]));
    const bool atStart = !inside(first) || first == 0 || nRule.contains(QChar(protein[first]));
    const bool atEnd = !inside(second - 1) || cRule.contains(QChar(protein[second - 1]));
    const bool after = !inside(second) || nRule.contains(QChar(protein[second]));
    const bool startFree = !inside(first);
    const bool endFree = !inside(second);
    const int cutters = rules.cutters().toInt();
    if (cutters & DigestRules::CtermNterm) {
        return (startFree || before || atStart) && (endFree || atEnd || after);
    }
    if (cutters & DigestRules::Cterm) {
        return (startFree || before) && (endFree || atEnd);
    }
    if (cutters & DigestRules::Nterm) {
        return (startFree || atStart) && (endFree || after);
    }
    return false;
}

void setEntries(const DigestRule &rule, char *table, int8_t entry)
{
    for (const QChar site : rule.cleavageSites()) {
        // Only Latin-1 codes have an entry; nothing else can stand in an 8-bit protein anyway.
        if (site.unicode() <= 0xff) {
            table[site.unicode()] = static_cast<char>(entry);
        }
    }
}

} // namespace

Error ProteinDigestNumbering::initProteinAndDigest(int proteinId,
                                                   const QString &text1,
                                                   const QString &text2,
                                                   const QString &sequence,
                                                   const DigestRules &rules,
                                                   long cleavageFlags)
{
    m_proteinId = proteinId;
    m_text1 = text1;
    m_text2 = text2;
    // The numbering needs no masses, but the engine takes a table.
    static constexpr std::array<double, 256> noMasses{};
    std::array<char, 256> table;
    DigestCutterType type = CutterCterm;
    setupCutterAndHash(rules, &type, table.data());
    // Non-ASCII text grows in UTF-8, but its first byte stays within sequence.size() and is refused.
    const std::string bytes = sequence.toStdString();
    Error err = init(bytes.c_str(),
                     static_cast<int>(sequence.size()),
                     noMasses.data(),
                     0.0,
                     0.0,
                     200.0,
                     10000.0,
                     0,
                     table.data(),
                     type,
                     DigestNumberingOnly,
                     cleavageFlags);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

void ProteinDigestNumbering::setupCutterAndHash(const DigestRules &rules, DigestCutterType *type, char *table)
{
    if (!table) {
        return;
    }
    std::fill(table, table + 256, static_cast<char>(-1));
    DigestCutterType side = CutterCterm;
    switch (rules.cutters().toInt()) {
    case DigestRules::Cterm:
        side = CutterCterm;
        setEntries(rules.ruleForCterm(), table, 0);
        break;
    case DigestRules::Nterm:
        side = CutterNterm;
        setEntries(rules.ruleForNterm(), table, 1);
        break;
    case DigestRules::CtermNterm:
        side = CutterCtermNterm;
        setEntries(rules.ruleForCterm(), table, 0);
        for (const QChar site : rules.ruleForNterm().cleavageSites()) {
            if (site.unicode() <= 0xff) {
                // A residue of both rules cuts on both sides, also when the N-term rule repeats it:
                // K,R + K and K,R + K,K are equal rules and must number alike.
                char &entry = table[site.unicode()];
                entry = static_cast<char>(entry == 0 || entry == 2 ? 2 : 1);
            }
        }
        break;
    default:
        return;
    }
    if (type) {
        *type = side;
    }
}

Error ProteinDigestNumbering::parseDigestRule(QString rule, QString *letters, DigestCutterType *type) const
{
    static const QRegularExpression singleLetters(QRegularExpression::anchoredPattern(u"[a-z](,[a-z])*"));
    Error err;
    if (!letters || !type) {
        err = Error(kBadParameterError, QStringLiteral("No place for the parsed digest rule"));
        return ZEQ_ECATCH(err);
    }
    const QStringList parts = rule.toLower().split(u'|', Qt::SkipEmptyParts);
    if (parts.size() < 2) {
        err = Error(kBadParameterError, QStringLiteral("Digest rule \"%1\" is not \"letters|side\"").arg(rule));
        return ZEQ_ECATCH(err);
    }
    const QString residues = parts[0].trimmed();
    if (!singleLetters.match(residues).hasMatch()) {
        err = Error(kBadParameterError,
                    QStringLiteral("Digest rule \"%1\" does not list single letters separated by commas").arg(rule));
        return ZEQ_ECATCH(err);
    }
    *letters = residues;
    const QString side = parts[1].trimmed();
    if (side == u"c-term") {
        *type = CutterCterm;
    } else if (side == u"n-term") {
        *type = CutterNterm;
    } else {
        err = Error(kBadParameterError,
                    QStringLiteral("Digest rule \"%1\" has no side \"c-term\" or \"n-term\"").arg(rule));
        return ZEQ_ECATCH(err);
    }
    return err;
}

bool ProteinDigestNumbering::digestStringIsValid(const QString &text)
{
    return text.toLower().split(u'|', Qt::SkipEmptyParts).size() >= 2;
}

bool ProteinDigestNumbering::getDigestInfo(int startIndex, int endIndex, DigestInfo *info) const
{
    const qsizetype n = m_digestNumbers.size();
    if (startIndex < 0 || startIndex >= n || endIndex < 0 || endIndex >= n || !info) {
        return false;
    }
    const int *numbers = m_digestNumbers.constData();
    info->startPeptide = numbers[startIndex];
    info->endPeptide = numbers[endIndex];
    info->missedCleavages = info->endPeptide - info->startPeptide;
    info->startPosition = startIndex + 1;
    info->endPosition = endIndex + 1;
    info->proteinId = m_proteinId;
    info->text1 = m_text1;
    info->text2 = m_text2;
    // Numbers never fall along the protein, so the runs of equal numbers are found by bisection
    // rather than by walking a long uncut stretch residue by residue.
    const int *runStart = std::lower_bound(numbers, numbers + startIndex, numbers[startIndex]);
    const int *runEnd = std::upper_bound(numbers + endIndex, numbers + n, numbers[endIndex]);
    info->nTermOffset += static_cast<int>(numbers + startIndex - runStart);
    info->cTermOffset += static_cast<int>(runEnd - (numbers + endIndex) - 1);
    return true;
}

bool ProteinDigestNumbering::getPeptideStartAndEndPositions(const QString &peptide,
                                                            const ProteinDigestionItem &digestion,
                                                            int *start,
                                                            int *end) const
{
    if (peptide.isEmpty() || !start || !end) {
        return false;
    }
    // The engine holds ASCII only, so Latin-1 reads it exactly.
    const QLatin1StringView protein(m_sequence.data(), static_cast<qsizetype>(m_sequence.size()));
    qsizetype found = -1;
    for (qsizetype at = protein.indexOf(peptide, 0, Qt::CaseInsensitive); at >= 0;
         at = protein.indexOf(peptide, at + 1, Qt::CaseInsensitive)) {
        if (found < 0) {
            found = at;
        }
        if (isProteolytic(digestion.digestRules(), protein, at, at + peptide.size())) {
            found = at;
            break;
        }
    }
    if (found < 0) {
        return false;
    }
    *start = static_cast<int>(found);
    *end = static_cast<int>(found + peptide.size() - 1);
    return true;
}

bool ProteinDigestNumbering::checkSubstringPeptideIsProteolytic(const DigestRules &rules,
                                                                const QString &protein,
                                                                std::pair<int, int> range)
{
    return isProteolytic(rules, QStringView(protein), range.first, range.second);
}

} // namespace zeq
