// In-memory registry, settings store and file system for the native tests.
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/network_time.h"
#include "platform/registry.h"

namespace purgeon::fakes {

class FakeSettingsStore : public SettingsStore {
public:
    bool read(const std::wstring& application, const std::wstring& section, const std::wstring& key,
              std::wstring& text) override {
        auto found = values.find(application + L"|" + section + L"|" + key);
        if (found == values.end()) return false;
        text = found->second;
        return true;
    }
    void write(const std::wstring& application, const std::wstring& section,
               const std::wstring& key, const std::wstring& text) override {
        values[application + L"|" + section + L"|" + key] = text;
        written.push_back(key + L"=" + text);
    }
    // Stores a value under the program's own application and section.
    void put(const std::wstring& key, const std::wstring& text) {
        values[std::wstring(L" Purgeon|Settings|") + key] = text;
    }
    std::map<std::wstring, std::wstring> values;  // "application|section|key" to text
    std::vector<std::wstring> written;            // "key=text", in order
};

class FakeRegistry : public Registry {
public:
    RegValue query(const std::wstring& subKey, const std::wstring& name) override {
        auto found = values.find({subKey, name});
        if (found == values.end()) {
            RegValue missing;
            missing.status = keys.count(subKey) ? kErrorFileNotFound : kErrorInvalidHandle;
            return missing;
        }
        return found->second;
    }
    void setString(const std::wstring& subKey, const std::wstring& name,
                   const std::wstring& text) override {
        log.push_back(L"set " + name + L"=" + text);
        if (!keys.count(subKey)) return;  // a key that cannot be opened is left alone
        values[{subKey, name}] = stringValue(text);
    }
    void deleteValue(const std::wstring& subKey, const std::wstring& name) override {
        log.push_back(L"delete " + name);
        values.erase({subKey, name});
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
class FakeFileSystem : public FileSystem {
public:
    struct File {
        std::vector<unsigned char> content;
        std::uint32_t attributes = kAttrArchive;
        bool locked = false;      // held open by another program without sharing
        bool failWrites = false;  // the device refuses writes
    };

    bool listFolder(const std::wstring& folder,
                    const std::function<void(const DirEntry&)>& visit) override {
        listed.push_back(folder);
        auto found = folders.find(folder);
        if (found == folders.end()) return false;
        visit({L".", kAttrDirectory});
        visit({L"..", kAttrDirectory});
        for (const auto& [name, attributes] : found->second) {
            if ((attributes & kAttrDirectory) || files.count(folder + name))
                visit({name, attributes});
        }
        return true;
    }
    std::unique_ptr<WritableFile> openForOverwrite(const std::wstring& path) override {
        log.push_back(L"open " + path);
        auto found = files.find(path);
        if (found == files.end()) {
            const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
            if (!folders.count(folder)) return nullptr;
            addFile(folder, path.substr(folder.size()));
            found = files.find(path);
        }
        if (found->second.locked || (found->second.attributes & kAttrReadOnly)) return nullptr;
        return std::make_unique<Writable>(*this, path);
    }
    bool attributes(const std::wstring& path, std::uint32_t& attributes) override {
        auto found = files.find(path);
        if (found == files.end()) return false;
        attributes = found->second.attributes;
        return true;
    }
    FileResult setAttributes(const std::wstring& path, std::uint32_t attributes) override {
        log.push_back(L"attributes " + path + L"=" + std::to_wstring(attributes));
        auto found = files.find(path);
        if (found == files.end()) return FileResult::notFound;
        found->second.attributes = attributes;
        return FileResult::ok;
    }
    bool readFile(const std::wstring& path, std::string& bytes) override {
        auto found = files.find(path);
        if (found == files.end() || found->second.locked) return false;
        bytes.assign(found->second.content.begin(), found->second.content.end());
        return true;
    }
    long fileSize(const std::wstring& path, std::uint64_t& bytes) override {
        auto found = files.find(path);
        if (found != files.end()) {
            bytes = found->second.content.size();
            return 0;
        }
        return sizeErrors.count(path) ? sizeErrors[path] : 2;
    }
    FileResult deleteFile(const std::wstring& path) override {
        log.push_back(L"delete " + path);
        auto found = files.find(path);
        if (found == files.end()) return FileResult::notFound;
        if (found->second.locked) return FileResult::failed;
        if (found->second.attributes & kAttrReadOnly) return FileResult::accessDenied;
        files.erase(found);
        return FileResult::ok;
    }
    FileResult setNormalAttributes(const std::wstring& path) override {
        log.push_back(L"normal " + path);
        auto found = files.find(path);
        if (found == files.end()) return FileResult::notFound;
        found->second.attributes = 0;
        return FileResult::ok;
    }

    // Adds a file (or, with kAttrDirectory, a folder) to a folder ending in "\", in listing order.
    void addFile(const std::wstring& folder, const std::wstring& name,
                 std::uint32_t attributes = kAttrArchive, std::vector<unsigned char> content = {}) {
        folders[folder].push_back({name, attributes});
        if (attributes & kAttrDirectory) {
            folders[folder + name + L"\\"];
        } else {
            files[folder + name] = {std::move(content), attributes, false, false};
        }
    }
    std::vector<std::wstring> fileNames() const {
        std::vector<std::wstring> names;
        for (const auto& [path, file] : files) names.push_back(path);
        return names;
    }

    std::map<std::wstring, std::vector<std::pair<std::wstring, std::uint32_t>>> folders;
    std::map<std::wstring, File> files;
    std::map<std::wstring, long> sizeErrors;  // fileSize errors other than "not found"
    std::vector<std::wstring> log;
    std::vector<std::wstring> listed;
    // At every flush: the file's length and whether every byte of it is 0x01.
    struct PassEnd {
        std::wstring path;
        std::size_t length;
        bool allOnes;
        bool operator==(const PassEnd&) const = default;
    };
    std::vector<PassEnd> passEnds;

private:
    class Writable : public WritableFile {
    public:
        Writable(FakeFileSystem& fs, std::wstring path) : m_fs(fs), m_path(std::move(path)) {}
        bool length(std::uint64_t& bytes) override {
            bytes = file().content.size();
            return true;
        }
        bool writeAt(std::uint64_t offset, const void* data, std::size_t bytes) override {
            File& f = file();
            if (f.failWrites) return false;
            if (f.content.size() < offset + bytes) f.content.resize(offset + bytes);
            const auto* source = static_cast<const unsigned char*>(data);
            std::copy(source, source + bytes,
                      f.content.begin() + static_cast<std::ptrdiff_t>(offset));
            return true;
        }
        bool flush() override {
            const File& f = file();
            m_fs.passEnds.push_back({m_path, f.content.size(),
                                     std::all_of(f.content.begin(), f.content.end(),
                                                 [](unsigned char b) { return b == 0x01; })});
            return true;
        }

    private:
        File& file() { return m_fs.files.at(m_path); }
        FakeFileSystem& m_fs;
        std::wstring m_path;
    };
};

class FakeSystemFolders : public SystemFolders {
public:
    std::wstring tempPath() override {
        ++tempAsked;
        return temp;
    }
    std::wstring profileFolder() override { return profile; }
    std::wstring windowsFolder() override { return windows; }
    std::wstring temp = L"C:\\Users\\me\\AppData\\Local\\Temp\\";
    std::wstring profile = L"C:\\Users\\me";
    std::wstring windows = L"C:\\Windows";
    int tempAsked = 0;
};

// Publishes a file by writing it where the download goes; nothing published fails the download.
class FakeDownloader : public Downloader {
public:
    explicit FakeDownloader(FakeFileSystem& files) : m_files(files) {}
    bool download(const std::wstring& url, const std::wstring& path) override {
        urls.push_back(url);
        if (!published) return false;
        const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
        m_files.addFile(folder, path.substr(folder.size()), kAttrArchive,
                        std::vector<unsigned char>(published->begin(), published->end()));
        return true;
    }
    std::optional<std::string> published;
    std::vector<std::wstring> urls;

private:
    FakeFileSystem& m_files;
};

}  // namespace purgeon::fakes
