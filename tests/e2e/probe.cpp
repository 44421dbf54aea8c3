// purgeon_probe: looks at and pokes the program's windows from outside, for the end-to-end scripts.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>
#include <wininet.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace {

using purgeon::win32::UniqueHandle;

// The text the window system keeps for a window of another process: asking for it sends that
// process nothing, so it works while the process is busy or frozen.
std::wstring windowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(hwnd, buffer, 1024);
    return buffer;
}

std::wstring className(HWND hwnd) {
    wchar_t buffer[256] = {};
    ::GetClassNameW(hwnd, buffer, 256);
    return buffer;
}

std::vector<HWND> topWindows() {
    std::vector<HWND> found;
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> found;
    ::EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A top-level window of the class (and caption, unless "*"); visible ones only when asked.
HWND findTop(const std::wstring& cls, const std::wstring& caption, bool visibleOnly) {
    for (HWND hwnd : topWindows()) {
        if (className(hwnd) != cls) continue;
        if (caption != L"*" && windowText(hwnd) != caption) continue;
        if (visibleOnly && !::IsWindowVisible(hwnd)) continue;
        return hwnd;
    }
    return nullptr;
}

bool waitFor(long timeoutMs, const std::function<bool()>& done, DWORD pollMs = 50) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (done()) return true;
        if (::GetTickCount64() > end) return false;
        ::Sleep(pollMs);
    }
}

// Commits one empty entry of the type to the URL cache. Another process that holds the cache's
// index for a moment (a program listing or cleaning it) can make a step fail: each step is tried
// again for up to two seconds, and a failure that stays names the step, the entry and the error.
bool commitCacheEntry(const std::wstring& url, DWORD type) {
    const char* step = "";
    DWORD error = 0;
    const bool done = waitFor(
        2000,
        [&] {
            wchar_t file[MAX_PATH] = {};
            if (!::CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0)) {
                step = "CreateUrlCacheEntryW";
                error = ::GetLastError();
                return false;
            }
            if (!purgeon::win32::UniqueFile(
                    ::CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr))) {
                step = "CreateFileW";
                error = ::GetLastError();
                return false;
            }
            FILETIME zero{};
            if (!::CommitUrlCacheEntryW(url.c_str(), file, zero, zero, type, nullptr, 0, nullptr,
                                        nullptr)) {
                step = "CommitUrlCacheEntryW";
                error = ::GetLastError();
                ::DeleteFileW(file);
                return false;
            }
            return true;
        },
        100);
    if (!done) std::fwprintf(stderr, L"%hs failed for %ls: error %lu\n", step, url.c_str(), error);
    return done;
}

// The first window below parent with that control identifier.
HWND descendant(HWND parent, int id) {
    for (HWND child : children(parent))
        if (::GetDlgCtrlID(child) == id) return child;
    return nullptr;
}

DWORD ownerProcess(HWND hwnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

void forEachThread(DWORD pid, const std::function<void(HANDLE)>& act) {
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) {
        snapshot.release();
        return;
    }
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = ::Thread32First(snapshot.get(), &entry); ok;
         ok = ::Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID != pid) continue;
        UniqueHandle thread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
        if (thread) act(thread.get());
    }
}

// A block of another process's memory, for list view messages that carry a pointer.
class RemoteBlock {
public:
    RemoteBlock(HWND window, std::size_t bytes)
        : m_process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                  ownerProcess(window))) {
        if (m_process)
            m_at = ::VirtualAllocEx(m_process.get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE,
                                    PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (m_at) ::VirtualFreeEx(m_process.get(), m_at, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    explicit operator bool() const { return m_at != nullptr; }
    void* at(std::size_t offset = 0) const { return static_cast<char*>(m_at) + offset; }
    bool write(const void* data, std::size_t bytes, std::size_t offset = 0) const {
        return ::WriteProcessMemory(m_process.get(), at(offset), data, bytes, nullptr) != 0;
    }
    bool read(void* data, std::size_t bytes, std::size_t offset = 0) const {
        return ::ReadProcessMemory(m_process.get(), at(offset), data, bytes, nullptr) != 0;
    }

private:
    UniqueHandle m_process;
    void* m_at = nullptr;
};

// The list view's rows: "[x]" or "[ ]" for the tick, then each column's text, tab-separated.
int listRows(HWND list) {
    constexpr std::size_t kText = 512;
    RemoteBlock block(list, sizeof(LVITEMW) + kText * sizeof(wchar_t));
    if (!block) return 1;
    DWORD_PTR rows = 0;
    if (!::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &rows))
        return 1;
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns =
        header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    for (int row = 0; row < static_cast<int>(rows); ++row) {
        const LRESULT state =
            ::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
        std::wstring line = ((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? L"[x]" : L"[ ]";
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = static_cast<wchar_t*>(block.at(sizeof(LVITEMW)));
            item.cchTextMax = static_cast<int>(kText);
            wchar_t text[kText] = {};
            if (!block.write(&item, sizeof(item)) ||
                ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                               reinterpret_cast<LPARAM>(block.at())) < 0 ||
                !block.read(text, sizeof(text) - sizeof(wchar_t), sizeof(LVITEMW)))
                return 1;
            line += L"\t";
            line += text;
        }
        std::wprintf(L"%ls\n", line.c_str());
    }
    return 0;
}

// Sets a row's state as a click would: its tick (state image 1 or 2), or its selection.
int setListState(HWND list, int row, UINT state, UINT mask) {
    RemoteBlock block(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    if (!block || !block.write(&item, sizeof(item))) return 1;
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                                 reinterpret_cast<LPARAM>(block.at()), SMTO_ABORTIFHUNG, 5000,
                                 &ignored)
               ? 0
               : 1;
}

int usage() {
    std::fwprintf(stderr,
                  L"usage: purgeon_probe COMMAND ...\n"
                  L"  wait-window CLASS CAPTION|* MS   a visible top-level window appears\n"
                  L"  wait-exists CLASS MS             a window exists, visible or not\n"
                  L"  wait-gone CLASS MS               no visible window of the class is left\n"
                  L"  visible-of CLASS                 visible windows of that window's process\n"
                  L"  texts CLASS CAPTION|*            texts of a window's children\n"
                  L"  press CLASS CAPTION|* ID         clicks a child button by identifier\n"
                  L"  show CLASS                       shows a (hidden) window\n"
                  L"  tab CLASS INDEX                  selects a tab as the keyboard would\n"
                  L"  freeze CLASS | thaw CLASS        suspends or resumes the owner process\n"
                  L"  kill CLASS                       ends the owner process\n"
                  L"  fill-cache PREFIX COUNT [TYPE]   commits COUNT entries named PREFIX<n>\n"
                  L"  drop-cache PREFIX COUNT          deletes them again\n"
                  L"  cache-has NAME                   the URL cache holds an entry of that name\n"
                  L"  click-id CLASS ID                clicks the button with that identifier\n"
                  L"  text-id CLASS ID                 prints a control's text\n"
                  L"  watch-id CLASS ID MS             prints each new text of a control until\n"
                  L"                                   its window goes or MS pass\n"
                  L"  tray-icon                        prints the centre of the first tray icon\n"
                  L"  count-id CLASS ID                prints the number of rows of a list view\n"
                  L"  set-text CLASS ID TEXT           types a text into a control\n"
                  L"  answers CLASS MS                 the window answers a message within MS\n"
                  L"  rect CLASS                       prints a window's left top width height\n"
                  L"  rect-id CLASS ID                 prints a control's width and height\n"
                  L"  size CLASS WIDTH HEIGHT          sizes a window's frame, as a drag would\n"
                  L"  maximize CLASS | restore CLASS   maximises a window or restores it\n"
                  L"  tab-of CLASS                     prints the selected tab's index\n"
                  L"  hold-lock PATH MS                holds a file open as a running browser\n"
                  L"                                   holds its profile lock, for MS\n"
                  L"  list-rows CLASS ID               prints a list view's rows: tick, texts\n"
                  L"  list-tick CLASS ID ROW 0|1       unticks or ticks a list view's row\n"
                  L"  list-select CLASS ID ROW         scrolls to and selects a list view's row\n"
                  L"  row-text CLASS ID ROW COLUMN     prints a list view cell's text\n"
                  L"  select-rows CLASS ID ROW...      selects exactly those rows of a list view\n"
                  L"  column-widths CLASS ID           prints a list view's column widths\n"
                  L"  set-column-width CLASS ID COLUMN WIDTH\n"
                  L"                                   sizes a column, as a drag would\n"
                  L"  header-click CLASS ID COLUMN     clicks a list view's column header\n"
                  L"  fill-screen CLASS                puts a window over the whole work area, as\n"
                  L"                                   a window manager shows it maximised\n");
    return 2;
}

// A buffer in the process that owns a window, for list messages that carry a pointer.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, std::size_t size)
        : m_process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                  ownerProcess(window))) {
        if (m_process)
            m_address = ::VirtualAllocEx(m_process.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                         PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (m_address != nullptr) ::VirtualFreeEx(m_process.get(), m_address, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return m_address != nullptr; }
    char* at(std::size_t offset) const { return static_cast<char*>(m_address) + offset; }
    bool write(const void* data, std::size_t size, std::size_t offset = 0) const {
        return ::WriteProcessMemory(m_process.get(), at(offset), data, size, nullptr) != FALSE;
    }
    bool read(void* data, std::size_t size, std::size_t offset = 0) const {
        return ::ReadProcessMemory(m_process.get(), at(offset), data, size, nullptr) != FALSE;
    }

private:
    UniqueHandle m_process;
    void* m_address = nullptr;
};

// Sends a message, giving up on a window that does not answer within five seconds.
bool sendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
    return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                                 &result) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return usage();
    const std::wstring command = argv[1];
    if (argc < 3 && command != L"tray-icon") return usage();
    const std::wstring cls = argc > 2 ? argv[2] : L"";
    auto arg = [&](int i) { return i < argc ? std::wstring(argv[i]) : std::wstring(); };
    auto number = [&](int i) { return i < argc ? std::wcstol(argv[i], nullptr, 10) : 0L; };

    if (command == L"hold-lock") {
        // Chromium's lock: written by the holder, shared for reading only, gone when closed.
        purgeon::win32::UniqueFile lock(::CreateFileW(cls.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                      FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                                      FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (!lock) return 1;
        ::Sleep(static_cast<DWORD>(number(3)));
        return 0;
    }
    if (command == L"hold-file") {
        // Another program's file in use: open for writing, shared for reading only. The marker
        // (argument 4) appears once the file is held, so a test waits for it, not for a while.
        purgeon::win32::UniqueFile held(::CreateFileW(cls.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!held) return 1;
        {
            purgeon::win32::UniqueFile marker(::CreateFileW(arg(4).c_str(), GENERIC_WRITE, 0,
                                                            nullptr, CREATE_ALWAYS,
                                                            FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!marker) return 1;
        }
        ::Sleep(static_cast<DWORD>(number(3)));
        held.reset();
        ::DeleteFileW(arg(4).c_str());
        return 0;
    }
    if (command == L"wait-window") {
        const std::wstring caption = arg(3);
        return waitFor(number(4), [&] { return findTop(cls, caption, true) != nullptr; }) ? 0 : 1;
    }
    if (command == L"wait-exists")
        return waitFor(number(3), [&] { return findTop(cls, L"*", false) != nullptr; }) ? 0 : 1;
    if (command == L"wait-gone")
        return waitFor(number(3), [&] { return findTop(cls, L"*", true) == nullptr; }) ? 0 : 1;

    if (command == L"cache-has") {
        DWORD size = 0;
        ::GetUrlCacheEntryInfoW(cls.c_str(), nullptr, &size);
        return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER ? 0 : 1;
    }
    if (command == L"tray-icon") {
        HWND tray = findTop(L"__winex11_standalone_tray", L"*", true);
        if (!tray) return 1;
        for (HWND icon : children(tray)) {
            RECT rect{};
            ::GetWindowRect(icon, &rect);
            std::wprintf(L"%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
            return 0;
        }
        return 1;
    }
    if (command == L"fill-cache" || command == L"drop-cache") {
        const std::wstring prefix = cls;
        const DWORD type =
            argc > 4 ? static_cast<DWORD>(std::wcstoul(argv[4], nullptr, 0)) : NORMAL_CACHE_ENTRY;
        for (long i = 0; i < number(3); ++i) {
            const std::wstring url = prefix + std::to_wstring(i);
            if (command == L"drop-cache") {
                ::DeleteUrlCacheEntryW(url.c_str());
                continue;
            }
            if (!commitCacheEntry(url, type)) return 1;
        }
        return 0;
    }

    if (command == L"watch-id") {
        // Polls without messaging the program, so every text that stands for a moment is seen.
        const int id = static_cast<int>(number(3));
        std::wstring last;
        const bool gone = waitFor(
            number(4),
            [&] {
                HWND window = findTop(cls, L"*", true);
                if (!window) return true;
                for (HWND child : children(window)) {
                    if (::GetDlgCtrlID(child) != id) continue;
                    std::wstring text = windowText(child);
                    if (text != last) {
                        std::wprintf(L"%ls\n", text.c_str());
                        std::fflush(stdout);
                        last = text;
                    }
                }
                return false;
            },
            1);
        return gone ? 0 : 1;
    }

    // press and texts name a box by caption as well; the rest take any window of the class.
    const bool byCaption = command == L"press" || command == L"texts";
    HWND target = findTop(cls, byCaption ? arg(3) : L"*", byCaption);
    if (!target) {
        std::fwprintf(stderr, L"no window of class %ls\n", cls.c_str());
        return 1;
    }

    if (command == L"visible-of") {
        const DWORD pid = ownerProcess(target);
        for (HWND hwnd : topWindows()) {
            if (ownerProcess(hwnd) == pid && ::IsWindowVisible(hwnd))
                std::wprintf(L"%ls\t%ls\n", className(hwnd).c_str(), windowText(hwnd).c_str());
        }
        return 0;
    }
    if (command == L"texts") {
        for (HWND child : children(target)) {
            std::wstring text = windowText(child);
            if (!text.empty()) std::wprintf(L"%ls\n", text.c_str());
        }
        return 0;
    }
    if (command == L"press") {
        HWND button = ::GetDlgItem(target, static_cast<int>(number(4)));
        if (!button) return 1;
        ::PostMessageW(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == L"click-id" || command == L"text-id" || command == L"count-id" ||
        command == L"set-text") {
        HWND control = descendant(target, static_cast<int>(number(3)));
        if (!control) return 1;
        DWORD_PTR result = 0;
        if (command == L"count-id") {
            if (!::SendMessageTimeoutW(control, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                       &result))
                return 1;
            std::wprintf(L"%lu\n", static_cast<unsigned long>(result));
            return 0;
        }
        if (command == L"set-text") {
            const std::wstring text = arg(4);
            return ::SendMessageTimeoutW(control, WM_SETTEXT, 0,
                                         reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                                         5000, &result)
                       ? 0
                       : 1;
        }
        if (command == L"text-id") {
            // Edit controls keep their own text: ask them, unless the program is frozen.
            wchar_t buffer[1024] = {};
            DWORD_PTR copied = 0;
            const bool asked =
                ::SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer),
                                      SMTO_ABORTIFHUNG, 5000, &copied) != 0;
            std::wprintf(L"%ls\n", asked ? buffer : windowText(control).c_str());
        } else {
            ::PostMessageW(control, BM_CLICK, 0, 0);
        }
        return 0;
    }
    if (command == L"answers") {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                     static_cast<UINT>(number(3)), &ignored)
                   ? 0
                   : 1;
    }
    if (command == L"rect") {
        RECT r{};
        ::GetWindowRect(target, &r);
        std::wprintf(L"%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == L"rect-id") {
        HWND control = descendant(target, static_cast<int>(number(3)));
        if (!control) return 1;
        RECT r{};
        ::GetWindowRect(control, &r);
        std::wprintf(L"%ld %ld\n", r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == L"size") {
        // The window's own limits (its smallest size) apply, as they do to a drag of its border.
        return ::SetWindowPos(target, nullptr, 0, 0, static_cast<int>(number(3)),
                              static_cast<int>(number(4)), SWP_NOMOVE | SWP_NOZORDER)
                   ? 0
                   : 1;
    }
    if (command == L"maximize" || command == L"restore") {
        ::ShowWindow(target, command == L"maximize" ? SW_MAXIMIZE : SW_RESTORE);
        return 0;
    }
    if (command == L"tab-of") {
        HWND tabs = ::FindWindowExW(target, nullptr, WC_TABCONTROLW, nullptr);
        if (!tabs) return 1;
        DWORD_PTR index = 0;
        if (!::SendMessageTimeoutW(tabs, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &index))
            return 1;
        std::wprintf(L"%ld\n", static_cast<long>(index));
        return 0;
    }
    if (command == L"show") {
        ::ShowWindow(target, SW_SHOW);
        ::SetForegroundWindow(target);
        return 0;
    }
    if (command == L"tab") {
        HWND tabs = ::FindWindowExW(target, nullptr, WC_TABCONTROLW, nullptr);
        if (!tabs) return 1;
        DWORD_PTR ignored = 0;
        // A click on the first tab header, then one step right per tab.
        ::SendMessageTimeoutW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 10), 0, 5000,
                              &ignored);
        ::SendMessageTimeoutW(tabs, WM_LBUTTONUP, 0, MAKELPARAM(12, 10), 0, 5000, &ignored);
        for (long i = 0; i < number(3); ++i)
            ::SendMessageTimeoutW(tabs, WM_KEYDOWN, VK_RIGHT, 0, 0, 5000, &ignored);
        return 0;
    }
    if (command == L"freeze" || command == L"thaw") {
        const bool freeze = command == L"freeze";
        forEachThread(ownerProcess(target), [&](HANDLE thread) {
            if (freeze) {
                ::SuspendThread(thread);
            } else {
                ::ResumeThread(thread);
            }
        });
        return 0;
    }
    if (command == L"kill") {
        UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, ownerProcess(target)));
        if (!process || !::TerminateProcess(process.get(), 0)) return 1;
        return 0;
    }
    if (command == L"list-rows" || command == L"list-tick" || command == L"list-select") {
        HWND list = descendant(target, static_cast<int>(number(3)));
        if (!list) return 1;
        if (command == L"list-rows") return listRows(list);
        const int row = static_cast<int>(number(4));
        if (command == L"list-select") {
            // Scrolled to, as a user would scroll to the row before choosing it.
            DWORD_PTR shown = 0;
            sendWithin(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE, shown);
            return setListState(list, row, LVIS_SELECTED | LVIS_FOCUSED,
                                LVIS_SELECTED | LVIS_FOCUSED);
        }
        return setListState(list, row, INDEXTOSTATEIMAGEMASK(number(5) != 0 ? 2 : 1),
                            LVIS_STATEIMAGEMASK);
    }
    if (command == L"fill-screen") {
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return ::SetWindowPos(target, nullptr, work.left, work.top, work.right - work.left,
                              work.bottom - work.top, SWP_NOZORDER)
                   ? 0
                   : 1;
    }
    if (command == L"row-text" || command == L"select-rows" || command == L"column-widths" ||
        command == L"set-column-width" || command == L"header-click") {
        HWND list = descendant(target, static_cast<int>(number(3)));
        if (!list) return 1;
        DWORD_PTR result = 0;
        if (command == L"column-widths" || command == L"header-click") {
            DWORD_PTR header = 0;
            if (!sendWithin(list, LVM_GETHEADER, 0, 0, header) ||
                !sendWithin(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, result))
                return 1;
            const long columns = static_cast<long>(result);
            std::vector<long> widths;
            for (long i = 0; i < columns; ++i) {
                if (!sendWithin(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0, result))
                    return 1;
                widths.push_back(static_cast<long>(result));
            }
            if (command == L"column-widths") {
                for (long i = 0; i < columns; ++i)
                    std::wprintf(L"%ls%ld", i > 0 ? L"," : L"", widths[static_cast<size_t>(i)]);
                std::wprintf(L"\n");
                return 0;
            }
            // The middle of the column's header, as a mouse click lands.
            const long column = number(4);
            if (column < 0 || column >= columns) return 1;
            long x = widths[static_cast<size_t>(column)] / 2;
            for (long i = 0; i < column; ++i) x += widths[static_cast<size_t>(i)];
            const HWND headerWindow = reinterpret_cast<HWND>(header);
            const LPARAM point = MAKELPARAM(x, 5);
            sendWithin(headerWindow, WM_LBUTTONDOWN, MK_LBUTTON, point, result);
            sendWithin(headerWindow, WM_LBUTTONUP, 0, point, result);
            return 0;
        }
        if (command == L"set-column-width")
            return sendWithin(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(number(4)),
                              MAKELPARAM(number(5), 0), result) &&
                           result
                       ? 0
                       : 1;
        constexpr std::size_t kTextChars = 1024;
        RemoteBuffer remote(list, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
        if (!remote) return 1;
        LVITEMW item{};
        if (command == L"row-text") {
            item.iSubItem = static_cast<int>(number(5));
            item.pszText = reinterpret_cast<wchar_t*>(remote.at(sizeof(LVITEMW)));
            item.cchTextMax = static_cast<int>(kTextChars);
            if (!remote.write(&item, sizeof item) ||
                !sendWithin(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(number(4)),
                            reinterpret_cast<LPARAM>(remote.at(0)), result))
                return 1;
            wchar_t text[kTextChars] = {};
            if (!remote.read(text, sizeof text - sizeof(wchar_t), sizeof(LVITEMW))) return 1;
            std::wprintf(L"%ls\n", text);
            return 0;
        }
        // select-rows: none, then each row named, the last one focused.
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = 0;
        if (!remote.write(&item, sizeof item) ||
            !sendWithin(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(remote.at(0)), result))
            return 1;
        for (int i = 4; i < argc; ++i) {
            item.state = LVIS_SELECTED | (i + 1 == argc ? LVIS_FOCUSED : 0);
            if (!remote.write(&item, sizeof item) ||
                !sendWithin(list, LVM_SETITEMSTATE, static_cast<WPARAM>(number(i)),
                            reinterpret_cast<LPARAM>(remote.at(0)), result))
                return 1;
        }
        return 0;
    }
    return usage();
}
