// The connection-string writer and reader. For any four values (password,
// user, database, server) the string written reads back as the twelve pairs in
// their fixed order, each value exactly as given; and the reader, given any
// text at all, either splits it or fails with its one message.
#include "data/connection_string.h"
#include "data/failure.h"
#include "fuzz_support.h"

using namespace kvet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList v = fuzz::pieces(data, size, 4);
    const QString text = buildConnectionString(v[0], v[1], v[2], v[3]);
    try {
        const ConnectionStringPairs pairs = parseConnectionString(text);
        const QStringList keys = {"Provider", "Password", "Persist Security Info", "User ID", "Initial Catalog",
                                  "Data Source", "Use Procedure for Prepare", "Auto Translate", "Packet Size",
                                  "Workstation ID", "Use Encryption for Data",
                                  "Tag with column collation when possible"};
        fuzz::check(int(pairs.size()) == keys.size(), "twelve pairs", text);
        for (int i = 0; i < keys.size(); ++i)
            fuzz::check(pairs[std::size_t(i)].first == keys[i], "keys in their order", text);
        fuzz::check(connectionStringValue(pairs, "Password") == v[0], "password reads back", text);
        fuzz::check(connectionStringValue(pairs, "User ID") == v[1], "user reads back", text);
        fuzz::check(connectionStringValue(pairs, "Initial Catalog") == v[2], "database reads back", text);
        fuzz::check(connectionStringValue(pairs, "Data Source") == v[3], "server reads back", text);
        fuzz::check(connectionStringValue(pairs, "Workstation ID") == v[3], "workstation is the server", text);
        fuzz::check(connectionStringValue(pairs, "Provider") == QLatin1String("SQLOLEDB.1"), "provider", text);
    } catch (const std::exception&) {
        fuzz::fail("a written string reads", text);
    }

    // Any text: pairs or the one failure.
    const QString any = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const ConnectionStringPairs pairs = parseConnectionString(any);
        for (const auto& [key, value] : pairs)
            fuzz::check(!key.isEmpty(), "no empty key", any);
    } catch (const Failure& e) {
        fuzz::check(e.message() == QLatin1String(kMalformedConnectionStringMessage), "the one message", any);
    } catch (...) {
        fuzz::fail("only kvet::Failure leaves the reader", any);
    }
    return 0;
}
