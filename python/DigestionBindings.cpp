// Enzymes, digestion settings and the digestion of proteins and FASTA proteomes into peptide columns.
#include "Bindings_p.h"
#include "algo/ProteomeDigestion.h"
#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <cmath>
#include <limits>
#include <pybind11/operators.h>
#include <string>
#include <vector>

namespace zeq::python
{

namespace
{

ProteinDigestionItem digestionItemFrom(const QString &text)
{
    if (text.contains(u'@')) {
        if (!ProteinDigestionItem::validate(text)) {
            raiseBadParameter(
                QStringLiteral("\"%1\" is no digestion rule of the form \"Name @ letters | C-term\"").arg(text));
        }
        return ProteinDigestionItem::fromString(text);
    }
    const ProteinDigestionItem item = ProteinDigestionItem::mapFromEnzyme(text);
    if (!item.isValid()) {
        raiseBadParameter(QStringLiteral("Unknown enzyme \"%1\"").arg(text));
    }
    return item;
}

ProteomeDigestionSettings settingsFrom(const py::object &enzyme,
                                       int maxMissedCleavages,
                                       int minLength,
                                       int maxLength,
                                       double minMass,
                                       double maxMass)
{
    ProteomeDigestionSettings settings;
    if (py::isinstance<py::str>(enzyme)) {
        settings.enzyme = digestionItemFrom(enzyme.cast<QString>());
    } else if (py::isinstance<ProteinDigestionItem>(enzyme)) {
        settings.enzyme = enzyme.cast<ProteinDigestionItem>();
    } else {
        raiseBadParameter(QStringLiteral("An enzyme is a name, a rule text or a DigestionItem, not %1")
                              .arg(py::str(py::type::of(enzyme)).cast<QString>()));
    }
    if (!settings.enzyme.isValid()) {
        raiseBadParameter(QStringLiteral("The enzyme \"%1\" has no cleavage rules").arg(settings.enzyme.toString()));
    }
    if (maxMissedCleavages < 0) {
        raiseBadParameter(QStringLiteral("max_missed_cleavages %1 is negative").arg(maxMissedCleavages));
    }
    if (minLength < 1 || minLength > maxLength) {
        raiseBadParameter(
            QStringLiteral("Peptide lengths %1 to %2 are no range of residues").arg(minLength).arg(maxLength));
    }
    if (std::isnan(minMass) || std::isnan(maxMass) || minMass < 0.0 || minMass > maxMass) {
        raiseBadParameter(QStringLiteral("Peptide masses %1 to %2 Da are no range").arg(minMass).arg(maxMass));
    }
    settings.maxMissedCleavages = maxMissedCleavages;
    settings.minLength = minLength;
    settings.maxLength = maxLength;
    settings.minMass = minMass;
    settings.maxMass = maxMass;
    return settings;
}

/// Peptide columns filled without the GIL, turned into Python objects once the digestion is over.
struct PeptideColumns {
    std::vector<qsizetype> protein; // index into accessions
    std::vector<QString> accessions;
    std::vector<std::string> sequence;
    std::vector<int> start;
    std::vector<int> end;
    std::vector<int> missedCleavages;
    std::vector<double> mass;
    std::string before;
    std::string after;

    void add(const QList<DigestedPeptide> &peptides)
    {
        for (const DigestedPeptide &p : peptides) {
            protein.push_back(qsizetype(accessions.size()) - 1);
            sequence.emplace_back(p.sequence.data(), size_t(p.sequence.size()));
            start.push_back(p.start);
            end.push_back(p.end);
            missedCleavages.push_back(p.missedCleavages);
            mass.push_back(p.monoisotopicMass);
            before.push_back(p.before);
            after.push_back(p.after);
        }
    }

    py::dict toPython(bool withAccession) const
    {
        py::dict d;
        if (withAccession) {
            py::list acc(protein.size());
            for (size_t i = 0; i < protein.size(); ++i) {
                acc[i] = py::cast(accessions[size_t(protein[i])]);
            }
            d["accession"] = acc;
        }
        d["sequence"] = py::cast(sequence);
        d["start"] = py::array_t<int>(py::ssize_t(start.size()), start.data());
        d["end"] = py::array_t<int>(py::ssize_t(end.size()), end.data());
        d["missed_cleavages"] = py::array_t<int>(py::ssize_t(missedCleavages.size()), missedCleavages.data());
        d["mass"] = py::array_t<double>(py::ssize_t(mass.size()), mass.data());
        py::list b(before.size());
        py::list a(after.size());
        for (size_t i = 0; i < before.size(); ++i) {
            b[i] = py::str(&before[i], 1);
            a[i] = py::str(&after[i], 1);
        }
        d["before"] = b;
        d["after"] = a;
        return d;
    }
};

constexpr const char *kColumnsDoc =
    " Returns the peptides as columns of equal length: sequence (list of str, upper case), start and end "
    "(int32 arrays, residues counted from 1, end inclusive), missed_cleavages (int32), mass (float64, neutral "
    "monoisotopic mass in Da, NaN when a residue has no formula), before and after (the flanking residues, "
    "'-' at a protein's ends). Settings: enzyme (a name such as \"Trypsin\", a rule text \"Name @ KR | C-term\" "
    "or a DigestionItem), max_missed_cleavages, peptide lengths min_length..max_length in residues and masses "
    "min_mass..max_mass in Da, both inclusive.";

} // namespace

void bindDigestion(py::module_ &m)
{
    py::class_<ProteinDigestionItem>(
        m, "DigestionItem", "An enzyme with its cleavage rules, written \"Trypsin @ R,K | C-term\".")
        .def(py::init(&digestionItemFrom),
             py::arg("text"),
             "An enzyme by name (\"trypsin\", \"Lys-C\"; the first known enzyme whose name contains it, "
             "ignoring case and dashes) or a rule text with '@'. BadParameterError for an unknown name or a "
             "malformed rule.")
        .def_property_readonly("enzyme", &ProteinDigestionItem::enzyme, "The enzyme's name.")
        .def("__str__", &ProteinDigestionItem::toString)
        .def(
            "__repr__",
            [](const ProteinDigestionItem &item) { return QStringLiteral("DigestionItem('%1')").arg(item.toString()); })
        .def(py::self == py::self)
        .def("__hash__", [](const ProteinDigestionItem &item) { return qHash(item); });

    m.def(
        "enzymes",
        [] {
            std::vector<QString> names;
            for (const ProteinDigestionItem &item : ProteinDigestionItem::knownEnzymeDigestRules()) {
                if (item.isValid()) {
                    names.push_back(item.enzyme());
                }
            }
            return names;
        },
        "Names of the enzymes with cleavage rules that DigestionItem knows.");

    const auto inf = std::numeric_limits<double>::infinity();
    m.def(
        "digest_protein",
        [](const QString &sequence,
           const py::object &enzyme,
           int maxMissedCleavages,
           int minLength,
           int maxLength,
           double minMass,
           double maxMass) {
            ProteomeDigestion digestion(
                settingsFrom(enzyme, maxMissedCleavages, minLength, maxLength, minMass, maxMass));
            PeptideColumns columns;
            Error err;
            {
                py::gil_scoped_release release;
                err = digestion.digest(sequence);
                columns.accessions.emplace_back();
                columns.add(digestion.peptides());
            }
            raiseIfError(err);
            return columns.toPython(false);
        },
        py::arg("sequence"),
        py::kw_only(),
        py::arg("enzyme") = "Trypsin",
        py::arg("max_missed_cleavages") = 2,
        py::arg("min_length") = 7,
        py::arg("max_length") = 50,
        py::arg("min_mass") = 0.0,
        py::arg("max_mass") = inf,
        (std::string("The peptides of one protein sequence (one-letter codes, any case), by first residue then "
                     "last. BadParameterError for a character outside ASCII.")
         + kColumnsDoc)
            .c_str());
    m.def(
        "digest_fasta",
        [](const QString &path,
           const py::object &enzyme,
           int maxMissedCleavages,
           int minLength,
           int maxLength,
           double minMass,
           double maxMass) {
            ProteomeDigestion digestion(
                settingsFrom(enzyme, maxMissedCleavages, minLength, maxLength, minMass, maxMass));
            PeptideColumns columns;
            Error err;
            {
                py::gil_scoped_release release;
                err = digestion.digestFastaFile(
                    path,
                    [&columns](const FastaEntry &, const QString &accession, const QList<DigestedPeptide> &peptides) {
                        columns.accessions.push_back(accession);
                        columns.add(peptides);
                        return true;
                    });
            }
            raiseIfError(err);
            return columns.toPython(true);
        },
        py::arg("path"),
        py::kw_only(),
        py::arg("enzyme") = "Trypsin",
        py::arg("max_missed_cleavages") = 2,
        py::arg("min_length") = 7,
        py::arg("max_length") = 50,
        py::arg("min_mass") = 0.0,
        py::arg("max_mass") = inf,
        (std::string("The peptides of every protein of a FASTA file, read one protein at a time, in file order. "
                     "An extra column accession (list of str) names each peptide's protein. Errors name the file "
                     "(and the protein's header line).")
         + kColumnsDoc)
            .c_str());
}

} // namespace zeq::python
