#pragma once
// ADOConnection1: the one shared database connection. Queries open it on
// demand. An explicit close ends it, and ends every query's result first; a
// link the backend reports lost ends it too (connected() is false then, and
// the next query opens a new session).
#include "data/backend.h"
#include <QString>
#include <memory>
#include <vector>

namespace kvet {

class Query;

class Connection {
public:
    explicit Connection(std::unique_ptr<Backend> backend);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Stored as given; setting it never connects.
    void setConnectionString(const QString& text) { connectionString_ = text; }
    const QString& connectionString() const { return connectionString_; }

    void open();  // no effect when open
    void close(); // closes every query's result, then the session
    bool connected() const;
    // Query objects holding a result; a check for leaks in long runs.
    int activeQueryCount() const;

    Backend& backend() { return *backend_; }

private:
    friend class Query;
    void attach(Query* q);
    void detach(Query* q);

    std::unique_ptr<Backend> backend_;
    QString connectionString_;
    std::vector<Query*> queries_;
};

} // namespace kvet
