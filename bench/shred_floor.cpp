// purgeon_shred_floor: the least the platform takes to do what a clean does to each file it
// removes: open it alone and unbuffered, overwrite its length once, flush it to the device and
// remove it through the same handle, on several threads, with no check, read-back or report.
// The clean is measured against this floor as well as against the same work done natively.
//
// Usage: purgeon_shred_floor THREADS ROOT LIST
//   LIST: UTF-8 paths below the Windows folder ROOT, one a line, '/' or '\' between parts.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr DWORD kUnit = 4096;
constexpr DWORD kLargestWrite = 1 << 20;

std::wstring wide(const std::string& text) {
    if (text.empty()) return {};
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                          length);
    return result;
}

// Overwrites, flushes and removes one file; false when any step failed.
bool shred(const std::wstring& path, unsigned char* buffer) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER length{};
    bool done = ::GetFileSizeEx(file, &length) != 0;
    const auto total = static_cast<ULONGLONG>(length.QuadPart);
    for (ULONGLONG offset = 0; done && offset < total; offset += kLargestWrite) {
        const auto piece = static_cast<DWORD>(std::min<ULONGLONG>(kLargestWrite, total - offset));
        const DWORD bytes = (piece + kUnit - 1) / kUnit * kUnit;
        // In turn from the handle's own pointer: an OVERLAPPED offset would cost Wine a round
        // trip to its server on each write.
        DWORD written = 0;
        done = ::WriteFile(file, buffer, bytes, &written, nullptr) && written == bytes;
    }
    done = done && ::FlushFileBuffers(file);
    FILE_DISPOSITION_INFO remove{};
    remove.DeleteFile = TRUE;
    done = ::SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof(remove)) && done;
    ::CloseHandle(file);
    return done;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: purgeon_shred_floor THREADS ROOT LIST\n");
        return 2;
    }
    const int threads = std::max(1, _wtoi(argv[1]));
    const std::wstring root = std::wstring(L"\\\\?\\") + argv[2] + L"\\";
    std::vector<std::wstring> files;
    std::ifstream list(argv[3]);
    for (std::string line; std::getline(list, line);) {
        if (line.empty()) continue;
        std::wstring path = root + wide(line);
        std::replace(path.begin(), path.end(), L'/', L'\\');
        files.push_back(std::move(path));
    }
    const auto start = std::chrono::steady_clock::now();
    std::atomic<std::size_t> next{0};
    std::atomic<unsigned long long> failed{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            auto* buffer = static_cast<unsigned char*>(_aligned_malloc(kLargestWrite, kUnit));
            for (DWORD i = 0; i < kLargestWrite; ++i)
                buffer[i] = static_cast<unsigned char>(i * 2654435761u >> 24);
            for (std::size_t i = next++; i < files.size(); i = next++)
                if (!shred(files[i], buffer)) ++failed;
            _aligned_free(buffer);
        });
    for (auto& worker : workers) worker.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("files=%zu failed=%llu threads=%d seconds=%.2f\n", files.size(), failed.load(),
                threads, seconds);
    return failed == 0 ? 0 : 1;
}
