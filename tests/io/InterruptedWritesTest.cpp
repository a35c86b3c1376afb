// A writer killed (SIGKILL) while it replaces a file must leave the old file or the whole new one,
// never a mix, and nothing beside it but what recovery needs. Each writer runs in a child process,
// killed at several moments spread over the time an uninterrupted write takes.

#include "db/ModificationsDao.h"
#include "db/ModificationsManager.h"
#include "db/ScopedSQLite3Database.h"
#include "io/ProjectCreationStatusFile.h"
#include "io/RowNodeCsvWriter.h"
#include "support/ChildProcess.h"
#include "support/RowTreeBuilder.h"
#include "support/TestFiles.h"
#include "utils/FastaUtils.h"
#include "zeq_common_core_mini/CustomSettings.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>

namespace
{

constexpr int kRecords = 60000;

QString record(int generation, int i)
{
    return u"generation %1 record %2"_qs.arg(generation).arg(i);
}

bool writeWith(const QString &kind, const QString &path, int generation)
{
    if (kind == u"status") {
        zeq::ProjectCreationStatusFile status(path);
        for (int i = 0; i < kRecords / 4; ++i) {
            status.appendFinishedJob({ record(generation, i), { { u"input_hash"_qs, QString::number(i) } } });
        }
        std::puts("writing");
        std::fflush(stdout);
        return status.commit();
    }
    if (kind == u"fasta") {
        std::vector<std::string> names;
        std::vector<std::string> sequences(kRecords * 4, std::string(60, 'A' + generation));
        for (int i = 0; i < kRecords * 4; ++i) {
            names.push_back(record(generation, i).toStdString());
        }
        std::puts("writing");
        std::fflush(stdout);
        return !zeq::writeFasta(path.toStdWString(), names, sequences).hasError();
    }
    if (kind == u"csv") {
        QList<VariantItems> rows;
        for (int i = 0; i < kRecords * 2; ++i) {
            rows.append({ record(generation, i), i });
        }
        const RowNode table = zeq::test::makeTable({ u"Name"_qs, u"Number"_qs }, rows);
        std::puts("writing");
        std::fflush(stdout);
        return saveLeafsToCsvFile(table, path);
    }
    if (kind == u"settings") {
        const QString value = record(generation, 0).repeated(kRecords * 4);
        std::puts("writing");
        std::fflush(stdout);
        CustomSettings(path).setValue(u"Value"_qs, value, CustomSettings::ApplicationScope);
        return true;
    }
    if (kind == u"catalogue") {
        zeq::ScopedSQLite3Database db(path, false);
        zeq::ModificationsManager manager;
        if (db.init().hasError() || zeq::ModificationsDao::createTableIfMissing(db.db()).hasError()
            || manager.loadFromDB(db.db()).hasError()) {
            return false;
        }
        zeq::ModificationId id;
        for (int i = 0; i < kRecords / 2; ++i) {
            const QString name = record(generation, i) + u"/%1"_qs.arg(i + 1);
            if (manager.getOrInsertTessanModificationName(name, {}, &id, nullptr).hasError()) {
                return false;
            }
        }
        std::puts("writing");
        std::fflush(stdout);
        return !manager.saveToDB(db.db()).hasError();
    }
    return false;
}

int writerRole(const QList<QString> &arguments)
{
    return writeWith(arguments.value(0), arguments.value(1), arguments.value(2).toInt()) ? 0 : 1;
}
const bool registered = zeq::test::registerChildRole(u"write"_qs, &writerRole);

QString queryText(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *statement = nullptr;
    QString text = u"<failed>"_qs;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW) {
        text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    return text;
}

/// What the file holds, as far as the writer's readers can tell. A catalogue is opened read-write,
/// as its next user opens it: that rolls back what a killed save left in its journal.
QString stateOf(const QString &kind, const QString &path)
{
    if (kind == u"catalogue") {
        zeq::ScopedSQLite3Database db(path, false);
        if (db.init().hasError()) {
            return u"<unopenable>"_qs;
        }
        return queryText(db.db(), "PRAGMA integrity_check") + u", entries "_qs
            + queryText(db.db(), "SELECT count(*) FROM Modifications");
    }
    const QByteArray bytes = zeq::test::fileContents(path);
    return u"%1 bytes, sha1 %2"_qs.arg(bytes.size())
        .arg(QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex()));
}

std::string entries(const QString &folder)
{
    return QDir(folder)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
        .join(u' ')
        .toStdString();
}

struct Writer {
    const char *name;
    QString program; ///< empty: this test program in the "write" role, named by `name`
    QList<QString> arguments; ///< "@OUT@" stands for the file written, "@GEN@" for the generation
};

/// Starts `writer` on `target` and returns once it writes: the "write" role says so on a line, a
/// program is taken to write from its start. Temporary files go to `tmp`.
std::unique_ptr<QProcess> start(const Writer &writer, const QString &target, const QString &tmp, int generation)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TMPDIR"_qs, tmp);
    process->setProcessEnvironment(environment);
    const bool role = writer.program.isEmpty();
    QList<QString> arguments = role
        ? zeq::test::childRoleArguments(u"write"_qs, { QString::fromUtf8(writer.name), u"@OUT@"_qs, u"@GEN@"_qs })
        : writer.arguments;
    arguments.replaceInStrings(u"@OUT@"_qs, target);
    arguments.replaceInStrings(u"@GEN@"_qs, QString::number(generation));
    process->start(role ? QCoreApplication::applicationFilePath() : writer.program, arguments);
    process->waitForStarted();
    while (role && process->state() != QProcess::NotRunning && !process->canReadLine()) {
        process->waitForReadyRead(100);
    }
    return process;
}

void checkKilledWrites(const Writer &writer)
{
    SCOPED_TRACE(writer.name);
    const QString kind = QString::fromUtf8(writer.name);
    QTemporaryDir dir;
    const QString target = dir.filePath(u"target"_qs);
    const QString tmp = dir.filePath(u"tmp"_qs);
    ASSERT_TRUE(QDir().mkpath(tmp));
    // The time an uninterrupted write takes, in ms, or -1 when it fails.
    const auto run = [&](int generation) -> qint64 {
        const std::unique_ptr<QProcess> process = start(writer, target, tmp, generation);
        QElapsedTimer writing;
        writing.start();
        const bool done = process->waitForFinished(120'000) && process->exitStatus() == QProcess::NormalExit
            && process->exitCode() == 0;
        EXPECT_TRUE(done) << process->readAllStandardError().toStdString();
        return done ? writing.elapsed() : -1;
    };
    ASSERT_GE(run(1), 0);
    const QByteArray oldBytes = zeq::test::fileContents(target);
    const QString oldState = stateOf(kind, target);
    const std::string folderBefore = entries(dir.path());
    const qint64 duration = run(2);
    ASSERT_GT(duration, 0);
    const QString newState = stateOf(kind, target);
    ASSERT_NE(oldState, newState);

    int oldKept = 0;
    for (const int percent : { 5, 20, 40, 60, 80, 100 }) {
        SCOPED_TRACE(percent);
        zeq::test::writeFile(target, oldBytes);
        const std::unique_ptr<QProcess> process = start(writer, target, tmp, 2);
        QThread::msleep(duration * percent / 100);
        process->kill();
        process->waitForFinished();
        const QString state = stateOf(kind, target);
        EXPECT_TRUE(state == oldState || state == newState) << state.toStdString();
        oldKept += state == oldState ? 1 : 0;
    }
    // What a kill left beside the file (a lock, a journal) is cleared by the next write; anything
    // else would pile up.
    ASSERT_GE(run(2), 0);
    EXPECT_EQ(entries(dir.path()), folderBefore);
    EXPECT_EQ(entries(tmp), "") << "no temporary file left";
    // Otherwise every kill came after the commit and proved nothing.
    EXPECT_GT(oldKept, 0) << "the uninterrupted write took " << duration << " ms";
}

} // namespace

TEST(InterruptedWritesTest, KilledLibraryWritersLeaveTheOldOrTheNewFile)
{
    for (const char *kind : { "status", "fasta", "csv", "settings", "catalogue" }) {
        checkKilledWrites({ kind, {}, {} });
    }
}

#ifdef ZEQ_PROGRAM
TEST(InterruptedWritesTest, KilledProgramLeavesTheOldOrTheNewOutput)
{
    QTemporaryDir dir;
    QFile fasta(dir.filePath(u"proteins.fasta"_qs));
    ASSERT_TRUE(fasta.open(QIODevice::WriteOnly));
    const QByteArray residues = "ACDEFGHIKLMNPQRSTVWY";
    for (int protein = 0; protein < 4000; ++protein) {
        QByteArray sequence;
        for (int i = 0; i < 300; ++i) {
            sequence += residues.at((protein * 7 + i * i * 13) % residues.size());
        }
        fasta.write(">P" + QByteArray::number(protein) + '\n' + sequence + '\n');
    }
    fasta.close();
    checkKilledWrites({ "zeq digest -o",
                        QStringLiteral(ZEQ_PROGRAM),
                        { u"digest"_qs,
                          fasta.fileName(),
                          u"--missed"_qs,
                          u"@GEN@"_qs,
                          u"--format"_qs,
                          u"csv"_qs,
                          u"-o"_qs,
                          u"@OUT@"_qs } });
}
#endif
