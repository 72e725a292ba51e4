// kvet-check: tells the person who installs the display whether kvet.ini, the
// ODBC driver, the login, the reporting views and every statement of the
// dashboard work, one finding a line. Exit code 0 only when all is well.
#include "app/application.h"
#include "settings/password_codec.h"
#include "check/check_export.h"
#include "check/check_options.h"
#include "check/check_run.h"
#include "console.h"

#include <QCoreApplication>

namespace {

using namespace kvet::check;

int encodePasswordCommand()
{
    const auto first = readSecretLine(QStringLiteral("密码："));
    if (!first) {
        writeText(stderr, QStringLiteral("没有读到密码\n"));
        return 1;
    }
    if (standardInputIsTerminal()) {
        const auto second = readSecretLine(QStringLiteral("再输入一次："));
        if (!second || *second != *first) {
            writeText(stderr, QStringLiteral("两次输入的密码不一样\n"));
            return 1;
        }
    }
    if (first->isEmpty())
        writeText(stderr, QStringLiteral("注意：密码为空\n"));
    writeText(stdout, kvet::encodePassword(*first) + QLatin1Char('\n'));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    kvet::prepareProcess();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kvet-check"));

    QString error;
    const auto line = parseCommandLine(app.arguments().mid(1), error);
    if (!line) {
        writeText(stderr, error + QStringLiteral("\n\n") + usage());
        return 2;
    }
    if (line->help) {
        writeText(stdout, usage());
        return 0;
    }
    if (line->encodePassword)
        return encodePasswordCommand();

    Report report;
    report.setSink([](const Finding& finding) { writeText(stdout, formatFinding(finding)); });
    if (!line->check.exportFile.isEmpty())
        return runExport(line->check, report);
    return runCheck(line->check, report);
}
