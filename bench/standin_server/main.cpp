// The TDS stand-in as a program of its own, for measuring the production
// program through FreeTDS on this machine: serves the demo sample (made for
// the moment it starts, getdate() the local clock) on 127.0.0.1 until it is
// killed, after printing its port.
//   kvet_standin_server [port]
#include "data/failure.h"
#include "data/sqlite/demo_database.h"
#include "tds_standin/tds_standin.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int port = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    std::unique_ptr<kvet::SqliteBackend> sample;
    try {
        sample = kvet::createDemoBackend(QDateTime::currentDateTime(), true);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "the sample could not be built: %s\n", kvet::messageOf(e).toLocal8Bit().constData());
        return 1;
    }
    kvet::tds::TdsStandIn server(std::move(sample));
    if (!server.start(port)) {
        std::fprintf(stderr, "port %d is taken\n", port);
        return 1;
    }
    std::printf("%d\n", server.port());
    std::fflush(stdout);
    return app.exec();
}
