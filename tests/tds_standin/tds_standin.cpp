#include "tds_standin/tds_standin.h"

#include "data/failure.h"

#include <QDeadlineTimer>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kvet::tds {

namespace {

// A session that hears nothing for this long ends: no test waits longer.
constexpr int kIdleSessionMs = 180000;

ServerMessage loginFailed(const QString& user)
{
    return ServerMessage{18456, 1, 14, QStringLiteral("Login failed for user '%1'.").arg(user)};
}

} // namespace

TdsStandIn::TdsStandIn(std::unique_ptr<SqliteBackend> database) : runner_(std::move(database)) {}

TdsStandIn::~TdsStandIn()
{
    stop();
}

bool TdsStandIn::start(int port)
{
    stop();
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0)
        return false;
    const int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(std::uint16_t(port));
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0
        || ::listen(listener_, 16) != 0
        || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener_);
        listener_ = -1;
        return false;
    }
    port_ = ntohs(address.sin_port);
    stopping_ = false;
    acceptThread_ = std::thread([this] { acceptLoop(); });
    return true;
}

void TdsStandIn::stop()
{
    stopping_ = true;
    if (acceptThread_.joinable())
        acceptThread_.join();
    for (std::thread& t : sessions_)
        t.join();
    sessions_.clear();
    if (listener_ >= 0)
        ::close(listener_);
    listener_ = -1;
}

void TdsStandIn::acceptLoop()
{
    while (!stopping_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int socket = ::accept(listener_, nullptr, nullptr);
        if (socket < 0)
            continue;
        std::uint16_t spid = 0;
        {
            std::lock_guard lock(mutex_);
            spid = nextSpid_++;
            ++sessionsOpened_;
        }
        sessions_.emplace_back([this, socket, spid] { serve(socket, spid); });
    }
}

void TdsStandIn::setAccount(const Account& account)
{
    std::lock_guard lock(mutex_);
    account_ = account;
}

void TdsStandIn::setDatabases(const QStringList& names)
{
    std::lock_guard lock(mutex_);
    databases_ = names;
}

void TdsStandIn::setLoginFault(LoginFault fault)
{
    std::lock_guard lock(mutex_);
    loginFault_ = fault;
}

void TdsStandIn::orderBatchFault(BatchFault fault, const QString& match, int times)
{
    std::lock_guard lock(mutex_);
    orders_.push_back(Order{fault, match, times, {}});
}

void TdsStandIn::orderBatchError(const ServerMessage& error, const QString& match)
{
    std::lock_guard lock(mutex_);
    orders_.push_back(Order{BatchFault::ServerError, match, 1, error});
}

void TdsStandIn::setDelayMs(int ms)
{
    delayMs_ = ms;
}

void TdsStandIn::dropSessions()
{
    ++dropGeneration_;
}

std::vector<Login7> TdsStandIn::logins() const
{
    std::lock_guard lock(mutex_);
    return logins_;
}

QStringList TdsStandIn::batches() const
{
    std::lock_guard lock(mutex_);
    return batches_;
}

int TdsStandIn::attentions() const
{
    std::lock_guard lock(mutex_);
    return attentions_;
}

int TdsStandIn::sessionsOpened() const
{
    std::lock_guard lock(mutex_);
    return sessionsOpened_;
}

BatchFault TdsStandIn::takeBatchFault(const QString& text, ServerMessage* error)
{
    std::lock_guard lock(mutex_);
    for (auto it = orders_.begin(); it != orders_.end(); ++it) {
        if (!it->match.isEmpty() && !text.contains(it->match))
            continue;
        const BatchFault fault = it->fault;
        *error = it->error;
        if (--it->times <= 0)
            orders_.erase(it);
        return fault;
    }
    return BatchFault::None;
}

void TdsStandIn::pause()
{
    QDeadlineTimer deadline(delayMs_.load());
    while (!stopping_ && !deadline.hasExpired())
        std::this_thread::sleep_for(std::chrono::milliseconds(qMin<qint64>(20, deadline.remainingTime())));
}

bool TdsStandIn::login(Link& link, QString* database, QString* user)
{
    Message m;
    if (!link.read(m, 10000) || m.type != kPreLogin)
        return false;
    LoginFault fault;
    {
        std::lock_guard lock(mutex_);
        fault = loginFault_;
    }
    if (fault == LoginFault::NeverAnswer) {
        // Takes whatever comes, answers nothing, until the client gives up.
        while (link.open() && !stopping_)
            if (link.readable(100))
                link.read(m, 100);
        return false;
    }
    pause();
    if (!link.write(kTabularResult, preLoginReply()) || !link.read(m, 10000) || m.type != kLogin7)
        return false;
    const Login7 l = parseLogin7(m.data);
    if (!l.valid)
        return false;
    Account account;
    QStringList databases;
    {
        std::lock_guard lock(mutex_);
        logins_.push_back(l);
        account = account_;
        databases = databases_;
    }
    pause();
    ByteWriter w;
    const bool knownDatabase = l.database.isEmpty() || databases.contains(l.database, Qt::CaseInsensitive);
    if (fault == LoginFault::Refuse || l.userName != account.user || l.password != account.password
        || !knownDatabase) {
        if (fault != LoginFault::Refuse && l.userName == account.user && l.password == account.password)
            message(w, ServerMessage{4060, 1, 11,
                                     QStringLiteral("Cannot open database \"%1\" requested by the login. "
                                                    "The login failed.").arg(l.database)});
        message(w, loginFailed(l.userName));
        done(w, kDoneError, 0, 0);
        link.write(kTabularResult, w.data());
        return false;
    }
    *database = l.database.isEmpty() ? databases.value(0) : l.database;
    *user = l.userName;
    const int packetSize = (l.packetSize >= 512 && l.packetSize <= 32767) ? int(l.packetSize) : 4096;
    envChangeText(w, 1, *database, QStringLiteral("master"));
    message(w, ServerMessage{5701, 2, 0, QStringLiteral("Changed database context to '%1'.").arg(*database)});
    envChangeCollation(w, chineseCollation());
    envChangeText(w, 2, QStringLiteral("us_english"), QString());
    message(w, ServerMessage{5703, 1, 0, QStringLiteral("Changed language setting to us_english.")});
    loginAck(w);
    envChangeText(w, 4, QString::number(packetSize), QString::number(packetSize));
    done(w, kDoneFinal, 0, 0);
    if (!link.write(kTabularResult, w.data()))
        return false;
    link.setPacketSize(packetSize);
    return true;
}

void TdsStandIn::serve(int socket, std::uint16_t spid)
{
    Link link(socket, stopping_, spid);
    const int generation = dropGeneration_;
    QString database, user;
    if (!login(link, &database, &user))
        return;
    QDeadlineTimer idle(kIdleSessionMs);
    bool ignoreAttention = false;
    while (link.open() && !stopping_ && !idle.hasExpired()) {
        if (dropGeneration_ != generation)
            return;
        if (!link.readable(50))
            continue;
        Message m;
        if (!link.read(m, 10000))
            return;
        idle = QDeadlineTimer(kIdleSessionMs);
        if (m.type == kAttention) {
            {
                std::lock_guard lock(mutex_);
                ++attentions_;
            }
            if (!ignoreAttention) {
                ByteWriter w;
                done(w, kDoneAttention, 0, 0);
                link.write(kTabularResult, w.data());
            }
            continue;
        }
        if (m.type != kSqlBatch) {
            ByteWriter w;
            message(w, ServerMessage{8009, 1, 16, QStringLiteral("The stand-in runs SQL batches only.")});
            done(w, kDoneError, 0, 0);
            link.write(kTabularResult, w.data());
            continue;
        }
        // TDS 7.2 and later: the ALL_HEADERS block comes first.
        const int headers = int(readU32(m.data, 0));
        const QString text = readUtf16(m.data, headers, (int(m.data.size()) - headers) / 2);
        {
            std::lock_guard lock(mutex_);
            batches_ << text;
        }
        ServerMessage error;
        const BatchFault fault = takeBatchFault(text, &error);
        ignoreAttention = fault == BatchFault::NeverAnswerIgnoreAttention;
        if (fault == BatchFault::NeverAnswer || fault == BatchFault::NeverAnswerIgnoreAttention)
            continue;
        if (fault == BatchFault::DropBeforeReply)
            return;
        pause();
        if (fault == BatchFault::ServerError) {
            ByteWriter w;
            message(w, error);
            done(w, kDoneError, 0, 0xC1);
            link.write(kTabularResult, w.data());
            continue;
        }
        if (fault == BatchFault::DropInsideResult) {
            const BatchOutcome outcome = runner_.run(text, database, user);
            ByteWriter w;
            if (!outcome.columns.empty())
                colMetadata(w, outcome.columns);
            for (const auto& r : outcome.result.rows)
                row(w, outcome.columns, r);
            // The first part of the answer in a packet that says more follows, then nothing.
            ByteWriter packet;
            const QByteArray part = w.data().left(qMax(1, w.size() / 2));
            packet.u8(kTabularResult).u8(0).u16be(std::uint16_t(part.size() + 8)).u16be(spid).u8(1).u8(0);
            packet.bytes(part);
            link.writeRaw(packet.data());
            return;
        }
        answerBatch(link, text, database, user);
    }
}

void TdsStandIn::answerBatch(Link& link, const QString& text, const QString& database, const QString& user)
{
    const BatchOutcome outcome = runner_.run(text, database, user);
    ByteWriter w;
    if (outcome.error) {
        message(w, *outcome.error);
        done(w, kDoneError, 0, 0xC1);
    } else if (outcome.hasResult) {
        colMetadata(w, outcome.columns);
        try {
            for (const auto& r : outcome.result.rows)
                row(w, outcome.columns, r);
            done(w, kDoneCount, outcome.result.rows.size(), 0xC1);
        } catch (const Failure& e) {
            message(w, ServerMessage{8114, 5, 16, e.message() + QLatin1Char('.')});
            done(w, kDoneError, 0, 0xC1);
        }
    } else {
        done(w, kDoneFinal, 0, 0xC6);
    }
    link.write(kTabularResult, w.data());
}

} // namespace kvet::tds
