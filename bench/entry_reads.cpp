// purgeon_entry_reads: the least the platform takes to read what the Cache tab reads, the start of
// every file in the given folders, opened and closed one by one on several threads with nothing
// else done: the floor the listing is measured against.
//
// Usage: purgeon_entry_reads THREADS FOLDER...
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

// As much as the listing reads of most entries.
constexpr DWORD kHead = 4096;

std::vector<std::wstring> filesIn(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(L"\\\\?\\" + folder + L"\\" + found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return files;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: purgeon_entry_reads THREADS FOLDER...\n");
        return 2;
    }
    const int threads = std::max(1, _wtoi(argv[1]));
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::wstring> files;
    for (int i = 2; i < argc; ++i) {
        auto more = filesIn(argv[i]);
        files.insert(files.end(), more.begin(), more.end());
    }
    std::atomic<unsigned long long> bytes{0};
    std::atomic<unsigned long long> unread{0};
    std::vector<std::thread> readers;
    for (int reader = 0; reader < threads; ++reader)
        readers.emplace_back([&, reader] {
            std::vector<char> buffer(kHead);
            for (std::size_t i = reader; i < files.size(); i += threads) {
                HANDLE file = ::CreateFileW(files[i].c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
                if (file == INVALID_HANDLE_VALUE) {
                    ++unread;
                    continue;
                }
                // From the new handle's own pointer: an OVERLAPPED offset would cost Wine a
                // round trip to its server on each read.
                DWORD read = 0;
                if (::ReadFile(file, buffer.data(), kHead, &read, nullptr)) bytes += read;
                ::CloseHandle(file);
            }
        });
    for (auto& reader : readers) reader.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("files=%llu unread=%llu bytes=%llu threads=%d seconds=%.2f\n",
                static_cast<unsigned long long>(files.size()), unread.load(), bytes.load(), threads,
                seconds);
    return 0;
}
