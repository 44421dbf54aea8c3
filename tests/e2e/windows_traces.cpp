// purgeon_windows_traces: lays out what Windows itself remembers, as Windows lays it out, in the
// prefix it runs in, for the end-to-end test and the bench. "lay N" writes N recent documents
// (shortcuts and the registry's list), N jump lists, N Run-box commands, typed paths and search
// words, N entries of the Open and Save lists, of program usage and of folder views, N thumbnail
// caches, error reports, minidumps and prefetch files, a memory dump, and text on the clipboard;
// beside them decoys named PurgeonDecoy.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/system_folders_win32.h"
#include "rules/remembered_names.h"
#include "wine/windows_trace_files.h"

namespace {

using namespace purgeon;
using wine::Bytes;

const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring kDecoy = L"PurgeonDecoy";

std::wstring folderOf(REFKNOWNFOLDERID id) { return win32::knownFolderPath(id) + L"\\"; }

bool makeFolders(const std::wstring& path) {
    const int made = ::SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS;
}

bool put(const std::wstring& path, const std::string& content) {
    return makeFolders(path.substr(0, path.find_last_of(L'\\'))) && wine::writeFile(path, content);
}

bool setClipboardText(const std::wstring& value) {
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         nullptr, nullptr);
    if (owner == nullptr || !::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (value.size() + 1) * sizeof(wchar_t));
    auto* copy = static_cast<wchar_t*>(::GlobalLock(memory));
    std::copy_n(value.c_str(), value.size() + 1, copy);
    ::GlobalUnlock(memory);
    const bool set = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    ::CloseClipboard();
    ::DestroyWindow(owner);
    return set;
}

bool lay(int count) {
    const std::wstring roaming = folderOf(FOLDERID_RoamingAppData);
    const std::wstring local = folderOf(FOLDERID_LocalAppData);
    const std::wstring recent = roaming + L"Microsoft\\Windows\\Recent\\";
    const std::wstring windows = folderOf(FOLDERID_Windows);
    const std::wstring documents = folderOf(FOLDERID_PublicDocuments) + L"Purgeon traces\\";
    bool ok = makeFolders(documents);
    std::vector<std::wstring> docs;
    std::vector<std::string> shortcuts;
    Bytes order;
    for (int i = 0; i < count; ++i) {
        const std::wstring name = L"Letter " + std::to_wstring(i + 1) + L".docx";
        docs.push_back(documents + name);
        ok = ok && wine::writeFile(docs.back(), "document");
        const std::wstring link = recent + name + L".lnk";
        ok = ok && makeFolders(recent) && wine::writeShortcut(link, docs.back());
        shortcuts.push_back(wine::readFile(link));
        const Bytes entry = wine::joined(wine::textBytes(name), wine::itemList(link));
        const std::wstring number = std::to_wstring(i);
        ok = ok && wine::setUserValue(kExplorer + L"\\RecentDocs", number, REG_BINARY, entry) &&
             wine::setUserValue(kExplorer + L"\\RecentDocs\\.docx", number, REG_BINARY, entry);
        wine::putLe(order, static_cast<std::uint32_t>(count - 1 - i), 4);
    }
    wine::putLe(order, 0xFFFFFFFF, 4);
    ok = ok && wine::setUserValue(kExplorer + L"\\RecentDocs", L"MRUListEx", REG_BINARY, order) &&
         wine::setUserValue(kExplorer + L"\\RecentDocs\\.docx", L"MRUListEx", REG_BINARY, order) &&
         put(recent + L"PurgeonDecoy.txt", "kept");

    std::wstring mru;
    for (int i = 0; i < count; ++i) {
        const std::wstring number = std::to_wstring(i);
        const std::wstring app = std::to_wstring(0x5f7b5f1e01b83767ULL + i);
        ok = ok && makeFolders(recent + L"AutomaticDestinations") &&
             wine::writeAutomaticDestinations(
                 recent + L"AutomaticDestinations\\" + app + L".automaticDestinations-ms", docs,
                 shortcuts) &&
             put(recent + L"CustomDestinations\\" + app + L".customDestinations-ms",
                 wine::customDestinations(shortcuts));
        const wchar_t letter = static_cast<wchar_t>(L'a' + i % 26);
        mru.insert(mru.begin(), letter);
        ok = ok &&
             wine::setUserValue(kExplorer + L"\\RunMRU", std::wstring(1, letter), REG_SZ,
                                wine::textBytes(L"notepad letter" + number + L".txt\\1")) &&
             wine::setUserValue(kExplorer + L"\\TypedPaths", L"url" + std::to_wstring(i + 1),
                                REG_SZ, wine::textBytes(L"C:\\Projects\\Folder " + number)) &&
             wine::setUserValue(kExplorer + L"\\WordWheelQuery", number, REG_BINARY,
                                wine::textBytes(L"search words " + number)) &&
             wine::setUserValue(kExplorer + L"\\ComDlg32\\OpenSavePidlMRU\\docx", number,
                                REG_BINARY, wine::itemList(docs[static_cast<std::size_t>(i)])) &&
             wine::setUserValue(kExplorer + L"\\ComDlg32\\LastVisitedPidlMRU", number, REG_BINARY,
                                wine::joined(wine::textBytes(L"program" + number + L".exe"),
                                             wine::itemList(documents))) &&
             wine::setUserValue(
                 kExplorer + L"\\UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count",
                 rot13(L"C:\\Programs\\tool" + number + L".exe"), REG_BINARY, Bytes(72, 1)) &&
             wine::setUserValue(L"Software\\Microsoft\\Windows\\Shell\\BagMRU", number, REG_BINARY,
                                wine::itemList(documents)) &&
             wine::setUserValue(L"Software\\Microsoft\\Windows\\Shell\\Bags\\" +
                                    std::to_wstring(i + 1) +
                                    L"\\Shell\\{5C4F28B5-F869-4E84-8E60-F11DB97C5CC7}",
                                L"Mode", REG_DWORD, {4, 0, 0, 0}) &&
             put(local + L"Microsoft\\Windows\\Explorer\\thumbcache_" +
                     std::to_wstring(16 << (i % 6)) + L".db",
                 wine::thumbnailCache(static_cast<std::uint32_t>(i % 6))) &&
             put(local + L"Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_tool" + number +
                     L".exe_" + number + L"\\Report.wer",
                 wine::errorReport(L"tool" + number + L".exe")) &&
             put(windows + L"Minidump\\0101" + number + L"-1234-01.dmp", wine::minidump()) &&
             put(windows + L"Prefetch\\TOOL" + number + L".EXE-1234ABCD.pf",
                 wine::prefetchFile(L"TOOL" + number + L".EXE"));
    }
    // Beside each, what must stay.
    for (const std::wstring& key :
         {kExplorer + L"\\RecentDocs", kExplorer + L"\\RunMRU", kExplorer + L"\\TypedPaths",
          kExplorer + L"\\WordWheelQuery", kExplorer + L"\\ComDlg32", kExplorer + L"\\UserAssist",
          std::wstring(L"Software\\Microsoft\\Windows\\Shell")})
        ok = ok && wine::setUserValue(key, kDecoy, REG_SZ, wine::textBytes(L"kept"));
    return ok &&
           wine::setUserValue(kExplorer + L"\\RunMRU", L"MRUList", REG_SZ, wine::textBytes(mru)) &&
           put(recent + L"AutomaticDestinations\\PurgeonDecoy.txt", "kept") &&
           put(local + L"Microsoft\\Windows\\Explorer\\iconcache_32.db", "kept") &&
           put(local + L"Microsoft\\Windows\\WER\\ReportArchive\\PurgeonDecoy.txt", "kept") &&
           put(windows + L"MEMORY.DMP", wine::fullMemoryDump()) &&
           put(windows + L"Prefetch\\Layout.ini", "kept") && setClipboardText(L"copied words");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"lay") {
        const win32::ComApartment com;
        const int count = argc > 2 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 3;
        if (lay(count > 0 ? count : 3)) return 0;
        std::fwprintf(stderr, L"the traces could not all be laid out\n");
        return 1;
    }
    std::fwprintf(stderr, L"usage: purgeon_windows_traces lay [COUNT]\n");
    return 2;
}
