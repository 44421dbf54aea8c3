// The real registry, settings store and file system over the Win32 API.
#pragma once

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

class Win32Registry : public Registry {
public:
    RegValue query(const std::wstring& subKey, const std::wstring& name) override;
    void setString(const std::wstring& subKey, const std::wstring& name,
                   const std::wstring& text) override;
    void deleteValue(const std::wstring& subKey, const std::wstring& name) override;
};

class Win32SystemErrors : public SystemErrors {
public:
    std::wstring text(long code) override;
};

// Settings live in the current user's hive, under Software\<application>\<section>, as REG_SZ
// values; the application title's surrounding blanks are left out of the key name.
class Win32SettingsStore : public SettingsStore {
public:
    explicit Win32SettingsStore(std::wstring root = L"Software") : m_root(std::move(root)) {}
    bool read(const std::wstring& application, const std::wstring& section, const std::wstring& key,
              std::wstring& text) override;
    void write(const std::wstring& application, const std::wstring& section,
               const std::wstring& key, const std::wstring& text) override;
    std::wstring keyPath(const std::wstring& application, const std::wstring& section) const;

private:
    std::wstring m_root;
};

class Win32FileSystem : public FileSystem {
public:
    bool listFolder(const std::wstring& folder,
                    const std::function<void(const DirEntry&)>& visit) override;
    Status openExclusive(const std::wstring& path, std::unique_ptr<ExclusiveFile>& file) override;
    Status resolveFolder(const std::wstring& path, std::wstring& finalPath) override;
    bool readFile(const std::wstring& path, std::string& bytes) override;
    long fileSize(const std::wstring& path, std::uint64_t& bytes) override;
    FileResult deleteFile(const std::wstring& path) override;
    FileResult setNormalAttributes(const std::wstring& path) override;
};

class Win32SystemFolders : public SystemFolders {
public:
    std::wstring tempPath() override;
    std::vector<KnownFolder> knownFolders() override;
    std::vector<std::wstring> systemTempFolders() override;
};

// A path the wide file functions accept at any length: "\\?\" in front of a long absolute path.
std::wstring extendedPath(const std::wstring& path);

// How a failed file operation's error code reads to the logic.
FileResult fileResultFromError(DWORD error);

}  // namespace purgeon::win32
