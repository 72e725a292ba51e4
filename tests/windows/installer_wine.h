// A Wine prefix of its own for the installer's tests, on Xvfb when there is no
// display, with every Wine call bounded in time. Wine's exit codes are not
// trusted by the tests: they read files, the registry and output instead.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kvet::wintest {

namespace fs = std::filesystem;

struct Result {
    int exitCode = -1;  // of the program (or of timeout: 124 when it ran too long)
    std::string output; // standard output and error together
};

inline std::vector<char*> argvOf(std::vector<std::string>& words)
{
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return argv;
}

// Runs the command under `timeout` (killed 5 s after the limit if it ignores
// the first signal), in the folder given, and collects its output. The output
// goes through a file, not a pipe: wineserver, started by the first Wine
// program, inherits the output and outlives it.
inline Result run(std::vector<std::string> command, std::chrono::seconds limit, const fs::path& folder = {})
{
    std::vector<std::string> words{"timeout", "-k", "5", std::to_string(limit.count())};
    words.insert(words.end(), command.begin(), command.end());
    char name[] = "/tmp/kvet-wine-output-XXXXXX";
    const int outputFile = mkstemp(name);
    if (outputFile < 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(outputFile, 1);
        dup2(outputFile, 2);
        close(outputFile);
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, 0);
        if (!folder.empty() && chdir(folder.c_str()) != 0)
            _exit(126);
        auto argv = argvOf(words);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(outputFile);
    Result result;
    int status = 0;
    waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(name, std::ios::binary);
    result.output.assign(std::istreambuf_iterator<char>(in), {});
    unlink(name);
    return result;
}

inline bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    return true;
}

// A UTF-16LE file (with or without its mark) as UTF-8; empty when missing.
inline std::string readUtf16File(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::size_t i = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE' ? 2 : 0;
    std::string out;
    auto unitAt = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) |
                                     static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    for (; i + 1 < bytes.size(); i += 2) {
        unsigned cp = unitAt(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const unsigned low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | cp >> 18);
            out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

// A program started in the background (the keeper); killed when it goes.
class Background {
public:
    explicit Background(pid_t pid) : pid_(pid) {}
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;
    ~Background()
    {
        if (!ended()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool ended()
    {
        if (done_)
            return true;
        int status = 0;
        done_ = waitpid(pid_, &status, WNOHANG) == pid_;
        return done_;
    }

private:
    pid_t pid_;
    bool done_ = false;
};

class WinePrefix {
public:
    WinePrefix()
    {
        char pattern[] = "/tmp/kvet-installer-XXXXXX";
        root_ = mkdtemp(pattern);
        fs::create_directories(scratch());
        if (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY"))
            startXvfb();
        setenv("WINEPREFIX", (root_ / "prefix").c_str(), 1);
        setenv("WINEDEBUG", "-all", 1);
        setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
        // Wine turns the command line's bytes into UTF-16 by the locale's
        // character set: UTF-8, so that Chinese settings arrive.
        setenv("LANG", "C.UTF-8", 1);
        setenv("LC_ALL", "C.UTF-8", 1);
        run({"wineboot", "-i"}, std::chrono::seconds(240));
        wine({"wine", "reg", "add", R"(HKCU\Software\Wine\WineDbg)", "/v", "ShowCrashDialog", "/t", "REG_DWORD",
              "/d", "0", "/f"},
             std::chrono::seconds(60));
        setWindowsVersion("win10");
    }
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;
    ~WinePrefix()
    {
        endProcesses();
        if (xvfb_ > 0) {
            kill(xvfb_, SIGTERM);
            waitpid(xvfb_, nullptr, 0);
        }
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    Result wine(std::vector<std::string> command, std::chrono::seconds limit, const fs::path& folder = {})
    {
        return run(std::move(command), limit, folder);
    }
    Background startWine(std::vector<std::string> command)
    {
        const pid_t child = fork();
        if (child == 0) {
            const int devNull = open("/dev/null", O_RDWR);
            dup2(devNull, 0);
            dup2(devNull, 1);
            dup2(devNull, 2);
            auto argv = argvOf(command);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        return Background(child);
    }
    // Ends every process of the prefix (the test's last step).
    void endProcesses() { run({"wineserver", "-k"}, std::chrono::seconds(30)); }
    void setWindowsVersion(const std::string& version)
    {
        wine({"wine", "reg", "add", R"(HKCU\Software\Wine)", "/v", "Version", "/t", "REG_SZ", "/d", version, "/f"},
             std::chrono::seconds(60));
    }

    fs::path scratch() const { return root_ / "scratch"; }
    fs::path driveC() const { return root_ / "prefix" / "drive_c"; }
    fs::path tempFolder() const
    {
        const passwd* user = getpwuid(getuid());
        const fs::path home = driveC() / "users" / (user ? user->pw_name : "root");
        return fs::exists(home / "Temp") ? home / "Temp" : home / "AppData" / "Local" / "Temp";
    }

private:
    void startXvfb()
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return;
        xvfb_ = fork();
        if (xvfb_ == 0) {
            close(pipeEnds[0]);
            const int devNull = open("/dev/null", O_RDWR);
            dup2(devNull, 1);
            dup2(devNull, 2);
            const std::string fd = std::to_string(pipeEnds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        std::string number;
        char c;
        while (read(pipeEnds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(pipeEnds[0]);
        if (!number.empty())
            setenv("DISPLAY", (":" + number).c_str(), 1);
    }

    fs::path root_;
    pid_t xvfb_ = -1;
};

// A stand-in kvet.exe for the keeper: appends a line to runs.txt beside itself
// at each start, then ends as order.txt says (a number: that exit code; "kill":
// TerminateProcess with code 1; "crash": a write through a null pointer).
inline bool buildStandInKvet(const fs::path& exe, const fs::path& scratch)
{
    const fs::path source = scratch / "stand_in_kvet.c";
    std::ofstream(source) << R"(#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
int main(void)
{
    char folder[MAX_PATH], runs[MAX_PATH + 16], order[MAX_PATH + 16], word[32] = "";
    DWORD n = GetModuleFileNameA(NULL, folder, MAX_PATH);
    while (n > 0 && folder[n - 1] != '\\') --n;
    folder[n] = 0;
    snprintf(runs, sizeof runs, "%sruns.txt", folder);
    snprintf(order, sizeof order, "%sorder.txt", folder);
    FILE* f = fopen(runs, "a");
    if (f) { fprintf(f, "%lu\n", GetCurrentProcessId()); fclose(f); }
    for (;;) {
        FILE* o = fopen(order, "r");
        if (o) {
            int got = fscanf(o, "%31s", word);
            fclose(o);
            if (got == 1 && DeleteFileA(order)) {
                if (!strcmp(word, "kill")) TerminateProcess(GetCurrentProcess(), 1);
                if (!strcmp(word, "crash")) *(volatile int*)0 = 0;
                return atoi(word);
            }
        }
        Sleep(100);
    }
}
)";
    const auto built = run({"x86_64-w64-mingw32-gcc", "-O2", "-o", exe.string(), source.string()},
                           std::chrono::seconds(120));
    EXPECT_EQ(built.exitCode, 0) << built.output;
    return built.exitCode == 0 && fs::exists(exe);
}

} // namespace kvet::wintest
