#include "zeq_common_core_mini/ColumnFriendlyName.h"

namespace
{

using CFN = ColumnFriendlyName;
using FNS = FriendlyNameStruct;

QHash<QString, FriendlyNameStruct> makeRegistry()
{
    struct Entry {
        const char16_t *name;
        const char16_t *display;
        FNS::DataType type;
        CFN::GroupingMethod method;
    };
    // Names as the applications spell them (the library exports them as k<Name> constants).
    static const Entry entries[] = {
        { u"CalcMr", u"Calc. Mr", FNS::Mass, CFN::First },
        { u"CalcMz", u"Calc. m/z", FNS::Mass, CFN::First },
        { u"CalcMH", u"Calc. MH", FNS::Mass, CFN::First },
        { u"ObservedMr", u"Obs. Mr", FNS::Mass, CFN::Mean },
        { u"ObservedMz", u"Obs. m/z", FNS::Mass, CFN::Mean },
        { u"ObservedMH", u"Obs. MH", FNS::Mass, CFN::Mean },
        { u"MonoIsoMass", u"Monoisotopic Mass", FNS::Mass, CFN::First },
        { u"ExpectedMass", u"Expected Mass", FNS::Mass, CFN::First },
        { u"Ms2Mass", u"MS2 Mass", FNS::Mass, CFN::Mean },
        { u"PrecursorMz", u"Precursor m/z", FNS::Mass, CFN::Mean },
        { u"ProteinMolecularWeight", u"Molecular Weight", FNS::Mass, CFN::First },
        { u"MassErrPPM", u"Mass Error (ppm)", FNS::Double, CFN::Mean },
        { u"Ms2ChargeState", u"Charge", FNS::Integer, CFN::JoinUnique },
        { u"XICCharge", u"XIC Charge", FNS::Integer, CFN::JoinUnique },
        { u"Score", u"Score", FNS::Double, CFN::Max },
        { u"BestScore", u"Best Score", FNS::Double, CFN::Max },
        { u"Ms2Score", u"MS2 Score", FNS::Double, CFN::Max },
        { u"LogProb", u"Log Prob", FNS::Double, CFN::Max },
        { u"PEP", u"PEP", FNS::Double, CFN::Min },
        { u"Intensity", u"Intensity", FNS::Double, CFN::Sum },
        { u"MaxIntensity", u"Max Intensity", FNS::Double, CFN::Max },
        { u"XICAreaUnderCurve", u"XIC Area", FNS::Double, CFN::Sum },
        { u"ScanNumber", u"Scan", FNS::Integer, CFN::First },
        { u"ScanTime", u"Scan Time", FNS::Double, CFN::Min },
        { u"Ms2AcquisitionTime", u"MS2 Time", FNS::Double, CFN::Min },
        { u"StartPosition", u"Start", FNS::Integer, CFN::Min },
        { u"EndPosition", u"End", FNS::Integer, CFN::Max },
        { u"Length", u"Length", FNS::Integer, CFN::First },
        { u"RankNumber", u"Rank", FNS::Integer, CFN::Min },
        { u"ProteinNumber", u"Protein #", FNS::Integer, CFN::First },
        { u"Id", u"Id", FNS::Integer, CFN::Count },
        { u"RowId", u"Row Id", FNS::Integer, CFN::Count },
        { u"Count", u"Count", FNS::Integer, CFN::Sum },
        { u"ProteinCoveragePercent", u"Coverage %", FNS::Percent, CFN::Max },
        { u"Selected", u"Selected", FNS::Boolean, CFN::First },
        { u"ScoreList", u"Scores", FNS::List, CFN::First },
        { u"HitChargeList", u"Charges", FNS::List, CFN::First },
        { u"sequence", u"Sequence", FNS::String, CFN::First },
        { u"Ms2Sequence", u"MS2 Sequence", FNS::String, CFN::First },
        { u"ProteinName", u"Protein", FNS::String, CFN::JoinUnique },
        { u"AccessionName", u"Accession", FNS::String, CFN::JoinUnique },
        { u"Modifications", u"Modifications", FNS::String, CFN::JoinUnique },
        { u"Description", u"Description", FNS::RichText, CFN::First },
    };
    QHash<QString, FriendlyNameStruct> registry;
    registry.reserve(std::size(entries));
    for (const Entry &e : entries) {
        registry.insert(QString::fromUtf16(e.name), { QString::fromUtf16(e.display), e.type, e.method });
    }
    return registry;
}

} // namespace

const QHash<QString, FriendlyNameStruct> &ColumnFriendlyName::getColumnFriendlyNames()
{
    static const QHash<QString, FriendlyNameStruct> registry = makeRegistry();
    return registry;
}

FriendlyNameStruct ColumnFriendlyName::field(const QString &name)
{
    const QHash<QString, FriendlyNameStruct> &registry = getColumnFriendlyNames();
    auto it = registry.constFind(name);
    if (it == registry.constEnd()) {
        const qsizetype colon = name.indexOf(u':');
        if (colon > 0) {
            it = registry.constFind(name.left(colon));
        }
    }
    return it == registry.constEnd() ? FriendlyNameStruct() : it.value();
}

QString FriendlyNameStruct::typeToString(DataType type)
{
    switch (type) {
    case String:
        return QStringLiteral("String");
    case Double:
        return QStringLiteral("Double");
    case Mass:
        return QStringLiteral("Mass");
    case Integer:
        return QStringLiteral("Integer");
    case Percent:
        return QStringLiteral("Percent");
    case Boolean:
        return QStringLiteral("Boolean");
    case List:
        return QStringLiteral("List");
    case RichText:
        return QStringLiteral("RichText");
    }
    return QStringLiteral("Unknown(%1)").arg(qint32(type));
}
