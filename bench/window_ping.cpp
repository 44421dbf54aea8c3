// purgeon_window_ping: watches the program's windows from outside while it works, for
// bench/profiles_bench.sh.
//
//   purgeon_window_ping ping CLASS SECONDS [LIST [AFTER]]  every 100 ms, how long the window
//                       takes to answer; with LIST (the place of a list view among the window's,
//                       from 0), when its first rows came, when its row count last changed, and
//                       when the status bar last stopped saying "Listing..." (the listing's end);
//                       with AFTER, it stops once the list has been listed, unchanged, that long
//   purgeon_window_ping watch CLASS SECONDS [MS]   waits for a window of the class to be made,
//                       then pings it every MS milliseconds (100) as ping does, from its first
//                       moments on (start it before the program)
//   purgeon_window_ping tab CLASS INDEX            selects a tab of the main window (as a click)
//   purgeon_window_ping peak PROCESS.EXE           the process's peak working set, in MiB
//   purgeon_window_ping wait CLASS SECONDS         until a window of the class exists (s taken)
//   purgeon_window_ping gone CLASS SECONDS         until none shows (s taken)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

HWND findWindow(const std::wstring& windowClass) {
    return ::FindWindowW(windowClass.c_str(), nullptr);
}

// The window's list views, in the order they were made.
std::vector<HWND> listViews(HWND window) {
    std::vector<HWND> found;
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM into) -> BOOL {
            wchar_t name[64] = {};
            ::GetClassNameW(child, name, 64);
            if (std::wstring(name) == WC_LISTVIEWW)
                reinterpret_cast<std::vector<HWND>*>(into)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The text of the window's status bar, asked across the process boundary.
std::wstring statusText(HWND window) {
    const HWND status = ::FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
    if (status == nullptr) return {};
    wchar_t text[256] = {};
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(status, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                          30000, &result);
    return text;
}

int ping(const std::wstring& caption, double duration, int listIndex, int intervalMs = 100,
         double after = -1) {
    const HWND window = findWindow(caption);
    if (window == nullptr) return 2;
    HWND list = nullptr;
    if (listIndex >= 0) {
        const std::vector<HWND> lists = listViews(window);
        if (static_cast<std::size_t>(listIndex) < lists.size())
            list = lists[static_cast<std::size_t>(listIndex)];
    }
    LRESULT rows = -1;
    double firstRows = -1;
    double lastChange = -1;
    double listed = -1;  // when "Listing..." last went from the status bar
    bool listing = false;
    std::vector<double> answers;
    int late = 0;
    const auto start = Clock::now();
    auto next = start;
    while (seconds(Clock::now() - start) < duration) {
        const auto sent = Clock::now();
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
        const double ms = seconds(Clock::now() - sent) * 1000.0;
        answers.push_back(ms);
        if (list != nullptr) {
            DWORD_PTR count = 0;
            ::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 30000, &count);
            const double at = seconds(Clock::now() - start);
            if (static_cast<LRESULT>(count) != rows) {
                if (rows >= 0) lastChange = at;
                rows = static_cast<LRESULT>(count);
            }
            if (count > 0 && firstRows < 0) firstRows = at;
            const bool now = statusText(window) == L"Listing...";
            if (listing && !now) listed = at;
            listing = now;
            // Listed: rows there, no "Listing..." and no change for a while.
            const double settled = std::max({firstRows, lastChange, listed});
            if (after >= 0 && firstRows >= 0 && !listing && at - settled >= after) break;
        }
        if (ms > 250.0) ++late;
        next += std::chrono::milliseconds(intervalMs);
        std::this_thread::sleep_until(std::max(next, Clock::now()));
    }
    std::sort(answers.begin(), answers.end());
    const double worst = answers.empty() ? 0.0 : answers.back();
    const double median = answers.empty() ? 0.0 : answers[answers.size() / 2];
    std::printf("pings=%zu median_ms=%.1f max_ms=%.1f over_250ms=%d", answers.size(), median, worst,
                late);
    if (list != nullptr)
        std::printf(" rows=%ld first_rows_s=%.2f last_change_s=%.2f listed_s=%.2f",
                    static_cast<long>(rows), firstRows, lastChange, listed);
    std::printf("\n");
    return 0;
}

// A click on the tab's header, found through the tab control's own answer in the other process.
int selectTab(const std::wstring& windowClass, int index) {
    const HWND window = findWindow(windowClass);
    if (window == nullptr) return 2;
    const HWND tabs = ::FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
    if (tabs == nullptr) return 2;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(tabs, &processId);
    const HANDLE process =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return 2;
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT rect{};
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 30000, &result);
    SIZE_T read = 0;
    ::ReadProcessMemory(process, remote, &rect, sizeof(rect), &read);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageTimeoutW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_NORMAL, 30000, &result);
    ::SendMessageTimeoutW(tabs, WM_LBUTTONUP, 0, at, SMTO_NORMAL, 30000, &result);
    return 0;
}

int peak(const std::wstring& exe) {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
         more = ::Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, exe.c_str()) != 0) continue;
        const HANDLE process =
            ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        if (process && ::GetProcessMemoryInfo(process, &counters, sizeof(counters)))
            std::printf("peak_mib=%.1f now_mib=%.1f\n", counters.PeakWorkingSetSize / 1048576.0,
                        counters.WorkingSetSize / 1048576.0);
        if (process) ::CloseHandle(process);
        ::CloseHandle(snapshot);
        return 0;
    }
    ::CloseHandle(snapshot);
    return 2;
}

// Pings the window from soon after it is made: the program's first moments are what is watched.
int watch(const std::wstring& windowClass, double duration, int intervalMs) {
    const auto start = Clock::now();
    while (findWindow(windowClass) == nullptr) {
        if (seconds(Clock::now() - start) > 60) return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return ping(windowClass, duration, -1, intervalMs);
}

int waitFor(const std::wstring& caption, double most, bool shown) {
    const auto start = Clock::now();
    while (seconds(Clock::now() - start) < most) {
        // Gone is gone from the screen: Wine without a window manager keeps a closing window
        // for up to 2 s more, hidden, waiting for the manager to withdraw it.
        const HWND found = findWindow(caption);
        if ((found != nullptr && (shown || ::IsWindowVisible(found))) == shown) {
            std::printf("%.2f\n", seconds(Clock::now() - start));
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    const std::wstring command = argv[1];
    if (command == L"ping")
        return ping(argv[2], _wtof(argv[3]), argc > 4 ? _wtoi(argv[4]) : -1, 100,
                    argc > 5 ? _wtof(argv[5]) : -1);
    if (command == L"watch") return watch(argv[2], _wtof(argv[3]), argc > 4 ? _wtoi(argv[4]) : 100);
    if (command == L"tab") return selectTab(argv[2], _wtoi(argv[3]));
    if (command == L"wait") return waitFor(argv[2], _wtof(argv[3]), true);
    if (command == L"gone") return waitFor(argv[2], _wtof(argv[3]), false);
    if (command == L"peak") return peak(argv[2]);
    return 2;
}
