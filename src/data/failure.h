#pragma once
// The one exception family of the program. Every failure carries the exact
// text the status cell (or the error box) shows; database failures also keep
// the structured diagnostic they came from.
#include <QByteArray>
#include <QString>
#include <exception>

namespace kvet {

class Failure : public std::exception {
public:
    explicit Failure(QString message);
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A failure reported by the database or its driver: connecting, running or
// executing a statement. The message is already cleaned for display.
class DatabaseError : public Failure {
public:
    DatabaseError(QString message, QString state = {}, long nativeCode = 0);
    const QString& state() const noexcept { return state_; }
    long nativeCode() const noexcept { return nativeCode_; }

private:
    QString state_;
    long nativeCode_;
};

// The text a caught std::exception shows: our own message, or what() read as UTF-8.
QString messageOf(const std::exception& e);

// Only inside a catch handler: the text of the exception being handled, and
// the one last-resort text for anything that is no std::exception.
QString currentFailureMessage();

} // namespace kvet
