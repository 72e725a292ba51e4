// The Windows installer and kvet-keeper, run under Wine: a silent install with
// settings, a reinstall that keeps kvet.ini, the uninstaller, and the keeper
// bringing back a kvet that crashed or was killed.
//
// Needs: wine (64-bit), makensis, mingw-w64's gcc (for the stand-in kvet.exe the
// keeper is tried on), Xvfb when there is no DISPLAY. Inputs, from the
// environment or the build:
//   KVET_WINDOWS_DIST  the four programs (kvet.exe, kvet-demo.exe, kvet-check.exe,
//                      kvet-keeper.exe); the installer is made from them here
//   KVET_SOURCE_DIR    this tree (for packaging/windows/make-installer.sh)
//   KVET_WINDOWS_TEST_STAND_IN_PROGRAMS=1: the three Qt programs are stand-ins,
//                      so kvet-check's report is not read
#include "installer_wine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using kvet::wintest::WinePrefix;

namespace {

std::string setting(const char* name, const char* builtIn)
{
    const char* value = std::getenv(name);
    return value && *value ? value : builtIn;
}

#ifndef KVET_WINDOWS_DIST_DIR
#define KVET_WINDOWS_DIST_DIR ""
#endif
#ifndef KVET_SOURCE_DIR
#define KVET_SOURCE_DIR ""
#endif

const std::string kUninstallKey = R"(HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\kvet)";
// Quotes, spaces, '=', ';', a slash option look-alike, Chinese and a character
// outside the BMP (a surrogate pair in UTF-16): all must reach kvet intact.
const std::string kPassword = "密 码;a=b\"c'd /x=🙂";

std::string base64(const std::string& bytes)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned group = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 | (unsigned char)bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6)
            out += alphabet[(group >> shift) & 63];
    }
    if (const std::size_t rest = bytes.size() - i) {
        unsigned group = (unsigned char)bytes[i] << 16;
        if (rest == 2)
            group |= (unsigned char)bytes[i + 1] << 8;
        out += alphabet[group >> 18 & 63];
        out += alphabet[group >> 12 & 63];
        out += rest == 2 ? alphabet[group >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

class InstallerUnderWine : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefix_ = new WinePrefix();
        dist_ = setting("KVET_WINDOWS_DIST", KVET_WINDOWS_DIST_DIR);
        const fs::path source = setting("KVET_SOURCE_DIR", KVET_SOURCE_DIR);
        ASSERT_FALSE(dist_.empty()) << "KVET_WINDOWS_DIST is not set";
        const auto made = kvet::wintest::run({(source / "packaging/windows/make-installer.sh").string(), dist_.string(),
                                              "1.0.0", prefix_->scratch().string()},
                                             120s);
        ASSERT_EQ(made.exitCode, 0) << made.output;
        installer_ = prefix_->scratch() / "kvet-setup-1.0.0.exe";
        ASSERT_TRUE(fs::exists(installer_)) << made.output;
    }
    static void TearDownTestSuite()
    {
        delete prefix_;
        prefix_ = nullptr;
    }
    void TearDown() override { prefix_->endProcesses(); }

    static kvet::wintest::Result install(std::vector<std::string> options)
    {
        std::vector<std::string> command{"wine", installer_.string(), "/S"};
        command.insert(command.end(), options.begin(), options.end());
        return prefix_->wine(command, 180s);
    }
    static fs::path installFolder() { return prefix_->driveC() / "Program Files" / "kvet"; }
    static fs::path startupShortcut()
    {
        return prefix_->driveC() / "ProgramData/Microsoft/Windows/Start Menu/Programs/StartUp/kvet.lnk";
    }
    static std::string setupLog() { return kvet::wintest::readUtf16File(prefix_->tempFolder() / "kvet-setup.log"); }

    static WinePrefix* prefix_;
    static fs::path dist_;
    static fs::path installer_;
};

WinePrefix* InstallerUnderWine::prefix_ = nullptr;
fs::path InstallerUnderWine::dist_;
fs::path InstallerUnderWine::installer_;

} // namespace

TEST_F(InstallerUnderWine, RefusesWhatCannotRunKvetAndSaysWhy)
{
    // Windows 7 (the prefix pretends): nothing installed, the reason logged.
    prefix_->setWindowsVersion("win7");
    install({"/SERVER=s", "/DATABASE=d", "/USER=u", "/PASSWORD=p"});
    prefix_->setWindowsVersion("win10");
    EXPECT_FALSE(fs::exists(installFolder()));
    EXPECT_NE(setupLog().find("需要 64 位的 Windows 10 或 Windows 11"), std::string::npos) << setupLog();

    // A silent first install without the settings: nothing half-installed.
    install({"/SERVER=s", "/DATABASE=d"});
    EXPECT_FALSE(fs::exists(installFolder()));
    EXPECT_NE(setupLog().find("静默安装需要 /SERVER= /DATABASE= /USER= /PASSWORD="), std::string::npos) << setupLog();
}

TEST_F(InstallerUnderWine, InstallsKeepsKvetIniOnReinstallAndUninstallsTheRest)
{
    const auto first = install({R"(/SERVER=db01\SQLEXPRESS,1433)", "/DATABASE=收费库", "/USER=大屏 user",
                                "/PASSWORD=" + kPassword});
    const fs::path folder = installFolder();
    for (const char* name : {"kvet.exe", "kvet-demo.exe", "kvet-check.exe", "kvet-keeper.exe", "uninstall.exe"})
        EXPECT_TRUE(fs::exists(folder / name)) << name << "\n" << first.output << setupLog();
    EXPECT_TRUE(fs::exists(startupShortcut()));
    const auto key = prefix_->wine({"wine", "reg", "query", kUninstallKey}, 60s);
    EXPECT_NE(key.output.find("QuietUninstallString"), std::string::npos) << key.output;
    EXPECT_NE(key.output.find(R"(C:\Program Files\kvet\uninstall.exe" /S)"), std::string::npos) << key.output;

    // kvet.ini as Windows' profile functions read it: UTF-16LE with its mark,
    // the keys in kvet's order, the password as Base64 of its UTF-8 bytes.
    const fs::path ini = folder / "kvet.ini";
    std::ifstream raw(ini, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(raw)), {});
    ASSERT_GE(bytes.size(), 2u) << setupLog();
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));
    const std::string written = kvet::wintest::readUtf16File(ini);
    EXPECT_EQ(written, "[option]\r\nmydata=收费库\r\nmy=db01\\SQLEXPRESS,1433\r\nuser=大屏 user\r\npassword=" +
                           base64(kPassword) + "\r\n");

    // kvet's own reading of it, through Windows' profile functions.
    if (setting("KVET_WINDOWS_TEST_STAND_IN_PROGRAMS", "") != "1") {
        const auto check = prefix_->wine({"wine", (folder / "kvet-check.exe").string()}, 180s, folder);
        EXPECT_NE(check.output.find("数据库（mydata）：收费库"), std::string::npos) << check.output;
        EXPECT_NE(check.output.find("服务器（my）：db01\\SQLEXPRESS,1433"), std::string::npos) << check.output;
        EXPECT_NE(check.output.find("用户（user）：大屏 user"), std::string::npos) << check.output;
        EXPECT_NE(check.output.find("密码（password）：已设置，可以解码"), std::string::npos) << check.output;
    }

    // A reinstall (an upgrade) with other settings leaves the hall's file alone.
    install({"/SERVER=other", "/DATABASE=other", "/USER=other", "/PASSWORD=other"});
    EXPECT_EQ(kvet::wintest::readUtf16File(ini), written);
    EXPECT_TRUE(fs::exists(folder / "uninstall.exe"));
    // And without any settings: the existing file is enough.
    install({});
    EXPECT_EQ(kvet::wintest::readUtf16File(ini), written);

    // The uninstaller copies itself away and returns at once: wait for its work.
    prefix_->wine({"wine", R"(C:\Program Files\kvet\uninstall.exe)", "/S"}, 60s);
    const bool removed = kvet::wintest::waitFor(
        [&] { return !fs::exists(folder / "uninstall.exe") && !fs::exists(startupShortcut()); }, 90s);
    EXPECT_TRUE(removed) << setupLog();
    for (const char* name : {"kvet.exe", "kvet-demo.exe", "kvet-check.exe", "kvet-keeper.exe"})
        EXPECT_FALSE(fs::exists(folder / name)) << name;
    EXPECT_FALSE(fs::exists(prefix_->driveC() / "ProgramData/Microsoft/Windows/Start Menu/Programs/kvet"));
    const auto gone = prefix_->wine({"wine", "reg", "query", kUninstallKey}, 60s);
    EXPECT_EQ(gone.output.find("DisplayName"), std::string::npos) << gone.output;
    EXPECT_EQ(kvet::wintest::readUtf16File(ini), written);
    EXPECT_NE(setupLog().find("保留了数据库设置"), std::string::npos) << setupLog();
}

// The real keeper beside a stand-in kvet.exe that records each start and ends
// as a file in its folder orders: a number is its exit code, "kill" ends it
// with TerminateProcess(1) (what taskkill /F and Task Manager do; Wine's own
// taskkill ends a process with code 0), "crash" writes through a null pointer.
TEST_F(InstallerUnderWine, KeeperBringsKvetBackUntilItExitsWithZero)
{
    const fs::path folder = prefix_->driveC() / "keeper-test";
    fs::create_directories(folder);
    fs::copy_file(dist_ / "kvet-keeper.exe", folder / "kvet-keeper.exe", fs::copy_options::overwrite_existing);
    ASSERT_TRUE(kvet::wintest::buildStandInKvet(folder / "kvet.exe", prefix_->scratch()));
    const fs::path runs = folder / "runs.txt";
    const fs::path order = folder / "order.txt";
    auto startsSoFar = [&] {
        std::ifstream in(runs);
        std::string line;
        int count = 0;
        while (std::getline(in, line))
            ++count;
        return count;
    };

    auto keeper = prefix_->startWine({"wine", (folder / "kvet-keeper.exe").string()});
    ASSERT_TRUE(kvet::wintest::waitFor([&] { return startsSoFar() == 1; }, 90s));

    // One keeper per session: a second one ends at once and starts no kvet.
    auto second = prefix_->startWine({"wine", (folder / "kvet-keeper.exe").string()});
    EXPECT_TRUE(kvet::wintest::waitFor([&] { return second.ended(); }, 60s));

    int starts = 1;
    for (const char* end : {"crash", "kill", "3"}) {
        std::ofstream(order) << end;
        // The pause is ten seconds; allow for a slow prefix.
        EXPECT_TRUE(kvet::wintest::waitFor([&] { return startsSoFar() == starts + 1; }, 90s))
            << "no new start after '" << end << "'";
        starts = startsSoFar();
        EXPECT_FALSE(keeper.ended());
    }
    EXPECT_EQ(starts, 4);

    // Exit code 0 (the double-click on the banner): the keeper ends too.
    std::ofstream(order) << "0";
    EXPECT_TRUE(kvet::wintest::waitFor([&] { return keeper.ended(); }, 60s));
    std::this_thread::sleep_for(12s); // longer than the pause: no late start
    EXPECT_EQ(startsSoFar(), starts);
}
