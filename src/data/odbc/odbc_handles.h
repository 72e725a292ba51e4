#pragma once
// Owners for ODBC handles: each frees its handle exactly once, and a session
// disconnects before its connection handle is freed, so no path (failure
// included) leaves a handle behind.
#include "data/odbc/odbc_api.h"

#include <utility>

namespace kvet::odbc {

template <SQLSMALLINT Type>
class Handle {
public:
    Handle() = default;
    explicit Handle(SQLHANDLE handle) : handle_(handle) {}
    ~Handle() { reset(); }
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLHANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != SQL_NULL_HANDLE; }
    static constexpr SQLSMALLINT type() { return Type; }

    void reset()
    {
        if (handle_ != SQL_NULL_HANDLE)
            SQLFreeHandle(Type, std::exchange(handle_, nullptr));
    }

private:
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

using EnvironmentHandle = Handle<SQL_HANDLE_ENV>;
using ConnectionHandle = Handle<SQL_HANDLE_DBC>;
using StatementHandle = Handle<SQL_HANDLE_STMT>;

// A connection handle that has logged in: disconnects, then frees.
class Session {
public:
    Session() = default;
    explicit Session(ConnectionHandle handle) : handle_(std::move(handle)) {}
    ~Session() { end(); }
    Session(Session&& other) noexcept = default;
    Session& operator=(Session&& other) noexcept
    {
        if (this != &other) {
            end();
            handle_ = std::move(other.handle_);
        }
        return *this;
    }

    SQLHDBC get() const { return handle_.get(); }
    explicit operator bool() const { return bool(handle_); }

    void end()
    {
        if (!handle_)
            return;
        if (!SQL_SUCCEEDED(SQLDisconnect(handle_.get()))) {
            // An open transaction blocks the disconnect; nothing here is
            // meant to be kept, so roll it back and try once more.
            SQLEndTran(SQL_HANDLE_DBC, handle_.get(), SQL_ROLLBACK);
            SQLDisconnect(handle_.get());
        }
        handle_.reset();
    }

private:
    ConnectionHandle handle_;
};

} // namespace kvet::odbc
