// In-memory registry, settings store and file system for the native tests.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <map>
#include <optional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/downloader.h"
#include "platform/files.h"
#include "platform/log_file.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "platform/system_errors.h"
#include "platform/system_folders.h"
#include "fakes/fake_platform.h"

namespace purgeon::fakes {

class FakeSettingsStore : public SettingsStore {
public:
    Status read(const std::wstring& application, const std::wstring& section,
                const std::wstring& key, std::wstring& text) override {
        if (refused.count(key)) return Status::error(refused[key]);
        auto found = values.find(application + L"|" + section + L"|" + key);
        if (found == values.end()) return Status::error(kErrorFileNotFound);
        text = found->second;
        return {};
    }
    Status write(const std::wstring& application, const std::wstring& section,
                 const std::wstring& key, const std::wstring& text) override {
        written.push_back(key + L"=" + text);
        if (refused.count(key)) return Status::error(refused[key]);
        values[application + L"|" + section + L"|" + key] = text;
        return {};
    }
    // Stores a value under the program's own application and section.
    void put(const std::wstring& key, const std::wstring& text) {
        values[std::wstring(L" Purgeon|Settings|") + key] = text;
    }
    std::map<std::wstring, std::wstring> values;  // "application|section|key" to text
    std::vector<std::wstring> written;            // "key=text", in order, refused ones too
    std::map<std::wstring, long> refused;         // key to the error reading or writing it gives
};

class FakeRegistry : public Registry {
public:
    Status query(const std::wstring& subKey, const std::wstring& name, RegValue& value) override {
        auto found = values.find({subKey, name});
        if (found == values.end())
            return Status::error(keys.count(subKey) ? kErrorFileNotFound : kErrorInvalidHandle);
        value = found->second;
        return {};
    }
    Status setString(const std::wstring& subKey, const std::wstring& name,
                     const std::wstring& text) override {
        log.push_back(L"set " + name + L"=" + text);
        if (!keys.count(subKey)) return Status::error(kErrorFileNotFound);  // not created
        values[{subKey, name}] = stringValue(text);
        return {};
    }
    Status deleteValue(const std::wstring& subKey, const std::wstring& name) override {
        log.push_back(L"delete " + name);
        values.erase({subKey, name});
        return {};
    }
    static RegValue stringValue(const std::wstring& text, std::uint32_t type = kRegSz,
                                bool withNul = true) {
        RegValue value;
        value.type = type;
        value.dataRead = true;
        for (wchar_t c : text) {
            value.data.push_back(static_cast<unsigned char>(c & 0xFF));
            value.data.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
        }
        if (withNul) value.data.insert(value.data.end(), {0, 0});
        return value;
    }
    bool hasValue(const std::wstring& subKey, const std::wstring& name) const {
        return values.count({subKey, name}) != 0;
    }
    std::wstring text(const std::wstring& subKey, const std::wstring& name) const {
        auto found = values.find({subKey, name});
        if (found == values.end()) return L"<none>";
        std::wstring result;
        for (size_t i = 0; i + 1 < found->second.data.size(); i += 2) {
            wchar_t c =
                static_cast<wchar_t>(found->second.data[i] | (found->second.data[i + 1] << 8));
            if (c == 0) break;
            result.push_back(c);
        }
        return result;
    }

    std::set<std::wstring> keys;  // keys that exist
    std::map<std::pair<std::wstring, std::wstring>, RegValue> values;
    std::vector<std::wstring> log;
};

class FakeSystemErrors : public SystemErrors {
public:
    std::wstring text(long code) override {
        return L"system text " + std::to_wstring(code) + L"\r\n";
    }
};

// A file system in memory: folders list their entries in a fixed order; every step can fail.
// Paths are compared as given (the fakes use one spelling throughout).
class FakeFileSystem : public FileSystem {
public:
    struct File {
        std::vector<unsigned char> content;
        std::uint32_t attributes = kAttrArchive;
        bool locked = false;      // held open by another program
        bool failWrites = false;  // the device refuses writes
        long failReads = 0;       // the error reading back gives
        // The read-back gives this byte flipped, or the file cut short here: the device did not
        // keep what was written.
        std::optional<std::size_t> flippedOnRead;
        std::optional<std::size_t> endsOnRead;
        bool failRemove = false;  // the name cannot be removed
        std::uint32_t links = 1;  // names that share the data
        std::wstring reachedAs;   // the final path when a link along the way leads elsewhere
        long failRename = 0;      // the error renaming it gives
    };

    Status listFolder(const std::wstring& folder,
                      const std::function<void(const DirEntry&)>& visit) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        listed.push_back(folder);
        if (listErrors.count(folder)) return Status::error(listErrors[folder]);
        auto found = folders.find(folder);
        if (found == folders.end()) return Status::error(kErrorPathNotFound);
        visit({L".", kAttrDirectory, 0});
        visit({L"..", kAttrDirectory, 0});
        for (const auto& [name, attributes] : found->second) {
            auto file = files.find(folder + name);
            if (attributes & kAttrDirectory) {
                visit({name, attributes, 0});
            } else if (file != files.end()) {
                visit({name, attributes, file->second.content.size()});
            }
        }
        return {};
    }
    Status openExclusive(const std::wstring& path, std::unique_ptr<ExclusiveFile>& file) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        log.push_back(L"open " + path);
        auto found = files.find(path);
        if (found == files.end()) return Status::error(kErrorFileNotFound);
        if (found->second.locked) return Status::error(kErrorSharingViolation);
        file = std::make_unique<Exclusive>(*this, path, found->second.content.size() < cachedBelow);
        return {};
    }
    Status resolveFolder(const std::wstring& path, std::wstring& finalPath) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        std::wstring resolved = path;
        for (const auto& [from, to] : aliases) {
            if (resolved.size() >= from.size() && resolved.compare(0, from.size(), from) == 0 &&
                (resolved.size() == from.size() || resolved[from.size()] == L'\\'))
                resolved = to + resolved.substr(from.size());
        }
        const std::wstring key = resolved.back() == L'\\' ? resolved : resolved + L"\\";
        if (!folders.count(key)) return Status::error(kErrorPathNotFound);
        finalPath = resolved;
        return {};
    }
    Status readFile(const std::wstring& path, std::string& bytes) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        ++reads;
        auto found = files.find(path);
        if (found == files.end()) return Status::error(kErrorFileNotFound);
        if (found->second.locked) return Status::error(kErrorSharingViolation);
        bytes.assign(found->second.content.begin(), found->second.content.end());
        return {};
    }
    Status readPart(const std::wstring& path, std::uint64_t offset, std::size_t most,
                    std::string& bytes) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        std::string whole;
        if (const Status read = readFile(path, whole); !read) return read;
        bytes = offset >= whole.size() ? std::string()
                                       : whole.substr(static_cast<std::size_t>(offset), most);
        return {};
    }
    Status fileSize(const std::wstring& path, std::uint64_t& bytes) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        auto found = files.find(path);
        if (found != files.end()) {
            bytes = found->second.content.size();
            return {};
        }
        if (folders.count(path + L"\\")) {  // a folder has no length of its own
            bytes = 0;
            return {};
        }
        return Status::error(sizeErrors.count(path) ? sizeErrors[path] : kErrorFileNotFound);
    }
    Status listStreams(const std::wstring& path,
                       const std::function<void(const StreamEntry&)>& visit) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        if (streamListError) return Status::error(streamListError);
        const std::wstring prefix = path + L":";
        for (const auto& [name, file] : files) {
            if (name.rfind(prefix, 0) == 0)
                visit({name.substr(prefix.size()), file.content.size()});
        }
        return {};
    }
    Status makeFile(const std::wstring& path) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        log.push_back(L"make " + path);
        if (files.count(path)) return Status::error(kErrorFileExists);
        const std::size_t slash = path.find_last_of(L'\\');
        if (!folders.count(path.substr(0, slash + 1))) return Status::error(kErrorPathNotFound);
        if (makeFileError) return Status::error(makeFileError);
        addFile(path.substr(0, slash + 1), path.substr(slash + 1));
        return {};
    }
    Status deleteFile(const std::wstring& path) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        log.push_back(L"delete " + path);
        auto found = files.find(path);
        if (found == files.end()) return Status::error(kErrorFileNotFound);
        if (found->second.locked) return Status::error(kErrorSharingViolation);
        if (found->second.attributes & kAttrReadOnly) return Status::error(kErrorAccessDenied);
        erase(path);
        return {};
    }
    Status setNormalAttributes(const std::wstring& path) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        log.push_back(L"normal " + path);
        auto found = files.find(path);
        if (found == files.end()) return Status::error(kErrorFileNotFound);
        found->second.attributes = 0;
        return {};
    }

    Status replaceFile(const std::wstring& path, const std::string& bytes,
                       const std::wstring& oldName) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        log.push_back(L"replace " + path);
        auto found = files.find(path);
        if (found == files.end()) return Status::error(kErrorFileNotFound);
        if (found->second.locked) return Status::error(kErrorSharingViolation);
        if (!oldName.empty()) {
            if (files.count(oldName)) return Status::error(kErrorAlreadyExists);
            files[oldName] = found->second;
        }
        files[path].content.assign(bytes.begin(), bytes.end());
        return {};
    }
    Status heldOpen(const std::wstring& path, bool& held) override {
        const std::lock_guard<std::recursive_mutex> state(m_state.mutex);
        auto found = files.find(path);
        held = found != files.end() && found->second.locked;
        return {};
    }

    // Adds a file (or, with kAttrDirectory, a folder) to a folder ending in "\", in listing order.
    void addFile(const std::wstring& folder, const std::wstring& name,
                 std::uint32_t attributes = kAttrArchive, std::vector<unsigned char> content = {}) {
        folders[folder].push_back({name, attributes});
        if (attributes & kAttrDirectory) {
            folders[folder + name + L"\\"];
        } else {
            File file;
            file.content = std::move(content);
            file.attributes = attributes;
            files[folder + name] = std::move(file);
        }
    }
    // Gives the file a named stream, "path:name".
    void addStream(const std::wstring& path, const std::wstring& name,
                   std::vector<unsigned char> content) {
        files[path + L":" + name].content = std::move(content);
    }
    std::vector<std::wstring> fileNames() const {
        std::vector<std::wstring> names;
        for (const auto& [path, file] : files) names.push_back(path);
        return names;
    }

    std::map<std::wstring, std::vector<std::pair<std::wstring, std::uint32_t>>> folders;
    std::map<std::wstring, File> files;
    std::map<std::wstring, long> sizeErrors;  // fileSize errors other than "not found"
    std::map<std::wstring, long> listErrors;  // folders that exist but cannot be listed
    // Spellings that resolve to another folder: short names, junctions, "\\?\" forms.
    std::map<std::wstring, std::wstring> aliases;
    std::vector<std::wstring> log;
    std::vector<std::wstring> listed;
    // Files read, whole or in part; the listing's readers count side by side.
    struct Count {
        std::atomic<std::size_t> value{0};
        Count() = default;
        Count(const Count& other) : value(other.value.load()) {}
        Count& operator=(const Count& other) {
            value = other.value.load();
            return *this;
        }
        void operator++() { ++value; }
    } reads;
    // At every flush: the file's length and what it holds.
    static constexpr int kMixed = -1;
    struct PassEnd {
        std::wstring path;
        std::size_t length;
        int byte;          // the value of every byte, or kMixed
        std::size_t hash;  // of the content, to tell passes of random data apart
    };
    std::vector<PassEnd> passEnds;
    std::vector<std::pair<std::uint64_t, std::size_t>> writes;  // every write: offset and bytes
    std::size_t ioUnit = 4096;  // the alignment every read and write must keep
    // Files shorter than this are held through the cache: any offset and length (0: none).
    std::size_t cachedBelow = 0;
    long streamListError = 0;  // what listStreams answers
    long makeFileError = 0;    // what makeFile answers for a name that is free
    // Folders (ending in '\\') whose files keep another alignment than ioUnit.
    std::map<std::wstring, std::size_t> ioUnitOfFolder;
    int ioUnitAsked = 0;  // how often a file was asked its alignment
    FakeRandomSource random;

private:
    // The engine works on several threads at once: one call at a time holds the disk. A copy of
    // the disk has a lock of its own.
    struct StateLock {
        std::recursive_mutex mutex;
        StateLock() = default;
        StateLock(const StateLock&) {}
        StateLock& operator=(const StateLock&) { return *this; }
    } m_state;

    // A file goes with its streams, and with its name from its folder's listing.
    void erase(const std::wstring& path) {
        files.erase(path);
        std::erase_if(files,
                      [&](const auto& file) { return file.first.rfind(path + L":", 0) == 0; });
        const std::size_t slash = path.find_last_of(L'\\');
        auto folder = folders.find(path.substr(0, slash + 1));
        if (folder != folders.end())
            std::erase_if(folder->second,
                          [&](const auto& entry) { return entry.first == path.substr(slash + 1); });
    }

    class Exclusive : public ExclusiveFile {
    public:
        Exclusive(FakeFileSystem& fs, std::wstring path, bool cached)
            : m_fs(fs), m_path(std::move(path)), m_cached(cached) {}
        Status facts(FileFacts& facts) override {
            const std::lock_guard<std::recursive_mutex> state(m_fs.m_state.mutex);
            const File& f = file();
            facts.attributes = f.attributes;
            facts.links = f.links;
            facts.length = f.content.size();
            facts.finalPath = f.reachedAs.empty() ? m_path : f.reachedAs;
            facts.cached = m_cached;
            return {};
        }
        std::size_t ioUnit() override {
            const std::lock_guard<std::recursive_mutex> state(m_fs.m_state.mutex);
            if (m_cached) return 1;
            ++m_fs.ioUnitAsked;
            return unit();
        }
        Status writeAt(std::uint64_t offset, const void* data, std::size_t bytes) override {
            const std::lock_guard<std::recursive_mutex> state(m_fs.m_state.mutex);
            File& f = file();
            if (!aligned(offset, data, bytes)) return Status::error(kErrorInvalidParameter);
            if (f.failWrites) return Status::error(kErrorWriteFault);
            m_fs.writes.push_back({offset, bytes});
            if (f.content.size() < offset + bytes) f.content.resize(offset + bytes);
            const auto* source = static_cast<const unsigned char*>(data);
            std::copy(source, source + bytes,
                      f.content.begin() + static_cast<std::ptrdiff_t>(offset));
            return {};
        }
        Status readAt(std::uint64_t offset, void* data, std::size_t bytes,
                      std::size_t& read) override {
            const std::lock_guard<std::recursive_mutex> state(m_fs.m_state.mutex);
            const File& f = file();
            if (!aligned(offset, data, bytes)) return Status::error(kErrorInvalidParameter);
            if (f.failReads) return Status::error(f.failReads);
            const std::size_t end = std::min(f.content.size(), f.endsOnRead.value_or(SIZE_MAX));
            read = offset < end ? std::min(bytes, end - static_cast<std::size_t>(offset)) : 0;
            auto* out = static_cast<unsigned char*>(data);
            std::copy_n(f.content.begin() + static_cast<std::ptrdiff_t>(offset), read, out);
            if (f.flippedOnRead && *f.flippedOnRead >= offset && *f.flippedOnRead < offset + read)
                out[*f.flippedOnRead - offset] ^= 0xFF;
            return {};
        }
        Status setLength(std::uint64_t length) override {
            const std::lock_guard<std::recursive_mutex> state(m_fs.m_state.mutex);
            file().content.resize(static_cast<std::size_t>(length));
            return {};
        }
        Status flush() override {
            const std::lock_guard<std::recursive_mutex> state(m_fs.m_state.mutex);
            const std::vector<unsigned char>& content = file().content;
            const std::string_view bytes(reinterpret_cast<const char*>(content.data()),
                                         content.size());
            // Every byte the same when the content equals itself moved by one.
            const bool uniform =
                !bytes.empty() && bytes.substr(1) == bytes.substr(0, bytes.size() - 1);
            m_fs.passEnds.push_back({m_path, content.size(), uniform ? content.front() : kMixed,
                                     std::hash<std::string_view>{}(bytes)});
            return {};
        }
        RandomSource& random() override { return m_fs.random; }
        Status clearAttributes() override {
            const std::lock_guard<std::recursive_mutex> state(m_fs.m_state.mutex);
            m_fs.log.push_back(L"normal " + m_path);
            file().attributes = 0;
            return {};
        }
        Status rename(const std::wstring& name) override {
            const std::lock_guard<std::recursive_mutex> state(m_fs.m_state.mutex);
            const std::size_t slash = m_path.find_last_of(L'\\');
            const std::wstring folder = m_path.substr(0, slash + 1);
            const std::wstring to = folder + name;
            m_fs.log.push_back(L"rename " + m_path + L" to " + name);
            if (file().failRename) return Status::error(file().failRename);
            if (m_fs.files.count(to)) return Status::error(kErrorAlreadyExists);
            auto node = m_fs.files.extract(m_path);
            node.key() = to;
            m_fs.files.insert(std::move(node));
            for (auto& entry : m_fs.folders[folder])
                if (entry.first == m_path.substr(slash + 1)) entry.first = name;
            m_path = to;
            return {};
        }
        Status remove() override {
            const std::lock_guard<std::recursive_mutex> state(m_fs.m_state.mutex);
            m_fs.log.push_back(L"delete " + m_path);
            const File& f = file();
            if (f.failRemove || (f.attributes & kAttrReadOnly))
                return Status::error(kErrorAccessDenied);
            m_fs.erase(m_path);
            m_removed = true;
            return {};
        }

    private:
        std::size_t unit() const {
            const auto folder = m_fs.ioUnitOfFolder.find(m_path.substr(0, m_path.rfind(L'\\') + 1));
            return folder == m_fs.ioUnitOfFolder.end() ? m_fs.ioUnit : folder->second;
        }
        bool aligned(std::uint64_t offset, const void* data, std::size_t bytes) const {
            if (m_cached) return true;
            const std::size_t unit = this->unit();
            return offset % unit == 0 && bytes % unit == 0 &&
                   reinterpret_cast<std::uintptr_t>(data) % unit == 0;
        }
        File& file() { return m_fs.files.at(m_path); }
        FakeFileSystem& m_fs;
        std::wstring m_path;
        bool m_cached;
        bool m_removed = false;
    };
    static constexpr long kErrorWriteFault = 29;
};

class FakeSystemFolders : public SystemFolders {
public:
    std::wstring tempPath() override {
        ++tempAsked;
        return temp;
    }
    std::vector<KnownFolder> knownFolders() override { return known; }
    std::vector<std::wstring> systemTempFolders() override {
        return {L"C:\\Users\\me\\AppData\\Local\\Temp", L"C:\\Windows\\Temp",
                L"C:\\Users\\me\\Temp"};
    }
    std::wstring temp = L"C:\\Users\\me\\AppData\\Local\\Temp\\";
    std::vector<KnownFolder> known = {
        {L"profile", L"C:\\Users\\me"},
        {L"Desktop", L"C:\\Users\\me\\Desktop"},
        {L"Documents", L"C:\\Users\\me\\Documents"},
        {L"Downloads", L"C:\\Users\\me\\Downloads"},
        {L"Roaming app data", L"C:\\Users\\me\\AppData\\Roaming"},
        {L"Local app data", L"C:\\Users\\me\\AppData\\Local"},
        {L"ProgramData", L"C:\\ProgramData"},
        {L"Program Files", L"C:\\Program Files"},
        {L"Program Files (x86)", L"C:\\Program Files (x86)"},
        {L"Windows", L"C:\\Windows"},
        {L"System", L"C:\\Windows\\System32"},
        {L"Public", L"C:\\Users\\Public"},
        {L"Users", L"C:\\Users"},
    };
    int tempAsked = 0;
};

// Publishes a file at the version file's address; nothing published fails as "not found".
class FakeDownloader : public Downloader {
public:
    Status download(const std::wstring& url, std::size_t maxBytes, unsigned timeoutSeconds,
                    std::string& bytes) override {
        urls.push_back(url);
        limits.push_back({maxBytes, timeoutSeconds});
        if (failure != 0) return Status::error(failure);
        if (!published) return Status::error(kErrorFileNotFound);
        if (published->size() > maxBytes) return Status::error(kErrorFileTooLarge);
        bytes = *published;
        return {};
    }
    std::optional<std::string> published;
    long failure = 0;  // a network failure instead of an answer
    std::vector<std::wstring> urls;
    std::vector<std::pair<std::size_t, unsigned>> limits;
};

// The log kept in memory, its lines without their dates.
class FakeLogFile : public LogFile {
public:
    Status append(const std::wstring& line) override {
        lines.push_back(line.size() > kDateWidth ? line.substr(kDateWidth) : line);
        return {};
    }
    std::wstring path() override { return L"C:\\Users\\me\\AppData\\Local\\Purgeon\\purgeon.log"; }
    bool contains(const std::wstring& part) const {
        return std::any_of(lines.begin(), lines.end(), [&](const std::wstring& line) {
            return line.find(part) != std::wstring::npos;
        });
    }
    std::vector<std::wstring> lines;

private:
    static constexpr size_t kDateWidth = 25;  // "2026-12-07 23:49:34 UTC  "
};

}  // namespace purgeon::fakes
