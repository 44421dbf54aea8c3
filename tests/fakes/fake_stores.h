// In-memory registry, settings store and file system for the native tests.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
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
    std::wstring text(long code) override { return L"system text " + std::to_wstring(code) + L"\r\n"; }
};

// A flat file system: folders hold files with attributes; deletions can be refused per file.
class FakeFileSystem : public FileSystem {
public:
    struct File {
        std::uint32_t attributes = kAttrArchive;
        bool locked = false;  // held open by another program without sharing
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

    // Adds a file to a folder (path ending in "\"), in listing order.
    void addFile(const std::wstring& folder, const std::wstring& name,
                 std::uint32_t attributes = kAttrArchive) {
        folders[folder].push_back({name, attributes});
        if (!(attributes & kAttrDirectory)) files[folder + name] = {attributes, false};
    }

    std::map<std::wstring, std::vector<std::pair<std::wstring, std::uint32_t>>> folders;
    std::map<std::wstring, File> files;
    std::vector<std::wstring> log;
    std::vector<std::wstring> listed;
};

}  // namespace purgeon::fakes
