#pragma once
// Keeps the display awake while the dashboard runs and lets it sleep again
// when the dashboard ends: on Windows through the thread's execution state,
// on Linux through the session's freedesktop screen saver over D-Bus when
// there is a session bus (and the build has Qt D-Bus); nothing otherwise.
#include <QObject>
#include <QString>

namespace kvet {

class KeepAwake : public QObject {
    Q_OBJECT
public:
    explicit KeepAwake(QObject* parent = nullptr);
    // On the bus at `busAddress` instead of the session bus (tests run a
    // private bus); ignored where there is no D-Bus.
    explicit KeepAwake(const QString& busAddress, QObject* parent = nullptr);
    ~KeepAwake() override;
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;

    // True once the system has agreed to keep the display on (on Linux that
    // is when the screen saver's answer has come).
    bool active() const { return active_; }

signals:
    void activeChanged(bool active);

private:
    void setActive(bool active);
    void release();

    bool active_ = false;
    quint32 cookie_ = 0;     // the screen saver's token for the inhibition
    QString connectionName_; // the bus connection the inhibition lives on
    bool ownConnection_ = false; // a private bus connection, ended with this object
};

} // namespace kvet
