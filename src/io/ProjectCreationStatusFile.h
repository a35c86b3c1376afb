#pragma once

#include "zeq_common_core_export.h"

#include <QList>
#include <QMap>
#include <QString>

#include <memory>

namespace zeq
{

/// The record, in a project's folder, of the jobs that creating the project has finished and the
/// parameters they ran with, so that an interrupted creation resumes without repeating them.
/// The file ("wflw_status") is JSON: {"finished_jobs": [{"job_name": ..., "job_parameters":
/// [{key: value}, ...]}, ...]}.
class ZEQ_COMMON_CORE_EXPORT ProjectCreationStatusFile
{
public:
    static const QString INPUT_HASH; // "input_hash"
    static const QString PARAMETER_FILE; // "parameter_file"
    static const QString OUTPUT_FILE; // "output_file"

    struct JobObject {
        QString name;
        QMap<QString, QString> parameters;
        friend bool operator==(const JobObject &, const JobObject &) = default;
    };

    /// Loads the file at `path`. A missing file is an empty record (nothing is created until
    /// commit); an unreadable or malformed one is logged and also leaves an empty record.
    explicit ProjectCreationStatusFile(const QString &path);
    ~ProjectCreationStatusFile();
    ProjectCreationStatusFile(const ProjectCreationStatusFile &) = delete;
    ProjectCreationStatusFile &operator=(const ProjectCreationStatusFile &) = delete;

    [[nodiscard]] int jobsCount() const;
    /// True when a job with the same name and exactly the same parameters is recorded.
    [[nodiscard]] bool jobFinishedSuccessfully(const JobObject &job) const;
    /// In memory only, until commit.
    void appendFinishedJob(const JobObject &job);
    /// Replaces the file with the whole record; on failure the old file stays as it was. A file that
    /// existed but could not be read when loading is first copied to "<path>.bak" (or the first
    /// free "<path>.bak.N"); when that copy fails, nothing is written and the result is false.
    [[nodiscard]] bool commit();

    /// `folder` joined with "wflw_status".
    [[nodiscard]] static QString statusFilePath(const QString &folder);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace zeq
