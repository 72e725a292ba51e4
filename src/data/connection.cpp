#include "data/connection.h"

#include "data/query.h"

#include <algorithm>

namespace kvet {

Connection::Connection(std::unique_ptr<Backend> backend) : backend_(std::move(backend)) {}

// The window declares its queries after the connection, so they are gone by now.
Connection::~Connection() = default;

void Connection::open()
{
    if (!backend_->isConnected())
        backend_->connect(connectionString_);
}

void Connection::close()
{
    for (Query* q : queries_)
        q->close();
    backend_->disconnect();
}

bool Connection::connected() const
{
    return backend_->isConnected();
}

int Connection::activeQueryCount() const
{
    return int(std::count_if(queries_.begin(), queries_.end(), [](const Query* q) { return q->active(); }));
}

void Connection::attach(Query* q)
{
    queries_.push_back(q);
}

void Connection::detach(Query* q)
{
    queries_.erase(std::remove(queries_.begin(), queries_.end(), q), queries_.end());
}

} // namespace kvet
