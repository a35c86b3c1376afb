#include "math/MonoisotopicMass.h"

#include "constants/ResidueFormulasConstants.h"

#include <cmath>
#include <limits>
#include <optional>

namespace zeq
{

namespace
{

struct ElementMass {
    QStringView symbol;
    double mass;
};

// Atomic mass evaluation 2016. Selenium's lightest isotope (74Se, under 1 %) would put the
// monoisotopic peak of a selenoprotein where almost nothing is measured, hence 80Se.
constexpr ElementMass kElements[] = {
    { u"C", 12.0 },          { u"H", 1.00782503223 },  { u"N", 14.00307400443 }, { u"O", 15.99491461957 },
    { u"S", 31.9720711744 }, { u"P", 30.97376199842 }, { u"F", 18.99840316273 }, { u"Se", 79.9165218 },
};

std::optional<double> elementMass(QStringView symbol)
{
    for (const ElementMass &element : kElements) {
        if (element.symbol == symbol) {
            return element.mass;
        }
    }
    return std::nullopt;
}

// "3" or "(-1)"; none for anything else.
std::optional<int> parseCount(QStringView text)
{
    if (text.startsWith(u'(') && text.endsWith(u')')) {
        text = text.sliced(1, text.size() - 2);
    } else if (text.startsWith(u'-') || text.startsWith(u'+')) {
        return std::nullopt; // a sign is written only inside parentheses
    }
    bool ok = false;
    const int count = text.toInt(&ok);
    return ok ? std::optional<int>(count) : std::nullopt;
}

Error badFormula(QStringView formula, const QString &reason)
{
    Error err(kBadParameterError, QStringLiteral("Formula \"%1\": %2").arg(formula.toString(), reason));
    return ZEQ_ECATCH(err);
}

std::array<double, 256> buildResidueMasses()
{
    std::array<double, 256> masses;
    masses.fill(std::numeric_limits<double>::quiet_NaN());
    for (const auto &residue : ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_PROTEIN) {
        if (residue.formula.isEmpty()) {
            continue;
        }
        const Result<double> mass = formulaMonoisotopicMass(residue.formula);
        Q_ASSERT(mass.hasValue()); // the table is ours and every formula in it parses
        masses[static_cast<unsigned char>(residue.letter.toLatin1())] = mass.hasValue() ? mass.value() : NAN;
    }
    return masses;
}

} // namespace

Result<double> formulaMonoisotopicMass(QStringView formula)
{
    double mass = 0.0;
    bool any = false;
    // The element whose count may still follow as a separate "(-1)" part.
    std::optional<double> countless;
    for (const QStringView part : formula.split(u' ', Qt::SkipEmptyParts)) {
        if (part.startsWith(u'(')) {
            const std::optional<int> count = parseCount(part);
            if (!countless || !count) {
                return badFormula(formula, QStringLiteral("\"%1\" is no count of an element").arg(part.toString()));
            }
            mass += (*count - 1) * *countless;
            countless.reset();
            continue;
        }
        qsizetype symbolEnd = 1;
        while (symbolEnd < part.size() && part.at(symbolEnd).isLower()) {
            ++symbolEnd;
        }
        const std::optional<double> element = part.at(0).isUpper() ? elementMass(part.first(symbolEnd)) : std::nullopt;
        if (!element) {
            return badFormula(formula, QStringLiteral("unknown element \"%1\"").arg(part.first(symbolEnd).toString()));
        }
        const QStringView countText = part.sliced(symbolEnd);
        const std::optional<int> count = countText.isEmpty() ? 1 : parseCount(countText);
        if (!count) {
            return badFormula(formula, QStringLiteral("bad count \"%1\"").arg(countText.toString()));
        }
        mass += *count * *element;
        countless = countText.isEmpty() ? element : std::nullopt;
        any = true;
    }
    if (!any) {
        return badFormula(formula, QStringLiteral("no element"));
    }
    return mass;
}

const std::array<double, 256> &proteinResidueMonoisotopicMasses()
{
    static const std::array<double, 256> masses = buildResidueMasses();
    return masses;
}

Result<double> peptideMonoisotopicMass(QStringView sequence)
{
    const std::array<double, 256> &masses = proteinResidueMonoisotopicMasses();
    if (sequence.isEmpty()) {
        Error err(kBadParameterError, QStringLiteral("No residues to weigh"));
        return ZEQ_ECATCH(err);
    }
    double mass = kWaterMonoisotopicMass;
    for (qsizetype i = 0; i < sequence.size(); ++i) {
        const char16_t code = sequence.at(i).toUpper().unicode();
        const double residue = code < masses.size() ? masses[code] : NAN;
        if (std::isnan(residue)) {
            Error err(kBadParameterError,
                      QStringLiteral("Residue %1 (\"%2\") has no formula").arg(i + 1).arg(sequence.at(i)));
            return ZEQ_ECATCH(err);
        }
        mass += residue;
    }
    return mass;
}

} // namespace zeq
