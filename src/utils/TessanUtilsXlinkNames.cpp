#include "utils/TessanUtilsXlinkNames.h"

#include "zeq_common_stable/PeptideUtils.h"

#include <QLocale>

namespace
{

const QString kInterTag = QStringLiteral("{xlink-inter}");
const QString kInterDisulfideTag = QStringLiteral("{S-S-inter}");
const QString kInterDecoyTag = QStringLiteral("{xlink-inter-decoy}");
const QString kInterDecoyDisulfideTag = QStringLiteral("{S-S-inter-decoy}");
const QString kIntraTag = QStringLiteral("{xlink-intra}");
const QString kIntraDisulfideTag = QStringLiteral("{S-S-intra}");

const QString kSeqWord = QStringLiteral("Seq:");
const QString kProteinWord = QStringLiteral("Protein:");
const QString kPositionWord = QStringLiteral("Position:");
const QString kLinkPositionWord = QStringLiteral("LinkPosition:");
const QString kLinkDeltaMassWord = QStringLiteral("LinkDeltaMass:");
const QString kExpectedWord = QStringLiteral("Expected:");
const QString kLinkNameOpen = QStringLiteral("LinkName:{");
const QString kDisulfide = QStringLiteral("Disulfide");

// The mass change of a disulfide bond (two hydrogens lost), Da.
constexpr double kDisulfideDeltaMass = -2.01565;

bool startsWithEither(const QString &name, const QString &tag1, const QString &tag2)
{
    const QString trimmed = name.trimmed();
    return trimmed.startsWith(tag1) || trimmed.startsWith(tag2);
}

} // namespace

namespace zeq
{

bool isInterPeptideXlink(const QString &name)
{
    return startsWithEither(name, kInterDisulfideTag, kInterTag);
}

bool isInterPeptideDecoyXlink(const QString &name)
{
    return startsWithEither(name, kInterDecoyDisulfideTag, kInterDecoyTag);
}

bool isIntraPeptideXlink(const QString &name)
{
    return startsWithEither(name, kIntraDisulfideTag, kIntraTag);
}

bool parseInterPeptideXlinkName(const QString &name, XlinkInfo &info)
{
    // Only the text before the first "/" holds words; the text after the last one is the suffix.
    const QList<QString> parts = name.trimmed().split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty()) {
        return false;
    }
    if (parts.size() >= 2) {
        info.nameSuffix = parts.last().trimmed();
    }
    const QList<QString> words = parts.first().trimmed().split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2 || !words[1].startsWith(kSeqWord)) {
        return false;
    }
    info.partnerSequence = words[1].mid(kSeqWord.size());
    if (words.size() < 3 || !words[2].startsWith(kProteinWord)) {
        return false;
    }
    info.partnerProtein = words[2].mid(kProteinWord.size()).toInt();
    if (words.size() < 4 || !words[3].startsWith(kPositionWord)) {
        return false;
    }
    QString position = words[3].mid(kPositionWord.size());
    if (const qsizetype remark = position.indexOf(u'('); remark >= 0) {
        position.truncate(remark);
    }
    info.partnerPosition = position.toInt();

    if (4 < words.size() && words[4].startsWith(kLinkPositionWord)) {
        const QList<QString> values = words[4].mid(kLinkPositionWord.size()).split(u',', Qt::SkipEmptyParts);
        for (const QString &value : values) {
            info.linkPositions.append(value.toInt() - info.partnerPosition);
        }
    } else {
        // No positions given: a disulfide at the partner's first cysteine.
        QString bare = info.partnerSequence.trimmed();
        removePeptidePaddingsRef(bare);
        info.linkPositions.append(int(bare.indexOf(u'C')));
    }
    // The delta mass has a fixed slot, the sixth word, whether or not link positions precede it: a
    // name that puts it anywhere else describes a disulfide.
    if (5 < words.size() && words[5].startsWith(kLinkDeltaMassWord)) {
        info.linkDeltaMass = words[5].mid(kLinkDeltaMassWord.size()).toDouble();
    } else {
        info.linkDeltaMass = kDisulfideDeltaMass;
    }

    info.linkName = kDisulfide;
    const qsizetype open = name.indexOf(kLinkNameOpen);
    if (open > 0) {
        const qsizetype start = open + kLinkNameOpen.size();
        const qsizetype close = name.indexOf(u'}', start);
        if (close >= 0) {
            info.linkName = name.mid(start, close - start);
        }
    }

    for (const QString &word : words) {
        if (word.startsWith(kExpectedWord)) {
            bool ok = false;
            const int flag = word.mid(kExpectedWord.size()).toInt(&ok);
            if (ok) {
                info.expected = flag != 0;
            }
        }
    }
    return true;
}

bool parseIntraPeptideXlinkName(const QString &name, QString &suffix, QString &linkName, bool *isDisulfide)
{
    const QList<QString> parts = name.trimmed().split(u'/', Qt::SkipEmptyParts);
    if (parts.size() < 2) {
        return false;
    }
    suffix = parts.last();
    const QString head = parts.first().trimmed();
    const auto setDisulfide = [isDisulfide](bool value) {
        if (isDisulfide) {
            *isDisulfide = value;
        }
    };
    if (head.startsWith(kIntraDisulfideTag)) {
        linkName = kDisulfide;
        setDisulfide(true);
        return true;
    }
    if (head.startsWith(kIntraTag)) {
        // The tag and one separator character.
        linkName = head.mid(kIntraTag.size() + 1);
        setDisulfide(false);
        return true;
    }
    linkName.clear();
    setDisulfide(false);
    return false;
}

QString XlinkInfo::toString(QChar separator) const
{
    QList<QString> positions;
    positions.reserve(linkPositions.size());
    for (const int position : linkPositions) {
        positions.append(QString::number(position));
    }
    // One multi-argument arg(): a "%1" inside a sequence or linker name must stay text.
    QString text = QStringLiteral("{xlink-inter} Seq:%1 Protein:%2 Position:%3 LinkPosition:%4 LinkDeltaMass:%5 "
                                  "LinkName:{%6}")
                       .arg(partnerSequence,
                            QString::number(partnerProtein),
                            QString::number(partnerPosition),
                            positions.join(separator),
                            QString::number(linkDeltaMass, 'g', QLocale::FloatingPointShortest),
                            linkName);
    if (expected.has_value()) {
        text += QStringLiteral(" Expected:%1").arg(*expected ? 1 : 0);
    }
    if (!nameSuffix.isEmpty()) {
        text = QStringLiteral("%1 / %2").arg(text, nameSuffix);
    }
    return text;
}

QString XlinkInfo::partnerSequenceUnformatted() const
{
    if (partnerSequence.isEmpty()) {
        return QString();
    }
    const QList<QString> parts = partnerSequence.split(u'.');
    return parts.size() >= 2 ? parts[1] : QString();
}

int XlinkInfo::getPositionOfFirstXlinkInPartnerSequence() const
{
    return linkPositions.isEmpty() ? 0 : linkPositions.first();
}

} // namespace zeq
