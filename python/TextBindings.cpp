// Mass tolerances, the streaming FASTA reader and the parsers of modification and cross-link texts.
#include "Bindings_p.h"
#include "algo/ProteomeDigestion.h"
#include "db/MassName.h"
#include "db/ModificationsManager.h"
#include "math/MassTolerance.h"
#include "utils/FastaProteinReader.h"
#include "utils/TessanUtilsXlinkNames.h"

#include <memory>
#include <pybind11/operators.h>

namespace zeq::python
{

namespace
{

MassTolerance::MassUnit unitFrom(const py::object &unit)
{
    if (py::isinstance<py::str>(unit)) {
        const QString text = unit.cast<QString>().trimmed();
        // The library's own setUnit(text) reads any unknown text as Dalton; a typo in a script
        // should not silently change a tolerance a thousandfold.
        if (text.compare(u"ppm", Qt::CaseInsensitive) == 0) {
            return MassTolerance::ppm;
        }
        if (text.compare(u"Da", Qt::CaseInsensitive) == 0 || text.compare(u"Dalton", Qt::CaseInsensitive) == 0) {
            return MassTolerance::Dalton;
        }
        raiseBadParameter(QStringLiteral("Unknown mass tolerance unit \"%1\": use \"ppm\" or \"Da\"").arg(text));
    }
    if (py::isinstance<py::int_>(unit)) {
        const int value = unit.cast<int>();
        if (value == MassTolerance::ppm || value == MassTolerance::Dalton) {
            return MassTolerance::MassUnit(value);
        }
        raiseBadParameter(QStringLiteral("Unknown mass tolerance unit %1").arg(value));
    }
    raiseBadParameter(QStringLiteral("A mass tolerance unit is a MassUnit or \"ppm\" or \"Da\", not %1")
                          .arg(py::str(py::type::of(unit)).cast<QString>()));
}

/// FastaProteinReader as a Python iterator: one protein per step, never the whole file.
class FastaIterator
{
public:
    FastaIterator(const QString &path, int limit)
    {
        raiseIfError(m_reader.open(path));
        m_reader.setLimit(limit);
    }

    py::tuple next()
    {
        // The GIL stays held: it is what keeps two threads sharing one reader from reading at once.
        if (!m_reader.next(&m_entry)) {
            raiseIfError(m_reader.error());
            throw py::stop_iteration();
        }
        return py::make_tuple(ProteomeDigestion::accessionOf(m_entry.name), m_entry.sequence);
    }

    [[nodiscard]] const FastaEntry &entry() const { return m_entry; }
    [[nodiscard]] QString encoding() const { return QString::fromLatin1(m_reader.sourceEncoding()); }

private:
    FastaProteinReader m_reader;
    FastaEntry m_entry;
};

py::dict xlinkInfoToDict(const XlinkInfo &info)
{
    py::dict d;
    d["partner_sequence"] = info.partnerSequence;
    d["link_positions"] = std::vector<int>(info.linkPositions.begin(), info.linkPositions.end());
    d["partner_protein"] = info.partnerProtein;
    d["partner_position"] = info.partnerPosition;
    d["name_suffix"] = info.nameSuffix;
    d["link_delta_mass"] = info.linkDeltaMass;
    d["link_name"] = info.linkName;
    d["expected"] = info.expected ? py::object(py::bool_(*info.expected)) : py::object(py::none());
    return d;
}

} // namespace

void bindTextParsers(py::module_ &m)
{
    py::class_<MassTolerance>(m,
                              "MassTolerance",
                              "How far apart two masses (Da) or m/z values (Th) may be and still count as the same: a "
                              "tolerance in parts per million of the reference, or in Da.")
        .def(
            py::init([](double tolerance, const py::object &unit) { return MassTolerance(unitFrom(unit), tolerance); }),
            py::arg("tolerance"),
            py::arg("unit") = "ppm",
            "tolerance in the unit's terms: ppm, or Da; unit is a MassUnit, \"ppm\" or \"Da\".")
        .def_property_readonly("tolerance", &MassTolerance::tolerance, "The tolerance, in ppm or Da as unit says.")
        .def_property_readonly(
            "unit", [](const MassTolerance &t) { return enumValue("MassUnit", t.unit()); }, "MassUnit.PPM or DALTON.")
        .def(
            "bounds",
            [](const MassTolerance &t, double mass) {
                const Result<Interval<double>> bounds = t.getBounds(mass);
                raiseIfError(bounds.error());
                return py::make_tuple(bounds.value().lower, bounds.value().upper);
            },
            py::arg("mass"),
            "(lower, upper): the closed window of values matching mass (Da or Th). In ppm it is asymmetric, "
            "[mass·(1−f), mass/(1−f)] with f = tolerance·1e-6; the lower bound is never negative. "
            "BadParameterError at 1,000,000 ppm, where no upper bound exists.")
        .def("within",
             &MassTolerance::withinTolerance,
             py::arg("value"),
             py::arg("reference"),
             "Whether value lies within the tolerance of reference (ppm of the reference).")
        .def(py::self == py::self)
        .def("__repr__", [](const MassTolerance &t) {
            return QStringLiteral("MassTolerance(%1, '%2')")
                .arg(QString::number(t.tolerance(), 'g', 17),
                     t.unit() == MassTolerance::ppm ? QStringLiteral("ppm") : QStringLiteral("Da"));
        });

    py::class_<FastaIterator>(m,
                              "FastaReader",
                              "Iterates over the proteins of a FASTA file as (accession, sequence), in file order, "
                              "reading one protein at a time whatever the file's size. UTF-8, UTF-16 with a "
                              "byte-order mark and Latin-1 files are read. The accession is the first word of "
                              "the header. Opening fails with zeq.Error naming the file; a malformed line raises "
                              "when the iteration reaches it.")
        .def(py::init<const QString &, int>(),
             py::arg("path"),
             py::arg("limit") = 0,
             "limit: the most proteins the file may hold (0: no limit); beyond it the iteration raises.")
        .def("__iter__", [](FastaIterator &self) -> FastaIterator & { return self; })
        .def("__next__", &FastaIterator::next)
        .def_property_readonly(
            "name",
            [](const FastaIterator &self) { return self.entry().name; },
            "Full header text of the last protein.")
        .def_property_readonly(
            "encoding", &FastaIterator::encoding, "\"UTF-8\", \"UTF-16LE\", \"UTF-16BE\" or \"ISO-8859-1\".");

    m.def(
        "parse_mass_name",
        [](const QString &text) {
            const Result<MassName> name = MassName::fromString(text);
            raiseIfError(name.error());
            return name.value().name();
        },
        py::arg("text"),
        "The modification name text checked: ASCII letters, digits, ( ) + - [ ] and single inner blanks "
        "(\"Carbamidomethyl (C)\"). BadParameterError otherwise.");
    m.def(
        "parse_modification_name_with_mass",
        [](const QString &text) {
            QString name;
            double mass = 0.0;
            raiseIfError(ModificationsManager::parseModificationNameWithMass(text, &name, &mass));
            return py::make_tuple(name, mass);
        },
        py::arg("text"),
        "(name, mass in Da) from \"name/mass\"; the last '/' separates, so names may hold slashes.");
    m.def(
        "parse_modification_list",
        [](QString text) {
            QString names;
            QString positions;
            ModificationsManager manager;
            raiseIfError(manager.modNamesAndPositionsListFromTessanStyleMods(text, &names, &positions));
            const QList<QString> nameList = names.split(u',', Qt::SkipEmptyParts);
            const QList<QString> positionList = positions.split(u',', Qt::SkipEmptyParts);
            std::vector<std::pair<QString, QString>> out;
            for (qsizetype i = 0; i < nameList.size() && i < positionList.size(); ++i) {
                out.emplace_back(positionList.at(i), nameList.at(i));
            }
            return out;
        },
        py::arg("text"),
        "[(position, name), ...] from \"5|Oxidation;12|Deamidation\"; positions stay text as written. "
        "zeq.Error for a part without exactly one '|'.");
    m.def(
        "parse_inter_peptide_xlink_name",
        [](const QString &name) -> py::object {
            XlinkInfo info;
            if (!parseInterPeptideXlinkName(name, info)) {
                return py::none();
            }
            return xlinkInfoToDict(info);
        },
        py::arg("name"),
        "The partner of an {xlink-inter} or {S-S-inter} cross-link name as a dict (partner_sequence, "
        "link_positions 0-based, partner_protein, partner_position, name_suffix, link_delta_mass in Da, "
        "link_name, expected); None when Seq:, Protein: or Position: is missing.");
    m.def(
        "parse_intra_peptide_xlink_name",
        [](const QString &name) -> py::object {
            QString suffix;
            QString linkName;
            bool disulfide = false;
            if (!name.contains(u'/') || !parseIntraPeptideXlinkName(name, suffix, linkName, &disulfide)) {
                return py::none();
            }
            return py::make_tuple(suffix, linkName, disulfide);
        },
        py::arg("name"),
        "(suffix, link_name, is_disulfide) of an {xlink-intra} or {S-S-intra} name with a '/'; None otherwise.");
}

} // namespace zeq::python
