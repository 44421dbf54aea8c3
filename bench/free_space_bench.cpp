// purgeon_free_space_bench: times a free-space wipe of a real volume, phase by phase.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>

#include "platform/win32/files_win32.h"
#include "platform/win32/volumes_win32.h"
#include "wipe/free_space.h"

namespace {

using Clock = std::chrono::steady_clock;

// The real volumes, noting when the fill's phases change: the first folder made once large
// files were written ends them and starts the folders for the file table's free records, the
// first small file starts the small ones, and the first large file closed (which removes it)
// starts the removal. With hold, the removal waits for a line on the standard input, so that the
// full volume can be looked at.
class TimedVolumes : public purgeon::win32::Win32Volumes {
public:
    explicit TimedVolumes(bool hold) : m_hold(hold) {}

    purgeon::Status createFillFile(const std::wstring& path, bool removeOnClose,
                                   std::unique_ptr<purgeon::FillFile>& file) override {
        if (!removeOnClose && !smallStarted) smallStarted = Clock::now();
        std::unique_ptr<purgeon::FillFile> made;
        const purgeon::Status created = Win32Volumes::createFillFile(path, removeOnClose, made);
        if (created) file = std::make_unique<Timed>(*this, std::move(made), removeOnClose);
        return created;
    }

    purgeon::Status makeFolder(const std::wstring& path) override {
        if (largeBytes > 0 && !recordsStarted) recordsStarted = Clock::now();
        return Win32Volumes::makeFolder(path);
    }

    std::optional<Clock::time_point> recordsStarted;
    std::optional<Clock::time_point> smallStarted;
    std::optional<Clock::time_point> removalStarted;
    std::optional<Clock::time_point> firstShort;  // the first large write the volume cut short
    Clock::duration largeFlushing{};              // spent waiting for large files' flushes
    std::uint64_t largeBytes = 0;
    std::uint64_t smallBytes = 0;

private:
    class Timed : public purgeon::FillFile {
    public:
        Timed(TimedVolumes& owner, std::unique_ptr<purgeon::FillFile> file, bool large)
            : m_owner(owner), m_file(std::move(file)), m_large(large) {}
        ~Timed() override {
            if (m_large && !m_owner.removalStarted) {
                if (m_owner.m_hold) {
                    std::printf("full\n");
                    std::fflush(stdout);
                    char line[16];
                    static_cast<void>(std::fgets(line, sizeof(line), stdin));
                }
                m_owner.removalStarted = Clock::now();
            }
        }
        purgeon::Status append(const void* data, std::size_t bytes, std::size_t& written) override {
            const purgeon::Status status = m_file->append(data, bytes, written);
            (m_large ? m_owner.largeBytes : m_owner.smallBytes) += written;
            if (m_large && (!status || written < bytes) && !m_owner.firstShort)
                m_owner.firstShort = Clock::now();
            return status;
        }
        purgeon::Status flush() override {
            const Clock::time_point from = Clock::now();
            const purgeon::Status status = m_file->flush();
            if (m_large && !m_owner.recordsStarted) m_owner.largeFlushing += Clock::now() - from;
            return status;
        }

    private:
        TimedVolumes& m_owner;
        std::unique_ptr<purgeon::FillFile> m_file;
        bool m_large;
    };

    bool m_hold;
};

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: purgeon_free_space_bench ROOT [hold] [FLUSH-MiB]\n");
        return 2;
    }
    const bool hold = argc > 2 && std::wstring(argv[2]) == L"hold";
    purgeon::win32::Win32FileSystem files;
    TimedVolumes volumes(hold);
    purgeon::FreeSpaceRequest request;
    if (argc > 3) {
        purgeon::VolumeSpace space;
        static_cast<void>(volumes.space(argv[1], space));
        purgeon::FillPlan plan = purgeon::planFill(space);
        plan.flushBytes = static_cast<std::uint64_t>(std::wcstoull(argv[3], nullptr, 10)) << 20;
        request.plan = plan;
    }
    const Clock::time_point start = Clock::now();
    const purgeon::FreeSpaceResult result =
        purgeon::WipeFreeSpace(files, volumes, argv[1], request);
    const Clock::time_point end = Clock::now();
    const Clock::time_point removalStart = volumes.removalStarted.value_or(end);
    const Clock::time_point smallStart = volumes.smallStarted.value_or(removalStart);
    const Clock::time_point recordsStart = volumes.recordsStarted.value_or(smallStart);
    std::printf("outcome: %d, status %ld, %zu large and %zu small files, %zu not removed\n",
                static_cast<int>(result.outcome), result.status.code, result.largeFiles,
                result.smallFiles, result.notRemoved);
    std::printf("large: %llu bytes in %.3f s\n",
                static_cast<unsigned long long>(volumes.largeBytes), seconds(start, recordsStart));
    std::printf("large tail: %.3f s from the first short write; flushes waited %.3f s\n",
                seconds(volumes.firstShort.value_or(recordsStart), recordsStart),
                std::chrono::duration<double>(volumes.largeFlushing).count());
    std::printf("records: %zu folders in %.3f s\n", result.recordFolders,
                seconds(recordsStart, smallStart));
    std::printf("small: %llu bytes in %.3f s\n",
                static_cast<unsigned long long>(volumes.smallBytes),
                seconds(smallStart, removalStart));
    std::printf("removal: %.3f s\n", hold ? 0.0 : seconds(removalStart, end));
    std::printf("total: %.3f s\n", hold ? 0.0 : seconds(start, end));
    return result.outcome == purgeon::FillOutcome::filled ? 0 : 1;
}
