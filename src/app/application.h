#pragma once
// Process-wide set-up shared by kvet and kvet-demo, and the application object
// that keeps exceptions from ever crossing Qt's event loop.
#include <QApplication>
#include <functional>

namespace kvet {

// Before the application object: a UTF-8 character locale (unixODBC converts
// wide strings through it for drivers without wide entry points; under "C"
// Chinese text is cut to bytes) and physical pixels, so that the layout's own
// pixel constants are never scaled (design sizes are scaled by the window).
void prepareProcess();

class KvetApplication : public QApplication {
public:
    KvetApplication(int& argc, char** argv);
    // Last line of defence: an exception that escaped an event handler goes
    // to the uncaught handler (the window's error box) instead of ending the
    // process.
    bool notify(QObject* receiver, QEvent* event) override;
    void setUncaughtHandler(std::function<void(const QString&)> handler) { uncaught_ = std::move(handler); }

private:
    std::function<void(const QString&)> uncaught_;
};

} // namespace kvet
