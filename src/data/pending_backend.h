#pragma once
// A backend still being built on another thread (the demo's sample database,
// about half a second of inserts), so that the window can come up and its
// start-up timers run meanwhile. The first call that needs the engine waits
// for it; a build that failed fails that call and every later one with the
// build's message, as an engine that cannot be reached would.
#include "data/backend.h"

#include <QString>
#include <future>
#include <memory>

namespace kvet {

class PendingBackend final : public Backend {
public:
    explicit PendingBackend(std::future<std::unique_ptr<Backend>> building);
    // Waits for the build, if it still runs: the engine's thread must not
    // outlive the engine's owner.
    ~PendingBackend() override;

    void connect(const QString& connectionString) override;
    // Before the engine exists there is no session to end: neither call waits.
    void disconnect() override;
    bool isConnected() const override;
    ResultSet run(const QString& statement) override;
    void stream(const QString& statement, std::size_t chunkRows,
                const std::function<void(ResultSet&)>& piece) override;
    void execute(const QString& statement) override;

private:
    Backend& ready();

    std::future<std::unique_ptr<Backend>> building_;
    std::unique_ptr<Backend> backend_;
    QString failure_; // the build's message once it has failed
};

} // namespace kvet
