// The fuzz targets without libFuzzer: each input file (or every file below each folder) given is
// passed to the target once, in name order. The native build runs the seed corpora this way with
// its own sanitizers, so the corpora are checked without the clang build.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

// The given file, or every file below the given folder in name order; false when the folder
// cannot be listed whole (a corpus read in part would pass on what it left out).
bool inputsBelow(const std::filesystem::path& given, std::vector<std::filesystem::path>& files) {
    std::error_code error;
    if (!std::filesystem::is_directory(given, error)) {
        files = {given};
        return true;
    }
    for (std::filesystem::recursive_directory_iterator entry(given, error), end;
         !error && entry != end; entry.increment(error))
        if (entry->is_regular_file()) files.push_back(entry->path());
    if (error) {
        std::fprintf(stderr, "cannot list %s: %s\n", given.c_str(), error.message().c_str());
        return false;
    }
    std::sort(files.begin(), files.end());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s INPUT-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> inputs;
        if (!inputsBelow(argv[i], inputs)) return 1;
        for (const auto& path : inputs) {
            std::ifstream file(path, std::ios::binary);
            if (!file) {
                std::fprintf(stderr, "cannot read %s\n", path.c_str());
                return 1;
            }
            const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                                  std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("%zu inputs replayed\n", replayed);
    return replayed == 0 ? 1 : 0;
}
