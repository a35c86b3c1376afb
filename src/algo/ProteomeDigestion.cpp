#include "algo/ProteomeDigestion.h"

#include "algo/ProteinDigestNumbering.h"
#include "math/MonoisotopicMass.h"
#include "utils/FastaProteinReader.h"

#include <algorithm>
#include <cmath>

namespace zeq
{

ProteomeDigestion::ProteomeDigestion(const ProteomeDigestionSettings &settings)
    : m_settings(settings)
    , m_openMassRange(settings.minMass <= 0.0 && std::isinf(settings.maxMass) && settings.maxMass > 0.0)
{
    Q_ASSERT(settings.enzyme.isValid());
    ProteinDigestNumbering::setupCutterAndHash(settings.enzyme.digestRules(), &m_cutter, m_cleavageTable.data());
    m_engineMasses = proteinResidueMonoisotopicMasses();
    for (double &mass : m_engineMasses) {
        if (std::isnan(mass)) {
            mass = 0.0;
        }
    }
}

Error ProteomeDigestion::digest(QStringView sequence)
{
    m_peptides.clear();
    // The digestion engine numbers residues with int; cut down, a longer protein would be digested
    // as another one.
    if (sequence.size() > std::numeric_limits<int>::max()) {
        Error err(kBadParameterError,
                  QStringLiteral("%1 residues, more than the %2 a protein may have")
                      .arg(sequence.size())
                      .arg(std::numeric_limits<int>::max()));
        return ZEQ_ECATCH(err);
    }
    const std::array<double, 256> &masses = proteinResidueMonoisotopicMasses();
    const auto length = static_cast<int>(sequence.size());
    m_residues.resize(size_t(length));
    m_unknownBefore.resize(size_t(length) + 1);
    int unknown = 0;
    for (int i = 0; i < length; ++i) {
        char16_t code = sequence[i].unicode();
        if (code > 0x7f) {
            m_residues.clear();
            Error err(kBadParameterError,
                      QStringLiteral("residue %1 is \"%2\", not an ASCII letter").arg(i + 1).arg(sequence[i]));
            return ZEQ_ECATCH(err);
        }
        // The cleavage table holds upper-case residues only.
        if (code >= u'a' && code <= u'z') {
            code -= u'a' - u'A';
        }
        m_residues[size_t(i)] = static_cast<char>(code);
        m_unknownBefore[size_t(i)] = unknown;
        unknown += std::isnan(masses[code]) ? 1 : 0;
    }
    m_unknownBefore[size_t(length)] = unknown;

    constexpr double noBound = std::numeric_limits<double>::infinity();
    Error err = m_engine.init(m_residues.data(),
                              length,
                              m_engineMasses.data(),
                              kWaterMonoisotopicMass,
                              0.0,
                              -noBound,
                              noBound,
                              m_settings.maxMissedCleavages,
                              m_cleavageTable.data(),
                              m_cutter,
                              DigestSpecific,
                              0);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    // Filled by index, not appended: a proteome's millions of peptides make each append's checks count.
    const QList<ProteinDigestor::Peptide> &found = m_engine.peptides();
    m_peptides.resize(found.size());
    DigestedPeptide *kept = m_peptides.data();
    for (const ProteinDigestor::Peptide &peptide : found) {
        const int residues = peptide.last - peptide.first + 1;
        if (residues < m_settings.minLength || residues > m_settings.maxLength) {
            continue;
        }
        double mass = peptide.mass;
        if (m_unknownBefore[size_t(peptide.last) + 1] != m_unknownBefore[size_t(peptide.first)]) {
            mass = std::numeric_limits<double>::quiet_NaN();
            if (!m_openMassRange) {
                continue;
            }
        } else if (mass < m_settings.minMass || mass > m_settings.maxMass) {
            continue;
        }
        *kept++ = { peptide.first + 1,
                    peptide.last + 1,
                    peptide.missedCleavages,
                    mass,
                    peptide.first == 0 ? '-' : m_residues[size_t(peptide.first) - 1],
                    peptide.last + 1 == length ? '-' : m_residues[size_t(peptide.last) + 1],
                    QLatin1StringView(m_residues.data() + peptide.first, residues) };
    }
    m_peptides.resize(kept - m_peptides.constData());
    return err;
}

Error ProteomeDigestion::digestFastaFile(const QString &path, const ProteinSink &sink)
{
    FastaProteinReader reader;
    Error err = reader.open(path);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    FastaEntry protein;
    while (reader.next(&protein)) {
        const QString accession = accessionOf(protein.name);
        err = digest(protein.sequence);
        if (err.hasError()) {
            Error located(kBadParameterError,
                          QStringLiteral("%1 line %2: protein %3: %4")
                              .arg(path)
                              .arg(protein.headerLine)
                              .arg(accession.left(80), err.errorString()));
            return ZEQ_ECATCH(located);
        }
        if (!sink(protein, accession, m_peptides)) {
            err = Error(kError, QStringLiteral("%1: digestion stopped by the caller").arg(path));
            return ZEQ_ECATCH(err);
        }
    }
    err = reader.error();
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

QString ProteomeDigestion::accessionOf(const QString &name)
{
    const QStringView text = QStringView(name).trimmed();
    const auto blank = std::find_if(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
    return text.first(blank - text.cbegin()).toString();
}

} // namespace zeq
