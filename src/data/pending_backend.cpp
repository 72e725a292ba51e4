#include "data/pending_backend.h"

#include "data/failure.h"

namespace kvet {

PendingBackend::PendingBackend(std::future<std::unique_ptr<Backend>> building)
    : building_(std::move(building))
{
}

PendingBackend::~PendingBackend()
{
    if (building_.valid())
        building_.wait();
}

Backend& PendingBackend::ready()
{
    if (!backend_ && building_.valid()) {
        const QString notBuilt = QStringLiteral("The database could not be built");
        try {
            backend_ = building_.get();
            if (!backend_)
                failure_ = notBuilt;
        } catch (const std::exception& e) {
            failure_ = messageOf(e);
        } catch (...) {
            failure_ = notBuilt;
        }
    }
    if (backend_)
        return *backend_;
    throw DatabaseError(failure_);
}

void PendingBackend::connect(const QString& connectionString)
{
    ready().connect(connectionString);
}

void PendingBackend::disconnect()
{
    if (backend_)
        backend_->disconnect();
}

bool PendingBackend::isConnected() const
{
    return backend_ && backend_->isConnected();
}

ResultSet PendingBackend::run(const QString& statement)
{
    return ready().run(statement);
}

void PendingBackend::stream(const QString& statement, std::size_t chunkRows,
                            const std::function<void(ResultSet&)>& piece)
{
    ready().stream(statement, chunkRows, piece);
}

void PendingBackend::execute(const QString& statement)
{
    ready().execute(statement);
}

} // namespace kvet
