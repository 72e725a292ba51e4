// kvet: the dashboard on the utility's SQL Server, as set in kvet.ini beside it.
#include "app/application.h"
#include "app/main_window.h"
#include "data/odbc/odbc_backend.h"
#include "kiosk/kiosk.h"
#include "kiosk/single_instance.h"

int main(int argc, char** argv)
{
    kvet::prepareProcess();
    kvet::KvetApplication app(argc, argv);
    kvet::SingleInstance instance;
    if (!instance.claim())
        return 0; // the session's dashboard runs already and was asked to come to the front
    kvet::WindowOptions options;
    options.askServerBeforeProbeRetries = true;
    kvet::TForm1 form(std::make_unique<kvet::OdbcBackend>(), std::move(options));
    app.setUncaughtHandler([&form](const QString& m) { form.showUncaught(m); });
    kvet::Kiosk kiosk(form, instance);
    form.showFullScreenMaximized();
    return app.exec();
}
