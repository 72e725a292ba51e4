#include "support/scripted_backend.h"

#include <QRegularExpression>

namespace kvet::testing {

int Script::count(const QString& prefix) const
{
    int n = 0;
    for (const QString& c : calls)
        n += c.startsWith(prefix) ? 1 : 0;
    return n;
}

void ScriptedBackend::connect(const QString&)
{
    script_->calls << QStringLiteral("connect");
    if (script_->onConnect)
        script_->onConnect();
    script_->connected = true;
}

void ScriptedBackend::disconnect()
{
    script_->calls << QStringLiteral("disconnect");
    script_->connected = false;
}

ResultSet ScriptedBackend::run(const QString& statement)
{
    script_->calls << QStringLiteral("run: ") + folded(statement);
    if (!script_->connected)
        throw DatabaseError(QStringLiteral("not connected"));
    return script_->onRun ? script_->onRun(statement) : ResultSet{};
}

void ScriptedBackend::execute(const QString& statement)
{
    script_->calls << QStringLiteral("execute: ") + folded(statement);
    if (!script_->connected)
        throw DatabaseError(QStringLiteral("not connected"));
    if (script_->onExecute)
        script_->onExecute(statement);
}

ResultSet table(const QStringList& columns, const std::vector<std::vector<Value>>& rows)
{
    ResultSet r;
    for (int c = 0; c < columns.size(); ++c) {
        ColumnKind kind = ColumnKind::Other;
        for (const auto& row : rows) {
            const Value& v = row.at(c);
            if (std::holds_alternative<std::int64_t>(v)) kind = ColumnKind::Integer;
            else if (std::holds_alternative<double>(v)) kind = ColumnKind::Float;
            else if (std::holds_alternative<Decimal>(v)) kind = ColumnKind::Decimal;
            else if (std::holds_alternative<QString>(v)) kind = ColumnKind::Text;
            else if (std::holds_alternative<QDateTime>(v)) kind = ColumnKind::DateTime;
            else continue;
            break;
        }
        r.columns.push_back({columns[c], kind});
    }
    r.rows = rows;
    return r;
}

QString folded(const QString& statement)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return QString(statement).replace(space, QStringLiteral(" ")).trimmed();
}

} // namespace kvet::testing
