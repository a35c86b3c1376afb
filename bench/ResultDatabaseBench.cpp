#include "db/ScopedSQLite3Database.h"
#include "utils/TessanUtilsProteins.h"
#include "utils/TessanUtilsXlinkCells.h"
#include "zeq_common_core_mini/CustomSettings.h"
#include "zeq_common_core_mini/RowNode.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{

/// A result file of `proteins` target proteins, each followed by its decoy, one sequence in ten
/// repeated; the folder lives as long as the program.
QString resultFile(int proteins)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("proteins-%1.tsnres").arg(proteins));
    if (QFile::exists(path)) {
        return path;
    }
    zeq::ScopedSQLite3Database db(path, false);
    Error err = db.init();
    if (!err.hasError()) {
        err = sql_exec(
            db.db(),
            QStringLiteral("CREATE TABLE Proteins (Id INTEGER PRIMARY KEY, ProteinName TEXT, ProteinSequence TEXT);"
                           "CREATE TABLE ProteinsFound (ProteinsId INT, Flags TEXT, ProteinRank INT);"
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                           "INSERT INTO Proteins SELECT i, 'sp|P' || i || '|PROT', "
                           "'MK' || (CASE WHEN i % 10 = 0 THEN 1 ELSE i / 2 END) || 'ACDEFGHIKLMNPQRSTVWY' FROM n;"
                           "INSERT INTO ProteinsFound SELECT Id, CASE WHEN Id % 2 = 0 THEN 'decoy' ELSE '' END, Id "
                           "FROM Proteins")
                .arg(2 * proteins));
    }
    if (err.hasError()) {
        qFatal("%s", qPrintable(err.errorString()));
    }
    return path;
}

void BM_ReadProteins(benchmark::State &state)
{
    const QString path = resultFile(int(state.range(0)));
    for (auto _ : state) {
        QList<QString> names;
        QList<QString> sequences;
        const Error err = zeq::getProteinSequencesFromTsnres(path, int(state.range(0)), &names, &sequences);
        benchmark::DoNotOptimize(err.hasError());
        benchmark::DoNotOptimize(sequences.size());
    }
    state.SetItemsProcessed(state.iterations() * 2 * state.range(0));
}
BENCHMARK(BM_ReadProteins)->Arg(1'000)->Arg(50'000)->Unit(benchmark::kMillisecond);

void BM_PopulateXlinkCells(benchmark::State &state)
{
    RowNode root;
    root.addData(QList<QString>{ QStringLiteral("Peptide") }, true);
    const int rows = int(state.range(0));
    for (int i = 0; i < rows; ++i) {
        root.addNewChildMatchRootDataSize();
    }
    zeq::addXlinkColumns(&root, CustomSettings(QStringLiteral("/nonexistent/settings.ini")));
    const QString mods = QStringLiteral(
        "1|Oxidation / 15.9949;2|{xlink-inter} Seq:K.CAKDK.R Protein:4 Position:20 LinkPosition:22,24 "
        "LinkDeltaMass:138.068 LinkName:{DSS} / 138.068;3|{S-S-intra} / -1.0078;6|{xlink-intra} DSSO / 158.004");
    QHash<int, QString> names{ { 4, QStringLiteral("sp|P4|ALB") } };
    const RowNode fresh = root;
    for (auto _ : state) {
        // Cells are appended to: every pass starts from empty ones.
        state.PauseTiming();
        root = fresh;
        state.ResumeTiming();
        for (RowNode *row : root.children()) {
            int firstLink = 0;
            benchmark::DoNotOptimize(
                zeq::populateXlinkCellsAndComputeUpdatedMods(row, mods, 9, 100, &names, firstLink));
        }
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_PopulateXlinkCells)->Arg(10'000)->Unit(benchmark::kMillisecond);

} // namespace
