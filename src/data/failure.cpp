#include "data/failure.h"

namespace kvet {

Failure::Failure(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

DatabaseError::DatabaseError(QString message, QString state, long nativeCode)
    : Failure(std::move(message)), state_(std::move(state)), nativeCode_(nativeCode)
{
}

QString messageOf(const std::exception& e)
{
    if (auto* f = dynamic_cast<const Failure*>(&e))
        return f->message();
    return QString::fromUtf8(e.what());
}

QString currentFailureMessage()
{
    try {
        try {
            throw;
        } catch (const std::exception& e) {
            return messageOf(e);
        }
    } catch (...) {
    }
    return QStringLiteral("未知错误");
}

} // namespace kvet
