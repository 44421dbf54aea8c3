// What cleaning other applications' traces needs beyond files and the current user's settings:
// the places the rules' environment names stand for, the Windows version, whether the program has
// administrator rights, any registry key, and removing a folder once it is empty.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

namespace purgeon {

struct WindowsVersion {
    int major = 0;
    int minor = 0;
};

// One value of a registry key: its name as stored, its type (kRegSz, kRegBinary, ...) and data.
struct RegistryEntry {
    std::wstring name;
    std::uint32_t type = 0;
    std::vector<unsigned char> data;
};

class TraceSystem {
public:
    virtual ~TraceSystem() = default;
    // What an environment name of the rules ("localappdata", lower case, without the "%")
    // stands for: a folder, both program folders for "programfiles" and "commonprogramfiles",
    // the user's name for "username". Empty when the system names none.
    virtual std::vector<std::wstring> place(const std::wstring& name) = 0;
    virtual WindowsVersion windowsVersion() = 0;
    // Whether the program runs with administrator rights (elevated).
    virtual bool elevated() = 0;
    // Registry keys are written with a short root: "HKCU\Software\X", "HKLM", "HKCR", "HKU".
    // The 64-bit view is used, so "Wow6432Node" in a key means that node itself.
    virtual Status keyExists(const std::wstring& key, bool& exists) = 0;
    virtual Status valueExists(const std::wstring& key, const std::wstring& name, bool& exists) = 0;
    // The key's values with their data, or the names of the keys directly below it. A key that
    // is not there fails with kErrorFileNotFound.
    virtual Status listValues(const std::wstring& key, std::vector<RegistryEntry>& values) = 0;
    virtual Status listSubkeys(const std::wstring& key, std::vector<std::wstring>& names) = 0;
    // Deletes the key with everything below it; a key that is not there is success.
    virtual Status deleteKey(const std::wstring& key) = 0;
    // Deletes one value; a value or key that is not there is success.
    virtual Status deleteValue(const std::wstring& key, const std::wstring& name) = 0;
    // Removes an empty folder, or a folder link as itself; a folder that holds anything fails
    // with kErrorDirNotEmpty.
    virtual Status removeEmptyFolder(const std::wstring& path) = 0;
    // Writes a small file whole, making its folder when missing and putting the new content in
    // place of an old file's in one step: a failure leaves the old file as it was.
    virtual Status writeWholeFile(const std::wstring& path, const std::string& bytes) = 0;
};

}  // namespace purgeon
