// The digest subcommand: every peptide of an in-silico digestion of the proteins of a FASTA file,
// with its place in the protein and its monoisotopic mass.
#include "DigestCommand.h"

#include "CommandLine.h"
#include "FastaInput.h"
#include "PeptideRows.h"
#include "TableWriter.h"
#include "algo/DigestRules.h"
#include "algo/ProteomeDigestion.h"

#include <limits>
#include <optional>

using namespace zeq::cli;
using zeq::DigestedPeptide;
using zeq::ProteinDigestionItem;
using zeq::ProteomeDigestion;

namespace
{

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr int kMostResidues = std::numeric_limits<int>::max();

// Names are compared as a person types them: any case, with or without a dash ("lys-c").
QString nameKey(const QString &name)
{
    return QString(name).remove(u'-').toLower();
}

zeq::Result<ProteinDigestionItem> enzymeFromText(const QString &text)
{
    Error err(kBadParameterError);
    if (text.contains(u'@')) {
        const ProteinDigestionItem item = ProteinDigestionItem::fromString(text);
        if (ProteinDigestionItem::validate(text) && item.isValid()) {
            return item;
        }
        err.addErrorMessage(QStringLiteral("--enzyme \"%1\" is not NAME @ LETTERS | SIDE with one side (C-term or "
                                           "N-term) per letter group, e.g. \"Mine @ K,R;D | C-term;N-term\"")
                                .arg(elide(text)));
        return ZEQ_ECATCH(err);
    }
    // An exact name only: the library's own look-up matches any part of a name, so "Lys" would
    // quietly digest with Thermolysin.
    for (const ProteinDigestionItem &known : ProteinDigestionItem::knownEnzymeDigestRules()) {
        if (!known.enzyme().isEmpty() && nameKey(known.enzyme()) == nameKey(text)) {
            if (known.isValid()) {
                return known;
            }
            err.addErrorMessage(QStringLiteral("enzyme \"%1\" has no cleavage rules; give them as --enzyme "
                                               "\"%1 @ LETTERS | C-term\"")
                                    .arg(known.enzyme()));
            return ZEQ_ECATCH(err);
        }
    }
    err.addErrorMessage(
        QStringLiteral("unknown enzyme \"%1\"; see zeq digest --list-enzymes").arg(elide(text.trimmed())));
    return ZEQ_ECATCH(err);
}

int listEnzymes(const CommandParser &cmd, TableWriter::Format format)
{
    TableWriter table(format,
                      { { QStringLiteral("enzyme"), false },
                        { QStringLiteral("residues"), false },
                        { QStringLiteral("sides"), false },
                        { QStringLiteral("item"), false } });
    for (const ProteinDigestionItem &known : ProteinDigestionItem::knownEnzymeDigestRules()) {
        if (known.isValid()) {
            const zeq::DigestRules &rules = known.digestRules();
            table.addRow({ known.enzyme(),
                           rules.digestRulesAsString(zeq::DigestRule::Concatenated),
                           zeq::DigestRules::cuttersToString(rules.cutters()),
                           known.toString() });
        }
    }
    return writeResult(cmd.outputPath(), table.render());
}

} // namespace

int runDigest(const QStringList &args)
{
    const zeq::ProteomeDigestionSettings defaults;
    CommandParser cmd(
        QStringLiteral("digest"),
        QStringLiteral("[options] FASTA"),
        QStringLiteral("Digests every protein of a FASTA file in silico and lists the peptides, each with its "
                       "place in the protein and its monoisotopic mass."),
        QStringLiteral("\nOutput: one row per peptide, proteins in file order, peptides by start, then end.\n"
                       "  accession  first word of the protein's FASTA header\n"
                       "  start      first residue of the peptide in the protein, from 1\n"
                       "  end        last residue, from 1, inclusive\n"
                       "  missed     cleavage sites inside the peptide (missed cleavages)\n"
                       "  mono_mass  neutral monoisotopic mass in Da, from the residues' elemental\n"
                       "             formulas and exact element masses, plus one water; empty when a\n"
                       "             residue has no formula (B, J, X, Z, '*' ...)\n"
                       "  before     residue before the peptide, '-' at the protein's start\n"
                       "  after      residue after the peptide, '-' at the protein's end\n"
                       "  sequence   the peptide, upper case\n"
                       "Sequences are upper-cased before digestion. FASTA may be UTF-8, UTF-16 with a\n"
                       "byte-order mark, or Latin-1.\n"
                       "Proteins are digested one at a time and their rows written as they are made:\n"
                       "memory stays about the size of the largest protein's peptides, whatever the\n"
                       "file's size. The table format reads FASTA twice, first to measure its columns.\n"
                       "A protein that cannot be digested stops the command: rows already written to\n"
                       "standard output stay, a file named by --output is left as it was.\n"));
    cmd.parser().addPositionalArgument(QStringLiteral("FASTA"), QStringLiteral("The FASTA file."));
    cmd.addOptions({
        Option::text(QStringLiteral("enzyme"),
                     QStringLiteral("enzyme"),
                     QStringLiteral("A known enzyme by name (any case; see --list-enzymes), or cleavage rules as NAME "
                                    "@ LETTERS | SIDE, e.g. \"Mine @ K,R | C-term\" (cuts after K and R) or \"Mix @ "
                                    "K;D | C-term;N-term\"."),
                     defaults.enzyme.enzyme()),
        Option::integer(QStringLiteral("missed"),
                        QStringLiteral("N"),
                        QStringLiteral("Most missed cleavages per peptide."),
                        0,
                        100,
                        defaults.maxMissedCleavages),
        Option::integer(QStringLiteral("min-length"),
                        QStringLiteral("N"),
                        QStringLiteral("Fewest residues per peptide."),
                        1,
                        kMostResidues,
                        defaults.minLength),
        Option::integer(QStringLiteral("max-length"),
                        QStringLiteral("N"),
                        QStringLiteral("Most residues per peptide."),
                        1,
                        kMostResidues,
                        defaults.maxLength),
        Option::number(QStringLiteral("min-mass"),
                       QStringLiteral("Da"),
                       QStringLiteral("Lowest neutral monoisotopic mass."),
                       { 0.0, kInfinity },
                       defaults.minMass)
            .withUnit(QStringLiteral("Da")),
        Option::number(QStringLiteral("max-mass"),
                       QStringLiteral("Da"),
                       QStringLiteral("Highest neutral monoisotopic mass; a bound on the mass drops peptides whose "
                                      "mass is unknown."),
                       { 0.0, kInfinity },
                       defaults.maxMass)
            .withUnit(QStringLiteral("Da")),
        Option::flag(QStringLiteral("list-enzymes"),
                     QStringLiteral("List the known enzymes (built-in and the user's custom proteases) and exit.")),
    });
    cmd.addOutputOptions();
    if (const std::optional<int> status = cmd.parse(args, 0, 1)) {
        return *status;
    }
    zeq::ProteomeDigestionSettings settings;
    settings.maxMissedCleavages = cmd.integer(QStringLiteral("missed"));
    settings.minLength = cmd.integer(QStringLiteral("min-length"));
    settings.maxLength = cmd.integer(QStringLiteral("max-length"));
    settings.minMass = cmd.number(QStringLiteral("min-mass"));
    settings.maxMass = cmd.number(QStringLiteral("max-mass"));
    const TableWriter::Format format = cmd.format();
    const QStringList files = cmd.positionalArguments();
    cmd.refuseOutputsOverInputs(files);
    if (!cmd.usageError().isEmpty()) {
        return fail(kExitBadUsage, cmd.usageError());
    }
    if (cmd.isSet(QStringLiteral("list-enzymes"))) {
        return files.isEmpty() ? listEnzymes(cmd, format)
                               : fail(kExitBadUsage, QStringLiteral("--list-enzymes takes no FASTA file"));
    }
    if (files.isEmpty()) {
        return fail(kExitBadUsage, QStringLiteral("no FASTA file given; usage: zeq digest [options] FASTA"));
    }
    if (cmd.isSet(QStringLiteral("enzyme"))) {
        const zeq::Result<ProteinDigestionItem> enzyme = enzymeFromText(cmd.text(QStringLiteral("enzyme")));
        if (enzyme.hasError()) {
            return fail(kExitBadUsage, enzyme.error().errorString());
        }
        settings.enzyme = enzyme.value();
    }
    if (settings.minLength > settings.maxLength) {
        return fail(
            kExitBadUsage,
            QStringLiteral("--min-length %1 is above --max-length %2").arg(settings.minLength).arg(settings.maxLength));
    }
    if (settings.minMass > settings.maxMass) {
        return fail(kExitBadUsage, QStringLiteral("--min-mass is above --max-mass"));
    }

    FastaInput input;
    if (const std::optional<int> status = input.open(files.constFirst())) {
        return *status;
    }
    ProteomeDigestion digestion(settings);
    ResultStream out(cmd.outputPath());
    TableWriter table(format, peptideColumns());
    table.streamTo(&out);
    if (format == TableWriter::Table) {
        // Aligned columns need every width before the first line: measuring them in a first pass
        // keeps the rows from being held.
        const Error err = digestion.digestFastaFile(
            input.fileName(),
            [&](const FastaEntry &, const QString &accession, const QList<DigestedPeptide> &peptides) {
                measurePeptideRows(accession, peptides, &table);
                return true;
            });
        if (err.hasError()) {
            return input.fail(err);
        }
        table.fixWidths();
    }
    const Error err = digestion.digestFastaFile(
        input.fileName(), [&](const FastaEntry &, const QString &accession, const QList<DigestedPeptide> &peptides) {
            addPeptideRows(accession, digestion.residues(), peptides, &table);
            return table.ok();
        });
    if (err.hasError()) {
        // A failed write stops the digestion; the stream names its reason.
        return table.ok() ? input.fail(err) : out.finish();
    }
    table.finish();
    return out.finish();
}
