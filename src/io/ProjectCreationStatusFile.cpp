#include "io/ProjectCreationStatusFile.h"

#include "ZeqLogging.h"
#include "zeq_common_stable/FileUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zeq
{

const QString ProjectCreationStatusFile::INPUT_HASH = QStringLiteral("input_hash");
const QString ProjectCreationStatusFile::PARAMETER_FILE = QStringLiteral("parameter_file");
const QString ProjectCreationStatusFile::OUTPUT_FILE = QStringLiteral("output_file");

namespace
{

const QString kFinishedJobs = QStringLiteral("finished_jobs");
const QString kJobName = QStringLiteral("job_name");
const QString kJobParameters = QStringLiteral("job_parameters");

bool readJob(const QJsonValue &value, ProjectCreationStatusFile::JobObject *job)
{
    const QJsonObject object = value.toObject();
    QList<QString> missing;
    for (const QString &key : { kJobName, kJobParameters }) {
        if (!object.contains(key)) {
            missing.append(key);
        }
    }
    if (!missing.isEmpty()) {
        qCWarning(lcCore).noquote() << "ProjectCreationStatusFile::JobObject does not contain keys:"
                                    << missing.join(QStringLiteral(", "));
        return false;
    }
    job->name = object.value(kJobName).toString();
    // One single-key object per parameter; an object without keys adds nothing.
    for (const QJsonValue parameter : object.value(kJobParameters).toArray()) {
        const QJsonObject pair = parameter.toObject();
        if (!pair.isEmpty()) {
            job->parameters.insert(pair.begin().key(), pair.begin().value().toVariant().toString());
        }
    }
    return true;
}

QJsonObject writeJob(const ProjectCreationStatusFile::JobObject &job)
{
    QJsonArray parameters;
    for (auto it = job.parameters.cbegin(); it != job.parameters.cend(); ++it) {
        parameters.append(QJsonObject{ { it.key(), it.value() } });
    }
    return { { kJobName, job.name }, { kJobParameters, parameters } };
}

} // namespace

struct ProjectCreationStatusFile::Private {
    QString path;
    QList<JobObject> jobs;
    // The file held something we could not read, which a commit would otherwise erase.
    bool unreadableFile = false;

    bool load();
    bool keepUnreadableFile();
};

bool ProjectCreationStatusFile::Private::keepUnreadableFile()
{
    if (!unreadableFile || !QFileInfo::exists(path)) {
        return true;
    }
    // Never overwrite an earlier copy: it may hold jobs the later one lost.
    QString backup = path + QStringLiteral(".bak");
    for (int n = 1; QFileInfo::exists(backup) || QFileInfo(backup).isSymLink(); ++n) {
        backup = path + QStringLiteral(".bak.%1").arg(n);
    }
    QFile original(path);
    if (!original.copy(backup)) {
        qCWarning(lcCore) << "Status file" << path << "could not be read and could not be kept as" << backup << ":"
                          << original.errorString() << "- not overwriting it";
        return false;
    }
    qCWarning(lcCore) << "Status file" << path << "could not be read; kept it as" << backup
                      << "before writing a new one";
    unreadableFile = false;
    return true;
}

bool ProjectCreationStatusFile::Private::load()
{
    jobs.clear();
    if (path.isEmpty()) {
        return false;
    }
    QFile file(path);
    // A missing file is a creation that has not started: reading must not create it.
    if (!file.exists()) {
        return true;
    }
    // Every failure below leaves a file that a commit must not silently replace.
    unreadableFile = true;
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcCore) << "Can't read status file" << path << ":" << file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        qCWarning(lcCore) << "Status file" << path << "does not contain correct json content."
                          << parseError.errorString();
        return false;
    }
    if (!document.isObject() || !document.object().contains(kFinishedJobs)) {
        qCWarning(lcCore) << "Status file" << path << "does not contain correct json object.";
        return false;
    }
    QList<JobObject> read;
    for (const QJsonValue value : document.object().value(kFinishedJobs).toArray()) {
        JobObject job;
        if (!readJob(value, &job)) {
            return false;
        }
        read.append(job);
    }
    // All or nothing: a record cut short would make finished jobs look unfinished and vice versa.
    jobs = read;
    unreadableFile = false;
    return true;
}

ProjectCreationStatusFile::ProjectCreationStatusFile(const QString &path)
    : d(std::make_unique<Private>())
{
    d->path = path;
    d->load();
}

ProjectCreationStatusFile::~ProjectCreationStatusFile() = default;

int ProjectCreationStatusFile::jobsCount() const
{
    return int(d->jobs.size());
}

bool ProjectCreationStatusFile::jobFinishedSuccessfully(const JobObject &job) const
{
    return d->jobs.contains(job);
}

void ProjectCreationStatusFile::appendFinishedJob(const JobObject &job)
{
    d->jobs.append(job);
}

bool ProjectCreationStatusFile::commit()
{
    if (!d->keepUnreadableFile()) {
        return false;
    }
    QJsonArray jobs;
    for (const JobObject &job : std::as_const(d->jobs)) {
        jobs.append(writeJob(job));
    }
    const QJsonDocument document(QJsonObject{ { kFinishedJobs, jobs } });
    const Error err = FileUtils::writeToFile(d->path, document.toJson(QJsonDocument::Indented));
    if (err.hasError()) {
        qCWarning(lcCore) << "Can't save status to file" << d->path << "error:" << err.errorString();
        return false;
    }
    return true;
}

QString ProjectCreationStatusFile::statusFilePath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("wflw_status"));
}

} // namespace zeq
