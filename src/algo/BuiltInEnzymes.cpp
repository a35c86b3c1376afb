#include "algo/BuiltInEnzymes.h"

#include "ZeqLogging.h"
#include "algo/ProteinDigestionItem_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

namespace zeq
{

// The proteases are built from the names above them: both live in this file, in this order.
const QString BuiltInEnzymes::kTrypsin = QStringLiteral("Trypsin");
const QString BuiltInEnzymes::kChymotrypsin = QStringLiteral("Chymotrypsin");
const QString BuiltInEnzymes::kThermolysin = QStringLiteral("Thermolysin");
const QString BuiltInEnzymes::kLysC = QStringLiteral("LysC");
const QString BuiltInEnzymes::kGluC = QStringLiteral("GluC");
const QString BuiltInEnzymes::kAspN = QStringLiteral("AspN");
const QString BuiltInEnzymes::kLysN = QStringLiteral("LysN");
const QString BuiltInEnzymes::kArgC = QStringLiteral("ArgC");
const QString BuiltInEnzymes::kPepsin = QStringLiteral("Pepsin");
const QString BuiltInEnzymes::kElastase = QStringLiteral("Elastase");
const QString BuiltInEnzymes::kPronase = QStringLiteral("Pronase");

namespace
{

ProteinDigestionItem cTermProtease(const QString &name, QList<QChar> residues)
{
    return ProteinDigestionItem(name, DigestRules::makeCtermOnly(DigestRule(residues)), -1);
}

ProteinDigestionItem nTermProtease(const QString &name, QList<QChar> residues)
{
    return ProteinDigestionItem(name, DigestRules::makeNtermOnly(DigestRule(residues)), -1);
}

} // namespace

const ProteinDigestionItem BuiltInProteases::kTrypsin = cTermProtease(BuiltInEnzymes::kTrypsin, { u'R', u'K' });
const ProteinDigestionItem BuiltInProteases::kChymotrypsin =
    cTermProtease(BuiltInEnzymes::kChymotrypsin, { u'W', u'F', u'L', u'Y' });
const ProteinDigestionItem BuiltInProteases::kThermolysin =
    nTermProtease(BuiltInEnzymes::kThermolysin, { u'A', u'F', u'I', u'L', u'M', u'V' });
const ProteinDigestionItem BuiltInProteases::kLysC = cTermProtease(BuiltInEnzymes::kLysC, { u'K' });
const ProteinDigestionItem BuiltInProteases::kGluC = cTermProtease(BuiltInEnzymes::kGluC, { u'D', u'E' });
const ProteinDigestionItem BuiltInProteases::kAspN = nTermProtease(BuiltInEnzymes::kAspN, { u'D' });
const ProteinDigestionItem BuiltInProteases::kLysN = nTermProtease(BuiltInEnzymes::kLysN, { u'K' });
const ProteinDigestionItem BuiltInProteases::kArgC = cTermProtease(BuiltInEnzymes::kArgC, { u'R' });

namespace
{

// <application data>/../General/CustomProteases.txt, or <application data>/Quorvane/General/... for
// an unnamed application. Composed as text: QDir::cd refuses to enter a missing folder and would
// leave the path one level too high, where an unrelated file of that name might be found.
QString customProteasesPath()
{
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (appData.isEmpty()) {
        return {};
    }
    const QString base = QCoreApplication::applicationName().isEmpty() ? appData + QStringLiteral("/Quorvane")
                                                                       : appData + QStringLiteral("/..");
    return QDir::cleanPath(base + QStringLiteral("/General/CustomProteases.txt"));
}

// A bare name (no "@") is looked up among the entries read so far: the full list is what is being
// built, and asking for it here would wait on itself.
void readRulesFromFile(const QString &path, QList<ProteinDigestionItem> *list)
{
    QFile file(path);
    if (!file.exists()) {
        return;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCCritical(lcCore).noquote() << "Unable to open file:" << path;
        return;
    }
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        if (ProteinDigestionItem::validate(line)) {
            list->append(detail::fromStringAmong(line, *list));
        } else {
            qCCritical(lcCore).noquote() << line << "is not valid";
        }
    }
}

QList<ProteinDigestionItem> buildKnownEnzymes()
{
    const DigestRule k({ u'K' });
    const DigestRule d({ u'D' });
    QList<ProteinDigestionItem> list{
        BuiltInProteases::kTrypsin,
        BuiltInProteases::kChymotrypsin,
        BuiltInProteases::kThermolysin,
        BuiltInProteases::kLysC,
        BuiltInProteases::kGluC,
        BuiltInProteases::kAspN,
        BuiltInProteases::kLysN,
        BuiltInProteases::kArgC,
        ProteinDigestionItem(QStringLiteral("LysC_AspN"), k, d, DigestRules::CtermNterm, -1),
        ProteinDigestionItem(
            QStringLiteral("Trypsin_AspN"), DigestRule({ u'K', u'R' }), d, DigestRules::CtermNterm, -1),
        ProteinDigestionItem(BuiltInEnzymes::kPepsin, DigestRules(), -1),
        ProteinDigestionItem(BuiltInEnzymes::kElastase, DigestRules(), -1),
        ProteinDigestionItem(BuiltInEnzymes::kPronase, DigestRules(), -1),
        ProteinDigestionItem(QStringLiteral("Other"), DigestRules(), -1),
    };
    readRulesFromFile(customProteasesPath(), &list);
    return list;
}

} // namespace

QList<ProteinDigestionItem> ProteinDigestionItem::knownEnzymeDigestRules()
{
    static const QList<ProteinDigestionItem> known = buildKnownEnzymes();
    return known;
}

} // namespace zeq
