#pragma once
// A stand-in for SQL Server on 127.0.0.1 that FreeTDS 1.3 logs into with TDS
// 7.4 and encryption off (see docs/tds-stand-in.md). It runs on threads of
// its own, never on the caller's event loop, since the ODBC calls of the code
// under test block the calling thread. Every wait is bounded; the destructor
// ends every session and joins every thread.
//
// Tests order faults (a refused or unanswered login, an unanswered batch,
// a link dropped at a chosen moment, slow answers) and read back what arrived
// (the LOGIN7 strings, every batch, every ATTENTION).
#include "tds_standin/statement_runner.h"
#include "tds_standin/tds_login.h"

#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <thread>
#include <vector>

namespace kvet::tds {

struct Account {
    QString user = QStringLiteral("sa");
    QString password = QStringLiteral("secret");
};

enum class LoginFault { None, Refuse, NeverAnswer };

enum class BatchFault {
    None,
    NeverAnswer,               // ATTENTION acknowledged with DONE 0x0020
    NeverAnswerIgnoreAttention,
    DropBeforeReply,
    DropInsideResult,
    ServerError, // the message given with the order
};

class TdsStandIn {
public:
    explicit TdsStandIn(std::unique_ptr<SqliteBackend> database);
    ~TdsStandIn();
    TdsStandIn(const TdsStandIn&) = delete;
    TdsStandIn& operator=(const TdsStandIn&) = delete;

    // Listens on 127.0.0.1:port (0: a free port). False when the port is taken.
    bool start(int port = 0);
    // Closes the port and every session; start(port()) brings it back.
    void stop();
    int port() const { return port_; }

    // The logins and databases the server takes (database names compare
    // without regard to letter case, as with a case-insensitive collation).
    void setAccount(const Account& account);
    void setDatabases(const QStringList& names);
    StatementRunner& runner() { return runner_; }

    void setLoginFault(LoginFault fault);
    // The next `times` batches whose text contains `match` (empty: any) meet fault.
    void orderBatchFault(BatchFault fault, const QString& match = {}, int times = 1);
    // The next batch whose text contains match fails with this message.
    void orderBatchError(const ServerMessage& error, const QString& match = {});
    // Every answer waits this long first.
    void setDelayMs(int ms);
    // Closes every open session now (a link lost between batches).
    void dropSessions();

    std::vector<Login7> logins() const;
    QStringList batches() const;
    int attentions() const;
    int sessionsOpened() const;

private:
    void acceptLoop();
    void serve(int socket, std::uint16_t spid);
    bool login(Link& link, QString* database, QString* user);
    void answerBatch(Link& link, const QString& text, const QString& database, const QString& user);
    BatchFault takeBatchFault(const QString& text, ServerMessage* error);
    void pause();

    StatementRunner runner_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> dropGeneration_{0};
    std::atomic<int> delayMs_{0};
    std::thread acceptThread_;
    std::vector<std::thread> sessions_;

    mutable std::mutex mutex_; // guards what follows
    Account account_;
    QStringList databases_{QStringLiteral("sfdb")};
    LoginFault loginFault_ = LoginFault::None;
    struct Order {
        BatchFault fault;
        QString match;
        int times;
        ServerMessage error;
    };
    std::vector<Order> orders_;
    std::vector<Login7> logins_;
    QStringList batches_;
    int attentions_ = 0;
    int sessionsOpened_ = 0;
    std::uint16_t nextSpid_ = 51;
};

} // namespace kvet::tds
