// kvet: the dashboard on the utility's SQL Server, as set in kvet.ini beside it.
#include "app/application.h"
#include "app/main_window.h"
#include "data/odbc/odbc_backend.h"

int main(int argc, char** argv)
{
    kvet::prepareProcess();
    kvet::KvetApplication app(argc, argv);
    kvet::TForm1 form(std::make_unique<kvet::OdbcBackend>());
    app.setUncaughtHandler([&form](const QString& m) { form.showUncaught(m); });
    form.showFullScreenMaximized();
    return app.exec();
}
