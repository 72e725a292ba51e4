#include "data/pending_backend.h"

#include "data/failure.h"
#include "support/scripted_backend.h"

#include <gtest/gtest.h>
#include <future>
#include <thread>

using namespace kvet;

namespace {

TEST(PendingBackend, WaitsForTheBuildOnlyWhereItNeedsTheEngine)
{
    std::promise<std::unique_ptr<Backend>> built;
    PendingBackend backend(built.get_future());
    // While the build runs there is no session: these two must not wait for it.
    EXPECT_FALSE(backend.isConnected());
    backend.disconnect();

    auto script = std::make_shared<kvet::testing::Script>();
    std::thread builder([&] { built.set_value(std::make_unique<kvet::testing::ScriptedBackend>(script)); });
    backend.connect(QStringLiteral("Provider=SQLite"));
    builder.join();
    EXPECT_TRUE(backend.isConnected());
    backend.disconnect();
    EXPECT_FALSE(backend.isConnected());
    EXPECT_EQ(script->calls, QStringList({QStringLiteral("connect"), QStringLiteral("disconnect")}));
}

TEST(PendingBackend, FailedBuildFailsEveryCallWithItsMessage)
{
    std::promise<std::unique_ptr<Backend>> built;
    built.set_exception(std::make_exception_ptr(Failure(QStringLiteral("unable to open database file"))));
    PendingBackend backend(built.get_future());
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            backend.connect(QString());
            ADD_FAILURE() << "connect went through";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("unable to open database file"));
        }
    }
    EXPECT_THROW(backend.run(QStringLiteral("select 1")), DatabaseError);
    EXPECT_FALSE(backend.isConnected());
}

} // namespace
