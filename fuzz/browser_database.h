// A scratch folder for the targets that hand real database files to the browser code.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "browsers/utf8_text.h"

namespace purgeon::fuzz {

// A folder of its own below the temporary folder, emptied and removed when the run ends.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "purgeon-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // A sub-folder, made when missing and emptied, as a profile folder ending in "/".
    std::wstring emptyFolder(const std::string& name) const {
        const std::filesystem::path folder = m_path / name;
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        std::filesystem::create_directories(folder);
        return fromUtf8(folder.string() + "/");
    }

private:
    std::filesystem::path m_path;
};

inline void writeWholeFile(const std::wstring& path, std::string_view bytes) {
    std::ofstream out(toUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
}

}  // namespace purgeon::fuzz
