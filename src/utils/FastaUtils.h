#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class RowNode;

namespace zeq
{

/// Loads FASTA protein files into a protein table and checks protein sequences for characters
/// outside an allowed set. The table's columns are kProteinAccessionName, kProteinAliasName and
/// kProteinSequence; each protein is one row: its FASTA name, an empty alias, its sequence.
///
/// The most proteins one file may hold is the application setting "protein_read_limit" (as::value;
/// 5,000,000 when loading, 1,000,000 when checking a file; 0 or less: no limit).
class ZEQ_COMMON_CORE_EXPORT FastaUtils
{
    Q_DECLARE_TR_FUNCTIONS(FastaUtils)

public:
    /// Which characters a sequence may hold. Any value outside the list acts as PrintableAscii.
    enum Rule : qint32 {
        AminoAcidLetters = 0, ///< ASCII letters
        ExtendedSymbols = 1, ///< ASCII letters, digits and , | * ~ . - + ( ) [ ] { }
        PrintableAscii = 2, ///< every printable ASCII character but the blank
    };

    FastaUtils() = delete;

    /// Replaces `root` with the proteins of `paths`, in the order given; files in UTF-16 or Latin-1
    /// are read through a UTF-8 copy. The name of a row is the FASTA name without its leading '>'
    /// and white space. Rows are added only once every file has been read and checked, so on failure
    /// `root` holds the three column names and no rows. `progress` may be empty; returning false from
    /// it stops the load with an error.
    static Error loadFromFastaCli(const QList<QString> &paths,
                                  RowNode &root,
                                  const std::function<bool(const QString &)> &progress,
                                  Rule rule);
    static Error loadFromFastaCli(const QString &path,
                                  RowNode &root,
                                  const std::function<bool(const QString &)> &progress,
                                  Rule rule);

    /// Reads the UTF-8 file at `path` and checks its sequences. On failure `*message` says why (a
    /// read error, or the sequence check's lines); on success it is emptied.
    static bool checkFastaFile(const QString &path, QString *message, Rule rule);
    /// Checks the sequences (names are not examined). On failure `*message` holds one line per
    /// distinct offending sequence, in ascending order of the sequence text: "Protein sequence
    /// ABCDE... contains illegal character(s): 1 *\n", the characters in order of appearance.
    static bool checkProteinNamesAndSequences(const QList<QString> &names,
                                              const QList<QString> &sequences,
                                              QString *message,
                                              Rule rule);

    /// The characters of `sequence` that `rule` does not allow, in order and with repeats (a
    /// character outside the Basic Multilingual Plane is one entry); empty for a clean sequence.
    static QList<QString> illegalCharacters(const QString &sequence, Rule rule);

    /// True when a sequence of the table holds ',' or '|', as tables of an older layout did.
    static bool isOldFormat(const RowNode &root);
};

/// Writes each name with its sequence as a FASTA record preceded by an empty line (the file starts
/// with one): "\n>name\nsequence\n". Names and sequences are written byte for byte. The file is
/// replaced only when everything was written. kFileOpenError when the file cannot be created,
/// kBadParameterError when there are fewer sequences than names.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Error writeFasta(const std::wstring &path,
                                                      const std::vector<std::string> &names,
                                                      const std::vector<std::string> &sequences);

} // namespace zeq

/// The low 32 bits of `value` as a signed int; no range check.
ZEQ_COMMON_CORE_EXPORT int sizeToInt(unsigned long long value);
