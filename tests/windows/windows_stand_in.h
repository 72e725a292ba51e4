#pragma once
// A Windows program copied into a folder of its own, beside the kvet.ini it
// is given, and the TDS stand-in holding the demo sample that the kvet.ini
// points at.
#include "tds/stand_in_fixture.h"
#include "windows/wine_session.h"

#include <QFile>

namespace kvet::testing {

class WindowsStandInTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        server = std::make_unique<tds::TdsStandIn>(sampleCopy());
    }

    void TearDown() override
    {
        WindowsTest::TearDown();
        server.reset();
    }

    // dist/NAME copied into the folder; its path.
    QString copied(const QString& name)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(QFile::copy(program(name), path)) << name.toStdString();
        return path;
    }

    void writeIni(const QByteArray& bytes)
    {
        QFile ini(dir.filePath(QStringLiteral("kvet.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(bytes);
    }

    QTemporaryDir dir;
    std::unique_ptr<tds::TdsStandIn> server;
};

} // namespace kvet::testing
