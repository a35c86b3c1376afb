#include "support/ResultDatabase.h"

#include "db/ScopedSQLite3Database.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"

namespace zeq::test
{

Error writeResultDatabase(const QString &path)
{
    ScopedSQLite3Database db(path, false);
    Error err = db.init();
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    // Rows are inserted out of rank and position order: readers must order them themselves.
    err = sql_exec(db.db(), QStringLiteral(R"sql(
CREATE TABLE Proteins (Id INTEGER PRIMARY KEY, ProteinName TEXT, ProteinSequence TEXT);
INSERT INTO Proteins VALUES
    (1, 'sp|P1|ALPHA', 'MKCAAK'), (2, 'DECOY_sp|P1|ALPHA', 'KAACKM'), (3, 'sp|P2|BETA', 'MSTNGK'),
    (4, 'DECOY_sp|P2|BETA', 'KGNTSM'), (5, 'sp|P3|GAMMA', 'MKCAAK'), (6, 'DECOY_sp|P3|GAMMA', 'KAACKM'),
    (7, 'sp|P4|DELTA', 'PEPTIDER');
CREATE TABLE ProteinsFound (Id INTEGER PRIMARY KEY, ProteinsId INT, Flags TEXT, ProteinRank INT);
INSERT INTO ProteinsFound (ProteinsId, Flags, ProteinRank) VALUES
    (7, '', 7), (1, '', 1), (3, 'target', 3), (2, 'decoy', 2), (5, NULL, 5), (4, 'DECOY', 4), (6, 'Decoy', 6);

CREATE TABLE Modifications (Id INTEGER PRIMARY KEY, ShortName TEXT, Classification TEXT, Composition TEXT,
    MonoMassShiftTotal REAL);
INSERT INTO Modifications VALUES
    (1, 'Oxidation', 'post', 'O', 15.994915), (2, 'Carbamidomethyl', 'chem', 'H(3) C(2) N O', 57.021464),
    (3, '', 'ngly', 'HexNAc(2)Hex(5)', 1216.4227), (4, NULL, 'ogly', 'HexNAc(1)Hex(1)', 365.132196),
    (5, '', 'Glycation', 'Hex', 162.052824), (6, '', 'wild', 'X', 0.984016),
    (7, '', 'chem', 'H(2) C(2) O', 42.010565);
CREATE TABLE SearchModifications (Id INTEGER PRIMARY KEY, ModificationsId INT, SearchSpaceType TEXT);
INSERT INTO SearchModifications (ModificationsId, SearchSpaceType) VALUES
    (1, 'variable'), (2, 'fixed'), (6, 'variable'), (7, 'variable');

CREATE TABLE PQMs (Id INTEGER PRIMARY KEY, Peptide TEXT, ResiduesBefore TEXT, ResiduesAfter TEXT,
    ProteinStartPosition INT, ProteinEndPosition INT, ProteinsId INT, CalcMH REAL);
INSERT INTO PQMs VALUES
    (1, 'MKCAAK', '-', '-', 1, 6, 1, 739.3306), (2, 'NGTSK', 'K', '-', 4, 8, 3, 1724.7),
    (3, 'PEPTIDER', '-', '-', 1, 8, 7, 956.4574), (4, 'STCK', 'R', 'A', 10, 13, 3, 1089.4);
CREATE TABLE PQMsPeptideToModifications (Id INTEGER PRIMARY KEY, PQMsId INT, ModificationsId INT,
    ModificationsPeptidePosition INT);
INSERT INTO PQMsPeptideToModifications (PQMsId, ModificationsId, ModificationsPeptidePosition) VALUES
    (4, 7, 0), (1, 1, 1), (4, 4, 1), (1, 2, 3), (2, 3, 1), (4, 6, 2), (4, 2, 3), (4, 5, 4);

CREATE TABLE SearchParameters (Key TEXT, Value TEXT);
INSERT INTO SearchParameters VALUES
    ('Lock mass list', '445.120025;391.284286'), ('Precursor tolerance', '10 ppm'),
    ('Value', 'by key'), ('say "hi"', 'quoted');
CREATE TABLE Search (Id INTEGER PRIMARY KEY, TnParmsContent TEXT);
INSERT INTO Search (TnParmsContent) VALUES
    ('[Search]' || char(13, 10) || 'Engine=2' || char(13, 10)
        || 'SpectraFiles=C\:\\data\\run 1.raw;C\:/b/c.raw;;D\:\\tims\\sample.d\\analysis.tdf' || char(13, 10)),
    ('SpectraFiles=/mnt/share/x.mzML' || char(10) || char(10) || 'Mass=mono');
)sql"));
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace zeq::test
