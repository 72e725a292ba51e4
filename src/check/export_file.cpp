#include "check/export_file.h"

#include "data/failure.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <csignal>
#include <cstring>
#include <iterator>
#include <unistd.h>
#endif

namespace kvet::check {

#ifndef _WIN32
namespace {

// An export stopped with Ctrl+C, by kill or by a closed terminal ends the
// process before any destructor runs; its handler removes the partial file
// first. Only what is safe in a signal handler happens there: the names are
// ready beforehand, and it unlinks them and lets the signal end the process
// as it would have.
const int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
char partialName[4096];
char journalName[4096 + 16];
volatile std::sig_atomic_t partialArmed = 0;
struct sigaction previousActions[std::size(kEndingSignals)];

extern "C" void removePartialAndEnd(int signal)
{
    if (partialArmed) {
        ::unlink(partialName);
        ::unlink(journalName);
    }
    struct sigaction fallBack {};
    fallBack.sa_handler = SIG_DFL;
    sigemptyset(&fallBack.sa_mask);
    sigaction(signal, &fallBack, nullptr);
    // Blocked while this handler runs: delivered, with its default action,
    // as the handler returns.
    ::raise(signal);
}

} // namespace

class ExportFile::SignalGuard {
public:
    explicit SignalGuard(const QString& partial)
    {
        const QByteArray name = QFile::encodeName(partial);
        if (name.size() >= qsizetype(sizeof partialName))
            return; // a name that long is left to the destructor alone
        std::memcpy(partialName, name.constData(), std::size_t(name.size()) + 1);
        std::memcpy(journalName, name.constData(), std::size_t(name.size()));
        std::memcpy(journalName + name.size(), "-journal", sizeof "-journal");
        partialArmed = 1;
        struct sigaction action {};
        action.sa_handler = &removePartialAndEnd;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            sigaddset(&action.sa_mask, kEndingSignals[i]);
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
            sigaction(kEndingSignals[i], nullptr, &previousActions[i]);
            // A signal the program was started to ignore (a background job's
            // SIGINT, nohup's SIGHUP) stays ignored: it ends nothing.
            installed_[i] = previousActions[i].sa_handler != SIG_IGN;
            if (installed_[i])
                sigaction(kEndingSignals[i], &action, nullptr);
        }
    }
    ~SignalGuard()
    {
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
            if (installed_[i])
                sigaction(kEndingSignals[i], &previousActions[i], nullptr);
        }
        partialArmed = 0;
    }
    SignalGuard(const SignalGuard&) = delete;
    SignalGuard& operator=(const SignalGuard&) = delete;

private:
    bool installed_[std::size(kEndingSignals)] = {};
};
#else
// Windows ends a console program on Ctrl+C from a thread of its own, while
// SQLite holds the file open: nothing to do here.
class ExportFile::SignalGuard {
public:
    explicit SignalGuard(const QString&) {}
};
#endif

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
    guard_ = std::make_unique<SignalGuard>(partial_);
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
    guard_.reset();
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
