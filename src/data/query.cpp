#include "data/query.h"

#include "data/connection.h"
#include "data/failure.h"

#include <QRegularExpression>

namespace kvet {

Query::Query(QString name, Connection& connection) : name_(std::move(name)), connection_(connection)
{
    connection_.attach(this);
}

Query::~Query()
{
    connection_.detach(this);
}

void Query::close()
{
    result_.reset();
    row_ = 0;
}

void Query::setSql(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    lines_ = text.split(lineBreak);
    // A text ending in a line break has no empty last line: the break closes
    // the line before it, as a memo's lines do.
    if (lines_.size() > 1 && lines_.back().isEmpty())
        lines_.removeLast();
    if (text.isEmpty())
        lines_.clear();
}

QString Query::sql() const
{
    QString out;
    for (const QString& line : lines_)
        out += line + QStringLiteral("\r\n");
    return out;
}

void Query::open()
{
    if (result_)
        return;
    connection_.open();
    result_ = connection_.backend().run(sql());
    row_ = 0;
}

bool Query::eof() const
{
    return !result_ || row_ >= result_->rows.size();
}

void Query::next()
{
    if (!eof())
        ++row_;
}

void Query::execSql()
{
    connection_.open();
    connection_.backend().execute(sql());
}

Field Query::fieldByName(const QString& field) const
{
    if (!result_)
        throw Failure(name_ + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    const auto& columns = result_->columns;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].name.compare(field, Qt::CaseInsensitive) != 0)
            continue;
        if (eof())
            return Field(Null{}, columns[c].kind);
        const auto& row = result_->rows[row_];
        return Field(c < row.size() ? row[c] : Value(Null{}), columns[c].kind);
    }
    throw Failure(QStringLiteral("%1: Field '%2' not found").arg(name_, field));
}

} // namespace kvet
