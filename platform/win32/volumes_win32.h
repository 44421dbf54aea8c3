// Volumes over the Win32 API: volume roots, drive types, free space and fill files.
#pragma once

#include "platform/volumes.h"
#include "platform/win32/random_source_win32.h"

namespace purgeon::win32 {

// Every path goes through extendedPath where the call takes one, so that long paths work too.
class Win32Volumes : public Volumes {
public:
    Status volumeRoot(const std::wstring& path, std::wstring& root) override;
    DriveKind driveKind(const std::wstring& root) override;
    Status space(const std::wstring& root, VolumeSpace& space) override;
    std::vector<std::wstring> driveRoots() override;
    Status makeFolder(const std::wstring& path) override;
    Status removeFolder(const std::wstring& path) override;
    Status flushVolume(const std::wstring& root) override;
    void awaitWriteBehind(const std::wstring& root, std::stop_token stop) override;
    Status createFillFile(const std::wstring& path, bool removeOnClose,
                          std::unique_ptr<FillFile>& file) override;
    RandomSource& random() override { return m_random; }

private:
    Win32RandomSource m_random;
};

}  // namespace purgeon::win32
