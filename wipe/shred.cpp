// The shredding engine: overwrite passes of 0x01 bytes in large writes, then removal.
#include "wipe/shred.h"

#include <algorithm>
#include <vector>

#include "wipe/remove_file.h"

namespace purgeon {

namespace {

// One buffer of 0x01 bytes serves every write, whatever the file's size.
constexpr std::size_t kWriteSize = 1 << 20;

const std::vector<unsigned char>& overwriteBuffer() {
    static const std::vector<unsigned char> buffer(kWriteSize, kShredByte);
    return buffer;
}

}  // namespace

void ShredFile(FileSystem& files, const std::wstring& path, int passes) {
    const std::vector<unsigned char>& buffer = overwriteBuffer();
    std::uint64_t blocks = 0;  // kept from the last pass whose length could be read
    for (int pass = 1; pass <= passes; ++pass) {
        if (pass == 1) {
            // A read-only file is overwritten as well, not merely deleted.
            std::uint32_t attributes = 0;
            if (files.attributes(path, attributes) && (attributes & kAttrReadOnly))
                files.setAttributes(path, attributes & ~kAttrReadOnly);
        }
        std::unique_ptr<WritableFile> file = files.openForOverwrite(path);
        if (!file) continue;
        std::uint64_t length = 0;
        if (file->length(length)) blocks = length / kShredBlock + 1;
        const std::uint64_t total = blocks * kShredBlock;
        for (std::uint64_t offset = 0; offset < total; offset += kWriteSize) {
            const std::uint64_t chunk = std::min<std::uint64_t>(kWriteSize, total - offset);
            file->writeAt(offset, buffer.data(), static_cast<std::size_t>(chunk));
        }
        file->flush();
    }
    RemoveFile(files, path);
}

}  // namespace purgeon
