#pragma once
// ADOQueryN: a statement text plus, when open, a whole fetched result with a
// current row. Bound to the shared connection, which it opens when needed.
#include "data/field.h"
#include <QString>
#include <QStringList>
#include <optional>

namespace kvet {

class Connection;

class Query {
public:
    Query(QString name, Connection& connection);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    const QString& name() const { return name_; }

    void close(); // no effect when closed
    // Replaces every line; the text is split at CR LF, CR or LF.
    void setSql(const QString& text);
    // Every line followed by CR LF, the last one included; this is what is sent.
    QString sql() const;

    void open(); // runs the statement, current row = first row
    bool active() const { return result_.has_value(); }
    bool eof() const;
    void next();
    void execSql(); // runs the statement as a command without rows

    // Fails with "<name>: Field '<field>' not found". At the end of the result
    // every existing column reads as NULL; on a closed query reading fails with
    // "<name>: Cannot perform this operation on a closed dataset".
    Field fieldByName(const QString& field) const;

private:
    QString name_;
    Connection& connection_;
    QStringList lines_;
    std::optional<ResultSet> result_;
    std::size_t row_ = 0;
};

} // namespace kvet
