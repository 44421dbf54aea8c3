// The registry as sets of keys and values, the rules' places as a table, and folder removal over
// the fake file system.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_stores.h"
#include "platform/trace_system.h"

namespace purgeon::fakes {

class FakeTraceSystem : public TraceSystem {
public:
    explicit FakeTraceSystem(FakeFileSystem& files) : m_files(files) {}

    std::vector<std::wstring> place(const std::wstring& name) override {
        auto found = places.find(name);
        return found == places.end() ? std::vector<std::wstring>{} : found->second;
    }
    WindowsVersion windowsVersion() override { return version; }
    bool elevated() override { return admin; }
    Status keyExists(const std::wstring& key, bool& exists) override {
        exists = keys.count(lower(key)) > 0;
        return {};
    }
    Status valueExists(const std::wstring& key, const std::wstring& name, bool& exists) override {
        exists = values.count({lower(key), lower(name)}) > 0;
        return {};
    }
    Status listValues(const std::wstring& key, std::vector<RegistryEntry>& found) override {
        found.clear();
        const std::wstring k = lower(key);
        if (!keys.count(k)) return Status::error(kErrorFileNotFound);
        if (k == unreadable) return Status::error(kErrorAccessDenied);
        for (const auto& [valueKey, name] : values) {
            if (valueKey != k) continue;
            auto stored = data.find({valueKey, name});
            found.push_back(stored == data.end() ? RegistryEntry{name, 1, {}} : stored->second);
        }
        return {};
    }
    Status listSubkeys(const std::wstring& key, std::vector<std::wstring>& names) override {
        names.clear();
        const std::wstring k = lower(key) + L"\\";
        if (!keys.count(lower(key))) return Status::error(kErrorFileNotFound);
        for (const std::wstring& below : keys)
            if (below.rfind(k, 0) == 0 && below.find(L'\\', k.size()) == std::wstring::npos)
                names.push_back(below.substr(k.size()));
        return {};
    }
    Status deleteKey(const std::wstring& key) override {
        log.push_back(L"delete key " + key);
        const std::wstring gone = lower(key);
        auto below = [&](const std::wstring& k) {
            return k == gone || k.rfind(gone + L"\\", 0) == 0;
        };
        std::erase_if(keys, below);
        std::erase_if(values, [&](const auto& value) { return below(value.first); });
        std::erase_if(data, [&](const auto& value) { return below(value.first.first); });
        return {};
    }
    Status deleteValue(const std::wstring& key, const std::wstring& name) override {
        log.push_back(L"delete value " + key + L"|" + name);
        values.erase({lower(key), lower(name)});
        data.erase({lower(key), lower(name)});
        return {};
    }
    Status removeEmptyFolder(const std::wstring& path) override {
        log.push_back(L"remove folder " + path);
        auto found = m_files.folders.find(path + L"\\");
        if (found == m_files.folders.end()) return Status::error(kErrorPathNotFound);
        // The listing keeps the names of removed files: only what is still there counts.
        for (const auto& [name, attributes] : found->second) {
            const std::wstring inside = path + L"\\" + name;
            if (m_files.files.count(inside) || m_files.folders.count(inside + L"\\"))
                return Status::error(kErrorDirNotEmpty);
        }
        m_files.folders.erase(found);
        const std::size_t slash = path.find_last_of(L'\\');
        auto& parent = m_files.folders[path.substr(0, slash + 1)];
        std::erase_if(parent,
                      [&](const auto& item) { return item.first == path.substr(slash + 1); });
        return {};
    }

    Status writeWholeFile(const std::wstring& path, const std::string& bytes) override {
        log.push_back(L"write " + path);
        if (writeError) return Status::error(writeError);
        const std::size_t slash = path.find_last_of(L'\\');
        const std::wstring folder = path.substr(0, slash + 1);
        if (!m_files.folders.count(folder)) {
            const std::size_t up = folder.find_last_of(L'\\', folder.size() - 2);
            m_files.addFile(folder.substr(0, up + 1), folder.substr(up + 1, folder.size() - up - 2),
                            kAttrDirectory);
        }
        if (!m_files.files.count(path)) m_files.addFile(folder, path.substr(slash + 1));
        m_files.files[path].content.assign(bytes.begin(), bytes.end());
        return {};
    }
    long writeError = 0;  // what writing a file answers

    // Adds a key (lower-cased, short root), with its parents.
    void addKey(const std::wstring& key) {
        std::wstring k = lower(key);
        while (true) {
            keys.insert(k);
            const std::size_t slash = k.find_last_of(L'\\');
            if (slash == std::wstring::npos) break;
            k.resize(slash);
        }
    }
    void addValue(const std::wstring& key, const std::wstring& name) {
        addKey(key);
        values.insert({lower(key), lower(name)});
    }
    // A value with its name as written, its type and data.
    void addValue(const std::wstring& key, const std::wstring& name, std::uint32_t type,
                  std::vector<unsigned char> bytes) {
        addValue(key, name);
        data[{lower(key), lower(name)}] = {name, type, std::move(bytes)};
    }
    // A REG_SZ value, with its terminating NUL, as the registry holds it.
    void addText(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
        std::vector<unsigned char> bytes;
        for (const wchar_t c : text + L'\0') {
            bytes.push_back(static_cast<unsigned char>(c & 0xFF));
            bytes.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
        }
        addValue(key, name, 1, std::move(bytes));
    }
    static std::wstring lower(std::wstring text) {
        for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
        return text;
    }

    std::map<std::wstring, std::vector<std::wstring>> places = {
        {L"localappdata", {L"C:\\Users\\me\\AppData\\Local"}},
        {L"appdata", {L"C:\\Users\\me\\AppData\\Roaming"}},
        {L"userprofile", {L"C:\\Users\\me"}},
        {L"programfiles", {L"C:\\Program Files", L"C:\\Program Files (x86)"}},
        {L"programdata", {L"C:\\ProgramData"}},
        {L"windir", {L"C:\\Windows"}},
        {L"systemdrive", {L"C:"}},
        {L"commonprogramfiles",
         {L"C:\\Program Files\\Common Files", L"C:\\Program Files (x86)\\Common Files"}},
        {L"public", {L"C:\\Users\\Public"}},
        {L"temp", {L"C:\\Users\\me\\AppData\\Local\\Temp"}},
        {L"locallowappdata", {L"C:\\Users\\me\\AppData\\LocalLow"}},
        {L"documents", {L"C:\\Users\\me\\Documents"}},
        {L"username", {L"me"}},
    };
    WindowsVersion version{10, 0};
    bool admin = true;
    std::wstring unreadable;      // a key (lower case) whose values cannot be listed
    std::set<std::wstring> keys;  // lower case
    std::set<std::pair<std::wstring, std::wstring>> values;  // key, name; lower case
    // The names as written, types and data of the values added with them.
    std::map<std::pair<std::wstring, std::wstring>, RegistryEntry> data;
    std::vector<std::wstring> log;

private:
    FakeFileSystem& m_files;
};

}  // namespace purgeon::fakes
