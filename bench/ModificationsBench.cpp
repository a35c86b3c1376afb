#include "db/ModificationsManager.h"
#include "db/ScopedSQLite3Database.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"
#include "zeq_common_core_mini/Sqlite3Statement.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace
{

constexpr int kCatalogueSize = 2'000;
constexpr int kLookUps = 100'000;

QString nameOf(int i)
{
    return QStringLiteral("Modification %1").arg(i);
}

double massOf(int i)
{
    return 0.5 + i * 0.731;
}

/// A catalogue file the size of the public catalogues; the folder lives as long as the program.
const QString &cataloguePath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("catalogue.db"));
        zeq::ScopedSQLite3Database db(file, false);
        Error err = db.init();
        if (!err.hasError()) {
            err = sql_exec(db.db(),
                           QStringLiteral("CREATE TABLE Modifications(Id INTEGER PRIMARY KEY, TypeName TEXT, "
                                          "AllowedSites TEXT, ModName TEXT, MassShift REAL, ModCategory TEXT, "
                                          "Composition TEXT); BEGIN"));
        }
        ScopedSqlite3Stmt insert(db.db(), QStringLiteral("INSERT INTO Modifications VALUES(?, ?, 'M', ?, ?, '', '')"));
        for (int i = 1; !err.hasError() && i <= kCatalogueSize; ++i) {
            // Binding cannot fail on a prepared statement with these parameters; the step reports.
            (void)my_sqlite3_bind_longlong(db.db(), insert, 1, i);
            (void)my_sqlite3_bind_text(db.db(), insert, 2, nameOf(i));
            (void)my_sqlite3_bind_text(db.db(), insert, 3, nameOf(i));
            (void)my_sqlite3_bind_double(db.db(), insert, 4, massOf(i));
            err = my_sqlite3_step(db.db(), insert, StepReset);
        }
        if (!err.hasError()) {
            err = sql_exec(db.db(), QStringLiteral("COMMIT"));
        }
        return err.hasError() ? QString() : file;
    }();
    return path;
}

void BM_LoadCatalogue(benchmark::State &state)
{
    zeq::ScopedSQLite3Database db(cataloguePath(), true);
    if (db.init().hasError()) {
        state.SkipWithError("can't open the catalogue");
        return;
    }
    for (auto _ : state) {
        zeq::ModificationsManager manager;
        Error err = manager.loadFromDB(db.db());
        benchmark::DoNotOptimize(err);
        benchmark::DoNotOptimize(manager);
    }
    state.SetItemsProcessed(state.iterations() * kCatalogueSize);
}
BENCHMARK(BM_LoadCatalogue)->Unit(benchmark::kMillisecond);

// Known names in random order, written as search results write them.
void BM_LookUpKnownNames(benchmark::State &state)
{
    zeq::ScopedSQLite3Database db(cataloguePath(), true);
    zeq::ModificationsManager manager;
    if (db.init().hasError() || manager.loadFromDB(db.db()).hasError()) {
        state.SkipWithError("can't load the catalogue");
        return;
    }
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(1, kCatalogueSize);
    QList<QString> texts;
    for (int i = 0; i < kLookUps; ++i) {
        const int which = pick(rng);
        texts.append(QStringLiteral("%1/%2").arg(nameOf(which).toLower()).arg(massOf(which), 0, 'f', 7));
    }
    for (auto _ : state) {
        for (const QString &text : std::as_const(texts)) {
            zeq::ModificationId id;
            Error err = manager.getOrInsertTessanModificationName(text, {}, &id, nullptr);
            benchmark::DoNotOptimize(err);
            benchmark::DoNotOptimize(id);
        }
    }
    if (!manager.newModificationsIdList().isEmpty()) {
        state.SkipWithError("a known name was inserted");
    }
    state.SetItemsProcessed(state.iterations() * kLookUps);
}
BENCHMARK(BM_LookUpKnownNames)->Unit(benchmark::kMillisecond);

} // namespace
