#pragma once
// The file an export writes: an SQLite database made beside the target under
// a name of its own and renamed onto the target only when complete, so that
// a failure half-way leaves nothing behind and never a file kvet-demo would
// take for a whole export.
#include "data/sqlite/sqlite_handles.h"

#include <QString>
#include <memory>

namespace kvet::check {

class ExportFile {
public:
    // Fails when target exists and replace is not set, or the folder takes
    // no new file.
    ExportFile(const QString& target, bool replace);
    // Removes the partial file unless finish() succeeded; so does an ending
    // signal (SIGINT, SIGTERM, SIGHUP) that arrives before, on the way out.
    ~ExportFile();
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    sqlite3* database() const { return db_.get(); }
    const QString& partialPath() const { return partial_; }

    // Ends this handle on the file, so that another may finish it.
    void closeDatabase() { db_.reset(); }
    // Closes the database and puts it in the target's place.
    void finish();

private:
    class SignalGuard;
    void removePartial();

    QString target_;
    QString partial_;
    bool replace_ = false;
    bool finished_ = false;
    sqlite::DatabaseHandle db_;
    std::unique_ptr<SignalGuard> guard_;
};

} // namespace kvet::check
