// kvet-keeper: keeps the dashboard on the hall's screen. Started at logon for
// every user by the shortcut the installer puts in the All-Users Startup
// folder, it starts kvet.exe from its own folder, waits for it, and starts it
// again when it ends other than on purpose (see restart_policy.h). It ends when
// kvet exits with code 0 (the double-click on the banner, or a kvet that found
// another one in the session) and when the session ends.
//
// Why a program of our own and not a scheduled task: Task Scheduler's "restart
// on failure" retries a task that failed to run because a start condition was
// not met or its action could not be started (Microsoft's [MS-TSCH] 2.5.4.2,
// RestartOnFailure), at most 255 times and at least a minute apart. A kvet that
// started and crashed an hour later counts as a task that ran: nothing restarts
// it.
//
// Plain Win32, no Qt: it must not depend on what might be broken in kvet.
#include "restart_policy.h"

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace {

bool g_sessionEnding = false;

LRESULT CALLBACK keeperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_QUERYENDSESSION:
        // From here on, kvet ending is the session's doing: never start it again.
        g_sessionEnding = true;
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            g_sessionEnding = true;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A hidden top-level window: the only way a program without a visible window
// hears that the session is ending (message-only windows get no broadcasts).
HWND createSessionWindow(HINSTANCE instance)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = keeperWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"kvet-keeper";
    if (!RegisterClassW(&windowClass))
        return nullptr;
    return CreateWindowExW(0, windowClass.lpszClassName, L"kvet-keeper", WS_OVERLAPPED, 0, 0, 0, 0,
                           nullptr, nullptr, instance, nullptr);
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Waits for the process to end (handle) or for the pause (no handle) while
// answering the session's messages. False when the session began to end
// meanwhile.
bool waitAnswering(HANDLE handle, std::chrono::seconds pause = {})
{
    const auto deadline = std::chrono::steady_clock::now() + pause;
    for (;;) {
        pumpMessages();
        if (g_sessionEnding || GetSystemMetrics(SM_SHUTTINGDOWN))
            return false;
        DWORD timeout = INFINITE;
        if (!handle) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return true;
            timeout = static_cast<DWORD>(left.count());
        }
        const DWORD count = handle ? 1 : 0;
        const DWORD result = MsgWaitForMultipleObjects(count, handle ? &handle : nullptr, FALSE, timeout,
                                                       QS_ALLINPUT);
        if (handle && result == WAIT_OBJECT_0)
            return true;
        if (result == WAIT_FAILED)
            Sleep(1000); // never a busy loop, whatever went wrong
    }
}

std::wstring ownFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring{} : path.substr(0, slash);
}

struct Run {
    std::optional<std::uint32_t> exitCode; // nothing: kvet.exe did not start
    std::chrono::milliseconds ran{0};
    bool interrupted = false;               // the session began to end meanwhile
};

Run runKvet(const std::wstring& folder)
{
    const std::wstring program = folder + L"\\kvet.exe";
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const auto started = std::chrono::steady_clock::now();
    // kvet finds kvet.ini beside itself; its working folder is that folder too.
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return {};
    CloseHandle(process.hThread);
    Run run;
    if (!waitAnswering(process.hProcess)) {
        // The session is ending: Windows ends kvet itself.
        run.interrupted = true;
    } else {
        DWORD code = 1;
        if (GetExitCodeProcess(process.hProcess, &code))
            run.exitCode = code;
        else
            run.exitCode = 1;
    }
    CloseHandle(process.hProcess);
    run.ran = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    return run;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // One keeper per session: a second one (the Start-menu entry while the
    // logon one runs) leaves the dashboard to the first.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\kvet-keeper");
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;

    const std::wstring folder = ownFolder();
    if (folder.empty())
        return 1;
    createSessionWindow(instance);

    kvet::keeper::RestartPolicy policy;
    for (;;) {
        const Run run = runKvet(folder);
        if (run.interrupted)
            break;
        const auto next = policy.afterEnd(run.exitCode, run.ran);
        if (!next.again)
            break;
        if (!waitAnswering(nullptr, next.pause))
            break;
    }
    CloseHandle(mutex);
    return 0;
}
