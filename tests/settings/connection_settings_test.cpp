#include "settings/connection_settings.h"

#include "data/connection_string.h"
#include "data/failure.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kvet;

namespace {

class ConnectionSettingsFile : public ::testing::Test {
protected:
    QString write(const QByteArray& text)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return path;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("kvet.ini"));
    ConnectionSettings settings;
};

TEST_F(ConnectionSettingsFile, ReadsTheFourKeysOfSectionOption)
{
    write("[other]\nmy=wrong\n[Option]\r\nmydata = sfdb\r\nmy=10.0.0.5,1433\r\nuser=sa\r\n"
          "password=5rC05YqhMTIz\r\n");
    readConnectionSettings(path, settings);
    EXPECT_EQ(settings.database, QStringLiteral("sfdb"));
    EXPECT_EQ(settings.server, QStringLiteral("10.0.0.5,1433"));
    EXPECT_EQ(settings.user, QStringLiteral("sa"));
    EXPECT_EQ(settings.password, QStringLiteral("水务123"));
}

TEST_F(ConnectionSettingsFile, MissingFileGivesAllElevenPiecesWithEmptyValues)
{
    readConnectionSettings(path, settings);
    EXPECT_EQ(connectionStringFor(settings),
              QStringLiteral("Provider=SQLOLEDB.1;Password=;Persist Security Info=True;User ID=;"
                             "Initial Catalog=;Data Source=;Use Procedure for Prepare=1;"
                             "Auto Translate=True;Packet Size=4096;Workstation ID=;"
                             "Use Encryption for Data=False;"
                             "Tag with column collation when possible=False"));
}

TEST_F(ConnectionSettingsFile, PresentButEmptyPasswordIsNoError)
{
    write("[option]\nmy=srv\npassword=\n");
    EXPECT_NO_THROW(readConnectionSettings(path, settings));
    EXPECT_EQ(settings.password, QString());
}

TEST_F(ConnectionSettingsFile, UndecodablePasswordKeepsTheOtherThreeAndLeavesItEmpty)
{
    settings.password = QStringLiteral("stale");
    write("[option]\nmydata=db\nmy=srv\nuser=u\npassword=/w==\n");
    try {
        readConnectionSettings(path, settings);
        FAIL() << "a password that is not UTF-8 must fail";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral(
            "No mapping for the Unicode character exists in the target multi-byte code page"));
    }
    EXPECT_EQ(settings.database, QStringLiteral("db"));
    EXPECT_EQ(settings.server, QStringLiteral("srv"));
    EXPECT_EQ(settings.user, QStringLiteral("u"));
    EXPECT_EQ(settings.password, QString());
}

} // namespace
