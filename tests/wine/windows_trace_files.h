// The traces Windows keeps, written as Windows writes them: shortcuts saved by the shell's own
// link object, item ID lists from the shell, jump lists as compound files of shortcuts with their
// DestList, custom jump lists, thumbnail caches, prefetch files, dumps and error reports.
#pragma once

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "wine/test_folder.h"

namespace purgeon::wine {

using Bytes = std::vector<unsigned char>;

// The value in size bytes, little-endian; bytes past the eighth are zero.
inline void putLe(Bytes& out, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(i < 8 ? static_cast<unsigned char>(value >> (8 * i)) : 0);
}

inline void putText(Bytes& out, const std::wstring& text, bool nul = true) {
    for (const wchar_t c : text) putLe(out, static_cast<std::uint16_t>(c), 2);
    if (nul) putLe(out, 0, 2);
}

inline std::string asString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Text as a registry value holds it: UTF-16 and its NUL.
inline Bytes textBytes(const std::wstring& text) {
    Bytes out;
    putText(out, text);
    return out;
}

inline Bytes joined(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A value of the current user's key, made with the key when needed.
inline bool setUserValue(const std::wstring& key, const std::wstring& name, DWORD type,
                         const Bytes& data) {
    win32::UniqueHkey opened;
    return ::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             opened.put(), nullptr) == ERROR_SUCCESS &&
           ::RegSetValueExW(opened.get(), name.c_str(), 0, type, data.data(),
                            static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

// A shortcut to target saved at path by the shell's link object, as Explorer saves its own.
inline bool writeShortcut(const std::wstring& path, const std::wstring& target) {
    win32::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.put()))))
        return false;
    link.get()->SetPath(target.c_str());
    link.get()->SetDescription(L"Opened recently");
    win32::ComPtr<IPersistFile> file;
    if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))))
        return false;
    return SUCCEEDED(file.get()->Save(path.c_str(), TRUE));
}

// The shell's item ID list for an existing path, as the Open and Save lists and the folder
// views keep it: its items and the two-byte end.
inline Bytes itemList(const std::wstring& path) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(::SHParseDisplayName(path.c_str(), nullptr, &list, 0, nullptr))) return {};
    const win32::UniqueCoTaskMem owned(list);
    const auto* bytes = reinterpret_cast<const unsigned char*>(list);
    return Bytes(bytes, bytes + ::ILGetSize(list));
}

// An MRUListEx value: the entries' numbers, most recent first, and -1.
inline Bytes mruListEx(std::initializer_list<std::uint32_t> order) {
    Bytes out;
    for (const std::uint32_t entry : order) putLe(out, entry, 4);
    putLe(out, 0xFFFFFFFF, 4);
    return out;
}

// A jump list of automatic destinations: a compound file holding each shortcut as a stream named
// by its number in hexadecimal, and the DestList stream (version 4) that lists them.
inline bool writeAutomaticDestinations(const std::wstring& path,
                                       const std::vector<std::wstring>& targets,
                                       const std::vector<std::string>& shortcuts) {
    win32::ComPtr<IStorage> storage;
    if (FAILED(::StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                  0, storage.put())))
        return false;
    auto stream = [&](const std::wstring& name, const Bytes& data) {
        win32::ComPtr<IStream> created;
        ULONG written = 0;
        return SUCCEEDED(storage.get()->CreateStream(
                   name.c_str(), STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                   created.put())) &&
               SUCCEEDED(
                   created.get()->Write(data.data(), static_cast<ULONG>(data.size()), &written)) &&
               written == data.size();
    };
    Bytes list;
    putLe(list, 4, 4);               // version
    putLe(list, targets.size(), 4);  // entries
    putLe(list, 0, 4);               // pinned
    putLe(list, 0x3F800000, 4);      // 1.0f
    putLe(list, targets.size(), 4);  // the last entry's number
    putLe(list, 0, 4);
    putLe(list, 7, 4);  // revision
    putLe(list, 0, 4);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::uint32_t number = static_cast<std::uint32_t>(i + 1);
        if (!stream(std::to_wstring(number), Bytes(shortcuts[i].begin(), shortcuts[i].end())))
            return false;
        putLe(list, 0x5EED5EED5EED0000 + number, 8);                        // checksum
        for (int id = 0; id < 4; ++id) putLe(list, 0x1111 * (id + 1), 16);  // droids
        putText(list, L"PURGEON-PC", false);
        list.resize(list.size() + 12, 0);  // the host name's 16 bytes
        putLe(list, number, 4);            // entry number
        putLe(list, 0, 4);
        putLe(list, 0x40000000, 4);          // 2.0f: access weight
        putLe(list, 0x01DA000000000000, 8);  // last access
        putLe(list, 0xFFFFFFFF, 4);          // not pinned
        putLe(list, 0xFFFFFFFF, 4);
        putLe(list, 3, 4);  // access count
        putLe(list, 0, 8);
        putLe(list, targets[i].size(), 2);
        putText(list, targets[i], false);
        putLe(list, 0, 4);
    }
    return stream(L"DestList", list);
}

// A jump list of custom destinations: one category of tasks, each a shortcut behind the link
// object's class identifier, and the file's end mark.
inline std::string customDestinations(const std::vector<std::string>& shortcuts) {
    static const unsigned char kShellLinkClass[16] = {0x01, 0x14, 0x02, 0x00, 0, 0, 0, 0,
                                                      0xC0, 0,    0,    0,    0, 0, 0, 0x46};
    Bytes out;
    putLe(out, 2, 4);  // version
    putLe(out, 1, 4);  // categories
    putLe(out, 0, 4);
    putLe(out, 2, 4);  // a category of tasks
    putLe(out, shortcuts.size(), 4);
    for (const std::string& shortcut : shortcuts) {
        out.insert(out.end(), kShellLinkClass, kShellLinkClass + 16);
        out.insert(out.end(), shortcut.begin(), shortcut.end());
    }
    putLe(out, 0xBABFFBAB, 4);
    return asString(out);
}

// A thumbnail cache of Windows 10 with one thumbnail: the file header, then an entry holding a
// small bitmap.
inline std::string thumbnailCache(std::uint32_t kind) {
    Bytes image = {'B', 'M'};
    image.resize(70, 0x5A);
    Bytes out = {'C', 'M', 'M', 'M'};
    putLe(out, 0x20, 4);                         // version
    putLe(out, kind, 4);                         // 0: 16 pixels, 1: 32, ...
    putLe(out, 24, 4);                           // the first entry
    putLe(out, 24 + 56 + 32 + image.size(), 4);  // the first free place
    putLe(out, 1, 4);
    const std::wstring id = L"4ac3b9c1e0d7fa88";
    out.insert(out.end(), {'C', 'M', 'M', 'M'});
    putLe(out, 56 + id.size() * 2 + image.size(), 4);
    putLe(out, 0x4AC3B9C1E0D7FA88, 8);  // the entry's hash
    putLe(out, id.size() * 2, 4);
    putLe(out, 0, 4);             // padding
    putLe(out, image.size(), 4);  // data
    putLe(out, 32, 4);            // width
    putLe(out, 32, 4);            // height
    putLe(out, 0, 4);
    putLe(out, 0x1234, 8);  // data checksum
    putLe(out, 0x5678, 8);  // header checksum
    putText(out, id, false);
    out.insert(out.end(), image.begin(), image.end());
    return asString(out);
}

// A prefetch file as Windows 7 writes it (version 23, "SCCA"), for the program named.
inline std::string prefetchFile(const std::wstring& program) {
    Bytes out;
    putLe(out, 23, 4);
    out.insert(out.end(), {'S', 'C', 'C', 'A'});
    putLe(out, 0x11, 4);
    putLe(out, 304, 4);  // the file's size
    Bytes name;
    putText(name, program);
    name.resize(60, 0);
    out.insert(out.end(), name.begin(), name.end());
    putLe(out, 0x1234ABCD, 4);  // the path's hash
    putLe(out, 0, 4);
    out.resize(304, 0);
    return asString(out);
}

// A complete memory dump's first page: "PAGEDU64", then the header's fields.
inline std::string fullMemoryDump() {
    Bytes out = {'P', 'A', 'G', 'E', 'D', 'U', '6', '4'};
    putLe(out, 0xF, 4);    // major version
    putLe(out, 19041, 4);  // minor version: the build
    out.resize(4096, 0);
    out[0xF98] = 1;  // a complete dump
    return asString(out);
}

// A minidump: its header ("MDMP", version, streams) and an empty stream directory.
inline std::string minidump() {
    Bytes out = {'M', 'D', 'M', 'P'};
    putLe(out, 0xA793, 4);
    putLe(out, 1, 4);   // streams
    putLe(out, 32, 4);  // the directory
    putLe(out, 0, 4);
    putLe(out, 0x65000000, 4);
    putLe(out, 0, 8);
    putLe(out, 7, 4);  // a system information stream
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    out.resize(96, 0);
    return asString(out);
}

// An error report as Windows Error Reporting writes it: UTF-16 with its mark, a key a line.
inline std::string errorReport(const std::wstring& program) {
    Bytes out = {0xFF, 0xFE};
    putText(out,
            L"Version=1\r\nEventType=APPCRASH\r\nEventTime=133500000000000000\r\n"
            L"Sig[0].Name=Application Name\r\nSig[0].Value=" +
                program + L"\r\nAppPath=C:\\Windows\\System32\\" + program + L"\r\n",
            false);
    return asString(out);
}

}  // namespace purgeon::wine
