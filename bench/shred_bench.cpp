// purgeon_bench: times the shredding engine and the temporary-folder clearing on real files.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

#include "areas/temp_folder.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/system_folders_win32.h"
#include "wipe/shred.h"

namespace {

// Clears the given folder as if it were the temporary folder; the guard sees the real system.
class BenchFolders : public purgeon::win32::Win32SystemFolders {
public:
    explicit BenchFolders(std::wstring folder) : m_folder(std::move(folder)) {}
    std::wstring tempPath() override { return m_folder; }

private:
    std::wstring m_folder;
};

void report(const char* what, double seconds) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("%s: %.3f s, peak working set %.1f MiB, peak private %.1f MiB\n", what, seconds,
                memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr,
                      L"usage: purgeon_bench shred FILE once|quick|dod | clear FOLDER [THREADS]\n");
        return 2;
    }
    const std::wstring mode = argv[1];
    purgeon::win32::Win32FileSystem files;
    const auto start = std::chrono::steady_clock::now();
    if (mode == L"shred" && argc == 4) {
        const std::wstring name = argv[3];
        purgeon::WipeMethod method = purgeon::WipeMethod::onePass;
        if (name == L"quick") {
            method = purgeon::WipeMethod::quick;
        } else if (name == L"dod") {
            method = purgeon::WipeMethod::dod;
        } else if (name != L"once") {
            return 2;
        }
        const purgeon::ShredResult result = purgeon::ShredFile(files, argv[2], {method, true, {}});
        if (result.outcome != purgeon::ShredOutcome::wiped) {
            std::fwprintf(stderr, L"not wiped: outcome %d, error %ld\n",
                          static_cast<int>(result.outcome), result.status.code);
        }
    } else if (mode == L"clear") {
        std::wstring folder = argv[2];
        if (folder.back() != L'\\') folder += L'\\';
        BenchFolders folders(folder);
        purgeon::FoundFileList found;
        // As the program clears: several files in flight at once, unless told otherwise.
        purgeon::TempClearingControl control;
        control.threads = argc > 3 ? static_cast<std::size_t>(std::wcstoul(argv[3], nullptr, 10))
                                   : purgeon::kFlushThreads;
        const purgeon::TempClearing clearing =
            purgeon::ClearTempFolder(files, folders, found, control);
        if (clearing.tally.notWiped() > 0) {
            std::fwprintf(stderr, L"not wiped: %ls\n", clearing.tally.notWipedDetails().c_str());
        }
    } else {
        return 2;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    report(mode == L"shred" ? "shred" : "clear", elapsed.count());
    return 0;
}
