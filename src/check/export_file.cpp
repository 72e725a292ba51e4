#include "check/export_file.h"

#include "data/failure.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

namespace kvet::check {

ExportFile::ExportFile(const QString& target, bool replace) : target_(target), replace_(replace)
{
    if (QFileInfo::exists(target) && !replace)
        throw Failure(QStringLiteral("%1：文件已存在").arg(target));
    QTemporaryFile reserve(target + QStringLiteral(".XXXXXX.partial"));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        throw Failure(QStringLiteral("%1：不能在这个文件夹里写文件（%2）").arg(target, reserve.errorString()));
    partial_ = reserve.fileName();
    reserve.close();
    try {
        db_ = sqlite::openDatabase(partial_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        // The partial file is thrown away on any failure, so a crash of the
        // machine half-way costs nothing that waiting for the disk would save.
        sqlite::exec(db_.get(), "PRAGMA synchronous = OFF");
    } catch (...) {
        removePartial();
        throw;
    }
}

ExportFile::~ExportFile()
{
    if (!finished_)
        removePartial();
}

void ExportFile::removePartial()
{
    db_.reset();
    QFile::remove(partial_);
    QFile::remove(partial_ + QStringLiteral("-journal"));
}

void ExportFile::finish()
{
    db_.reset();
    if (QFileInfo::exists(target_) && !replace_)
        throw Failure(QStringLiteral("%1：文件在导出期间出现了，没有替换它").arg(target_));
    // std::filesystem::rename replaces an existing target in one step on
    // every system, which QFile::rename does not.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(partial_.toStdWString()),
                            std::filesystem::path(target_.toStdWString()), error);
    if (error)
        throw Failure(QStringLiteral("%1：不能写入（%2）").arg(target_, QString::fromLocal8Bit(error.message())));
    finished_ = true;
}

} // namespace kvet::check
