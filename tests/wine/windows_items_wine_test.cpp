// What Windows itself remembers, against Wine: every item's traces laid out as Windows lays them
// out (real shortcuts, jump lists, caches, dumps, the registry's lists), decoys beside each; the
// preview's counts exact, the clean exact, the decoys byte for byte as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "cli/command_run.h"
#include "platform/win32/system_folders_win32.h"
#include "platform/win32/trace_system_win32.h"
#include "platform/win32/windows_traces_win32.h"
#include "prefs/option_table.h"
#include "product/product.h"
#include "rules/remembered_names.h"
#include "wine/win32_rig.h"
#include "wine/windows_trace_files.h"
#include "wipe/wipe_report.h"

namespace purgeon {
namespace {

using wine::Bytes;

const std::wstring kExplorerKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring kShellKey = L"Software\\Microsoft\\Windows\\Shell";
const std::wstring kLocalShellKey =
    L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell";
const std::wstring kDecoy = L"PurgeonDecoy";
// The keys the test lays out (below the current user), removed before and after it.
const wchar_t* const kPlantedKeys[] = {
    L"RecentDocs", L"RunMRU", L"TypedPaths", L"WordWheelQuery", L"ComDlg32", L"UserAssist",
};

struct RegistryValue {
    DWORD type = 0;
    Bytes data;
    bool operator==(const RegistryValue&) const = default;
};

using wine::joined;

std::wstring folderOf(REFKNOWNFOLDERID id) { return win32::knownFolderPath(id) + L"\\"; }

class RealWindowsItems : public ::testing::Test {
protected:
    void SetUp() override {
        removePlanted();
        m_roaming = folderOf(FOLDERID_RoamingAppData);
        m_local = folderOf(FOLDERID_LocalAppData);
        m_recent = m_roaming + L"Microsoft\\Windows\\Recent\\";
        m_windows = folderOf(FOLDERID_Windows);
        m_programData = folderOf(FOLDERID_ProgramData);
    }
    void TearDown() override {
        m_held.reset();
        for (const std::wstring& path : m_plantedFiles) ::DeleteFileW(path.c_str());
        for (auto folder = m_plantedFolders.rbegin(); folder != m_plantedFolders.rend(); ++folder)
            ::RemoveDirectoryW(folder->c_str());
        removePlanted();
    }
    static void removePlanted() {
        for (const wchar_t* key : kPlantedKeys)
            ::RegDeleteTreeW(HKEY_CURRENT_USER, (kExplorerKey + L"\\" + key).c_str());
        for (const std::wstring& shell : {kShellKey, kLocalShellKey}) {
            for (const wchar_t* key : {L"BagMRU", L"Bags", L"PurgeonKeep"})
                ::RegDeleteTreeW(HKEY_CURRENT_USER, (shell + L"\\" + key).c_str());
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, shell.c_str(), kDecoy.c_str());
        }
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kExplorerKey.c_str(), kDecoy.c_str());
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, (kLocalShellKey + L"\\MuiCache").c_str(),
                             L"C:\\Windows\\notepad.exe.FriendlyAppName");
    }

    // A file with its folders, removed after the test.
    void plant(const std::wstring& path, const std::string& content) {
        const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
        std::vector<std::wstring> made;
        for (std::wstring above = folder; !wine::exists(above);
             above = above.substr(0, above.find_last_of(L'\\')))
            made.insert(made.begin(), above);
        for (const std::wstring& part : made) {
            wine::makeFolder(part);
            m_plantedFolders.push_back(part);
        }
        ASSERT_TRUE(wine::writeFile(path, content)) << testing::PrintToString(path);
        m_plantedFiles.push_back(path);
    }
    void trace(const std::wstring& path, const std::string& content, std::size_t& files,
               std::uint64_t& bytes) {
        plant(path, content);
        ++files;
        bytes += content.size();
    }
    void decoy(const std::wstring& path, const std::string& content) {
        plant(path, content);
        m_decoyFiles[path] = content;
    }
    void setValue(const std::wstring& key, const std::wstring& name, DWORD type,
                  const Bytes& data) {
        ASSERT_TRUE(wine::setUserValue(key, name, type, data)) << testing::PrintToString(key);
    }
    void decoyValue(const std::wstring& key, const std::wstring& name, DWORD type,
                    const Bytes& data) {
        setValue(key, name, type, data);
        m_decoyValues[{key, name}] = {type, data};
    }
    static std::optional<RegistryValue> readValue(const std::wstring& key,
                                                  const std::wstring& name) {
        DWORD type = 0, size = 0;
        if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                           &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        RegistryValue value{type, Bytes(size)};
        ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                       &type, value.data.data(), &size);
        value.data.resize(size);
        return value;
    }
    static std::size_t valueCount(const std::wstring& key) {
        win32::UniqueHkey opened;
        DWORD values = 0;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, opened.put()) !=
                ERROR_SUCCESS ||
            ::RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return 0;
        return values;
    }
    static bool keyThere(const std::wstring& key) {
        win32::UniqueHkey opened;
        return ::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, opened.put()) ==
               ERROR_SUCCESS;
    }

    // The registry's lists as Explorer keeps them, each key with a decoy value beside.
    void layOutRegistry(const std::vector<std::wstring>& documents,
                        const std::wstring& documentFolder) {
        const std::wstring recentDocs = kExplorerKey + L"\\RecentDocs";
        for (std::uint32_t i = 0; i < documents.size(); ++i) {
            const std::wstring name = documents[i].substr(documents[i].find_last_of(L'\\') + 1);
            const Bytes entry =
                joined(wine::textBytes(name), wine::itemList(m_recent + name + L".lnk"));
            setValue(recentDocs, std::to_wstring(i), REG_BINARY, entry);
            const std::wstring type = recentDocs + L"\\" + name.substr(name.find_last_of(L'.'));
            setValue(type, L"0", REG_BINARY, entry);
            setValue(type, L"MRUListEx", REG_BINARY, wine::mruListEx({0}));
        }
        setValue(recentDocs, L"MRUListEx", REG_BINARY, wine::mruListEx({2, 1, 0}));
        decoyValue(recentDocs, kDecoy, REG_DWORD, {1, 0, 0, 0});
        decoyValue(recentDocs + L"\\.txt", kDecoy, REG_SZ, wine::textBytes(L"kept"));

        const std::wstring run = kExplorerKey + L"\\RunMRU";
        setValue(run, L"a", REG_SZ, wine::textBytes(L"notepad\\1"));
        setValue(run, L"b", REG_SZ, wine::textBytes(L"cmd /c dir\\1"));
        setValue(run, L"c", REG_SZ, wine::textBytes(L"\\\\server\\share\\1"));
        setValue(run, L"MRUList", REG_SZ, wine::textBytes(L"cba"));
        decoyValue(run, kDecoy, REG_SZ, wine::textBytes(L"kept"));
        const std::wstring typed = kExplorerKey + L"\\TypedPaths";
        setValue(typed, L"url1", REG_SZ, wine::textBytes(L"C:\\Users\\Public\\Documents"));
        setValue(typed, L"url2", REG_SZ, wine::textBytes(L"\\\\nas\\photos"));
        decoyValue(typed, kDecoy, REG_EXPAND_SZ, wine::textBytes(L"%TEMP%"));
        const std::wstring words = kExplorerKey + L"\\WordWheelQuery";
        setValue(words, L"0", REG_BINARY, wine::textBytes(L"tax return"));
        setValue(words, L"1", REG_BINARY, wine::textBytes(L"holiday"));
        setValue(words, L"MRUListEx", REG_BINARY, wine::mruListEx({1, 0}));
        decoyValue(words, kDecoy, REG_BINARY, {9, 9, 9});

        const std::wstring dialogs = kExplorerKey + L"\\ComDlg32";
        const Bytes document = wine::itemList(documents[0]);
        const Bytes folder = wine::itemList(documentFolder);
        setValue(dialogs + L"\\OpenSavePidlMRU\\*", L"0", REG_BINARY, document);
        setValue(dialogs + L"\\OpenSavePidlMRU\\*", L"1", REG_BINARY, wine::itemList(documents[1]));
        setValue(dialogs + L"\\OpenSavePidlMRU\\*", L"MRUListEx", REG_BINARY,
                 wine::mruListEx({1, 0}));
        setValue(dialogs + L"\\OpenSavePidlMRU\\docx", L"0", REG_BINARY, document);
        setValue(dialogs + L"\\OpenSavePidlMRU\\docx", L"MRUListEx", REG_BINARY,
                 wine::mruListEx({0}));
        setValue(dialogs + L"\\LastVisitedPidlMRU", L"0", REG_BINARY,
                 joined(wine::textBytes(L"WINWORD.EXE"), folder));
        setValue(dialogs + L"\\LastVisitedPidlMRU", L"1", REG_BINARY,
                 joined(wine::textBytes(L"notepad.exe"), folder));
        setValue(dialogs + L"\\LastVisitedPidlMRU", L"MRUListEx", REG_BINARY,
                 wine::mruListEx({0, 1}));
        decoyValue(dialogs, kDecoy, REG_SZ, wine::textBytes(L"kept"));
        decoyValue(dialogs + L"\\OpenSavePidlMRU", kDecoy, REG_SZ, wine::textBytes(L"kept"));

        const std::wstring assist = kExplorerKey + L"\\UserAssist";
        const std::wstring programs = assist + L"\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";
        const std::wstring shortcuts = assist + L"\\{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}";
        setValue(programs + L"\\Count", rot13(L"UEME_CTLSESSION"), REG_BINARY, Bytes(1612, 1));
        setValue(programs + L"\\Count",
                 rot13(L"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\notepad.exe"), REG_BINARY,
                 Bytes(72, 2));
        setValue(programs + L"\\Count", rot13(L"Microsoft.Windows.Explorer"), REG_BINARY,
                 Bytes(72, 3));
        setValue(shortcuts + L"\\Count",
                 rot13(L"{0139D44E-6AFE-49F2-8690-3DAFCAE6FFB8}\\Accessories\\Paint.lnk"),
                 REG_BINARY, Bytes(72, 4));
        decoyValue(programs, kDecoy, REG_DWORD, {5, 0, 0, 0});
        decoyValue(assist, kDecoy, REG_SZ, wine::textBytes(L"kept"));
        decoyValue(programs + L"\\Settings", kDecoy, REG_SZ, wine::textBytes(L"kept"));

        for (const std::wstring& shell : {kShellKey, kLocalShellKey}) {
            const Bytes drive = wine::itemList(L"C:\\");
            setValue(shell + L"\\BagMRU", L"0", REG_BINARY, drive);
            setValue(shell + L"\\BagMRU", L"MRUListEx", REG_BINARY, wine::mruListEx({0}));
            setValue(shell + L"\\BagMRU", L"NodeSlots", REG_BINARY, {2, 2});
            setValue(shell + L"\\BagMRU\\0", L"0", REG_BINARY, folder);
            setValue(shell + L"\\BagMRU\\0", L"NodeSlot", REG_DWORD, {1, 0, 0, 0});
            decoyValue(shell, kDecoy, REG_SZ, wine::textBytes(L"kept"));
            decoyValue(shell + L"\\PurgeonKeep", kDecoy, REG_SZ, wine::textBytes(L"kept"));
        }
        const std::wstring view = L"\\Shell\\{5C4F28B5-F869-4E84-8E60-F11DB97C5CC7}";
        for (const wchar_t* bag : {L"1", L"2", L"AllFolders"}) {
            setValue(kShellKey + L"\\Bags\\" + bag + view, L"Mode", REG_DWORD, {4, 0, 0, 0});
            setValue(kShellKey + L"\\Bags\\" + bag + view, L"Vid", REG_SZ,
                     wine::textBytes(L"{137E7700-3573-11CF-AE69-08002B2E1262}"));
        }
        for (const wchar_t* bag : {L"3", L"4", L"5"})
            setValue(kLocalShellKey + L"\\Bags\\" + bag + view, L"Mode", REG_DWORD, {1, 0, 0, 0});
        decoyValue(kLocalShellKey + L"\\MuiCache", L"C:\\Windows\\notepad.exe.FriendlyAppName",
                   REG_SZ, wine::textBytes(L"Notepad"));
    }

    std::wstring m_roaming, m_local, m_recent, m_windows, m_programData;
    std::vector<std::wstring> m_plantedFiles, m_plantedFolders;
    std::map<std::wstring, std::string> m_decoyFiles;
    std::map<std::pair<std::wstring, std::wstring>, RegistryValue> m_decoyValues;
    win32::UniqueFile m_held;
};

// The first line the preview gives an item of files and registry items.
std::wstring countsLine(const std::wstring& name, std::size_t files, std::uint64_t bytes,
                        std::size_t registry) {
    return L"  " + name + L": " + std::to_wstring(files) + (files == 1 ? L" file (" : L" files (") +
           sizeText(bytes) + L"), " + std::to_wstring(registry) + L" registry items, ticked";
}

// The names a "remembers:" line gives, in any order.
std::set<std::wstring> rememberedIn(const std::vector<std::wstring>& lines, std::size_t after) {
    std::set<std::wstring> names;
    if (after + 1 >= lines.size()) return names;
    const std::wstring prefix = L"    remembers: ";
    const std::wstring& line = lines[after + 1];
    if (line.rfind(prefix, 0) != 0) return names;
    std::size_t start = prefix.size();
    for (std::size_t end; (end = line.find(L", ", start)) != std::wstring::npos; start = end + 2)
        names.insert(line.substr(start, end - start));
    names.insert(line.substr(start));
    return names;
}

TEST_F(RealWindowsItems, ThePreviewCountsEveryItemExactlyAndTheCleanLeavesOnlyTheDecoys) {
    win32::ComApartment com;
    wine::TestFolder documents(L"purgeon-windows-items");
    std::vector<std::wstring> docs;
    for (const wchar_t* name : {L"Quarterly report.docx", L"notes.txt", L"holiday.jpg"}) {
        docs.push_back(documents.path() + name);
        ASSERT_TRUE(wine::writeFile(docs.back(), "document"));
    }
    // Recent documents: the shortcuts Explorer makes, and the registry's list of them.
    std::size_t recentFiles = 0;
    std::uint64_t recentBytes = 0;
    std::vector<std::string> shortcuts;
    for (const std::wstring& doc : docs) {
        const std::wstring link = m_recent + doc.substr(doc.find_last_of(L'\\') + 1) + L".lnk";
        plant(link, "");
        ASSERT_TRUE(wine::writeShortcut(link, doc));
        shortcuts.push_back(wine::readFile(link));
        ASSERT_GT(shortcuts.back().size(), 76u);  // the shell link header and more
        ++recentFiles;
        recentBytes += shortcuts.back().size();
    }
    decoy(m_recent + L"desktop.ini", "[.ShellClassInfo]\r\nLocalizedResourceName=@shell32.dll\r\n");
    decoy(m_recent + L"PurgeonDecoy.txt", "kept");
    // Jump lists.
    std::size_t jumpFiles = 0;
    std::uint64_t jumpBytes = 0;
    const std::wstring automatic = m_recent + L"AutomaticDestinations\\";
    for (const wchar_t* app : {L"5f7b5f1e01b83767", L"9b9cdc69c1c24e2b"}) {
        const std::wstring path = automatic + app + L".automaticDestinations-ms";
        plant(path, "");
        ASSERT_TRUE(wine::writeAutomaticDestinations(path, docs, shortcuts));
        const std::string written = wine::readFile(path);
        ASSERT_EQ(written.compare(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"), 0);  // a compound file
        ++jumpFiles;
        jumpBytes += written.size();
    }
    trace(m_recent + L"CustomDestinations\\28c8b86deab549a1.customDestinations-ms",
          wine::customDestinations(shortcuts), jumpFiles, jumpBytes);
    decoy(automatic + L"PurgeonDecoy.txt", "kept");
    decoy(m_recent + L"CustomDestinations\\desktop.ini", "[.ShellClassInfo]\r\n");
    layOutRegistry(docs, documents.path());
    // Thumbnails; Explorer holds one of them.
    std::size_t thumbFiles = 0;
    std::uint64_t thumbBytes = 0;
    const std::wstring explorer = m_local + L"Microsoft\\Windows\\Explorer\\";
    trace(explorer + L"thumbcache_32.db", wine::thumbnailCache(1), thumbFiles, thumbBytes);
    trace(explorer + L"thumbcache_256.db", wine::thumbnailCache(4), thumbFiles, thumbBytes);
    trace(explorer + L"thumbcache_96.db", wine::thumbnailCache(3), thumbFiles, thumbBytes);
    decoy(explorer + L"iconcache_32.db", wine::thumbnailCache(1));
    decoy(explorer + L"ExplorerStartupLog.etl", "kept");
    m_held.reset(::CreateFileW((explorer + L"thumbcache_96.db").c_str(), GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(m_held);
    // The clipboard holds a line of text, put there by a window as programs do.
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    ASSERT_TRUE(::OpenClipboard(owner));
    ::EmptyClipboard();
    const std::wstring copied = L"a secret line";
    HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, (copied.size() + 1) * sizeof(wchar_t));
    std::copy_n(copied.c_str(), copied.size() + 1, static_cast<wchar_t*>(::GlobalLock(text)));
    ::GlobalUnlock(text);
    ASSERT_NE(::SetClipboardData(CF_UNICODETEXT, text), nullptr);
    ::CloseClipboard();
    // Error reports, the user's and the machine's, each a folder of its own.
    std::size_t reportFiles = 0;
    std::uint64_t reportBytes = 0;
    const std::wstring wer = m_local + L"Microsoft\\Windows\\WER\\";
    trace(wer + L"ReportArchive\\AppCrash_notepad.exe_a1b2\\Report.wer",
          wine::errorReport(L"notepad.exe"), reportFiles, reportBytes);
    trace(wer + L"ReportQueue\\AppCrash_wordpad.exe_c3d4\\Report.wer",
          wine::errorReport(L"wordpad.exe"), reportFiles, reportBytes);
    trace(wer + L"ReportQueue\\AppCrash_wordpad.exe_c3d4\\memory.hdmp", wine::minidump(),
          reportFiles, reportBytes);
    trace(m_programData + L"Microsoft\\Windows\\WER\\ReportArchive\\Critical_x\\Report.wer",
          wine::errorReport(L"svchost.exe"), reportFiles, reportBytes);
    decoy(wer + L"ReportArchive\\PurgeonDecoy.txt", "kept");
    decoy(wer + L"Temp\\PurgeonDecoy.txt", "kept");
    decoy(m_programData + L"Microsoft\\Windows\\WER\\ReportArchive\\PurgeonDecoy.txt", "kept");
    // Memory dumps and prefetch files.
    std::size_t dumpFiles = 0, prefetchFiles = 0;
    std::uint64_t dumpBytes = 0, prefetchBytes = 0;
    trace(m_windows + L"MEMORY.DMP", wine::fullMemoryDump(), dumpFiles, dumpBytes);
    trace(m_windows + L"Minidump\\010124-12345-01.dmp", wine::minidump(), dumpFiles, dumpBytes);
    decoy(m_windows + L"PurgeonDecoy.DMP", "kept");
    decoy(m_windows + L"Minidump\\PurgeonDecoy.txt", "kept");
    trace(m_windows + L"Prefetch\\NOTEPAD.EXE-D8414F97.pf", wine::prefetchFile(L"NOTEPAD.EXE"),
          prefetchFiles, prefetchBytes);
    trace(m_windows + L"Prefetch\\WORDPAD.EXE-2B5C3B0E.pf", wine::prefetchFile(L"WORDPAD.EXE"),
          prefetchFiles, prefetchBytes);
    decoy(m_windows + L"Prefetch\\Layout.ini", "kept");
    decoy(m_windows + L"Prefetch\\ReadyBoot\\Trace1.fx", "kept");

    Win32Rig rig;
    win32::Win32TraceSystem traces;
    win32::Win32WindowsTraces windowsTraces;
    ASSERT_TRUE(traces.elevated()) << "Wine runs programs with administrator rights";
    ASSERT_TRUE(rig.settings
                    .write(kAppTitle, kSettingsSection, kWindowsKey,
                           L"Recent documents|Jump lists|Run and search history|Open and Save "
                           L"history|Thumbnail cache|Program usage|Folder views|Clipboard|DNS "
                           L"cache|Error reports|Memory dumps|Prefetch")
                    .ok());
    fakes::FakeConsole console;
    EXPECT_EQ(runCommandLine({L"/preview", L"windows"}, rig.services, console, {}, &traces,
                             &windowsTraces),
              kExitDone);
    const std::vector<std::wstring> lines = console.lines();
    const std::size_t items = recentFiles + 10 + jumpFiles + 9 + 8 + thumbFiles + 4 + 4 + 1 +
                              reportFiles + dumpFiles + prefetchFiles;
    const std::uint64_t bytes =
        recentBytes + jumpBytes + thumbBytes + reportBytes + dumpBytes + prefetchBytes;
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], L"Windows: " + std::to_wstring(items) + L" items (" + sizeText(bytes) +
                            L") would be removed; 12 of 12 items ticked.");
    const auto at = [&](const std::wstring& line) {
        const auto found = std::find(lines.begin(), lines.end(), line);
        EXPECT_NE(found, lines.end())
            << testing::PrintToString(line) << " in " << testing::PrintToString(console.text);
        return static_cast<std::size_t>(found - lines.begin());
    };
    const std::size_t recent = at(countsLine(L"Recent documents", recentFiles, recentBytes, 10));
    EXPECT_EQ(rememberedIn(lines, recent),
              (std::set<std::wstring>{L"Quarterly report.docx", L"notes.txt", L"holiday.jpg"}));
    at(countsLine(L"Jump lists", jumpFiles, jumpBytes, 0));
    EXPECT_EQ(rememberedIn(lines, at(countsLine(L"Run and search history", 0, 0, 9))),
              (std::set<std::wstring>{L"notepad", L"cmd /c dir", L"\\\\server\\share",
                                      L"C:\\Users\\Public\\Documents", L"\\\\nas\\photos",
                                      L"tax return", L"holiday"}));
    EXPECT_EQ(rememberedIn(lines, at(countsLine(L"Open and Save history", 0, 0, 8))),
              (std::set<std::wstring>{L"WINWORD.EXE", L"notepad.exe"}));
    at(countsLine(L"Thumbnail cache", thumbFiles, thumbBytes, 0));
    EXPECT_EQ(
        rememberedIn(lines, at(countsLine(L"Program usage", 0, 0, 4))),
        (std::set<std::wstring>{L"notepad.exe", L"Microsoft.Windows.Explorer", L"Paint.lnk"}));
    EXPECT_EQ(lines.at(at(countsLine(L"Folder views", 0, 0, 4)) + 1),
              L"    5 folders with remembered views");
    at(L"  Clipboard: holds text of 13 characters, ticked");
    at(L"  DNS cache: not counted: Windows offers no documented way to read it, ticked");
    at(countsLine(L"Error reports", reportFiles, reportBytes, 0));
    at(countsLine(L"Memory dumps", dumpFiles, dumpBytes, 0));
    at(countsLine(L"Prefetch", prefetchFiles, prefetchBytes, 0));
    for (const std::wstring& path : m_plantedFiles) EXPECT_TRUE(wine::exists(path));

    console.text.clear();
    // Explorer's thumbnail file is held, and Wine's ipconfig cannot flush: not everything went.
    EXPECT_EQ(
        runCommandLine({L"/clean", L"windows"}, rig.services, console, {}, &traces, &windowsTraces),
        kExitIncomplete);
    const std::set<std::wstring> decoys = [&] {
        std::set<std::wstring> paths;
        for (const auto& [path, content] : m_decoyFiles) paths.insert(path);
        return paths;
    }();
    for (const std::wstring& path : m_plantedFiles) {
        if (decoys.count(path)) {
            EXPECT_EQ(wine::readFile(path), m_decoyFiles[path]) << testing::PrintToString(path);
        } else {
            EXPECT_EQ(wine::exists(path), path == explorer + L"thumbcache_96.db")
                << testing::PrintToString(path);
        }
    }
    for (const auto& [place, value] : m_decoyValues)
        EXPECT_EQ(readValue(place.first, place.second), value)
            << testing::PrintToString(place.first + L"|" + place.second);
    // The lists' keys stay, emptied of what they listed; the folder views' keys go whole.
    EXPECT_EQ(valueCount(kExplorerKey + L"\\RecentDocs"), 1u);
    EXPECT_EQ(valueCount(kExplorerKey + L"\\RecentDocs\\.docx"), 0u);
    EXPECT_EQ(valueCount(kExplorerKey + L"\\RunMRU"), 1u);
    EXPECT_EQ(valueCount(kExplorerKey + L"\\TypedPaths"), 1u);
    EXPECT_EQ(valueCount(kExplorerKey + L"\\WordWheelQuery"), 1u);
    EXPECT_EQ(valueCount(kExplorerKey + L"\\ComDlg32\\OpenSavePidlMRU\\*"), 0u);
    EXPECT_EQ(valueCount(kExplorerKey + L"\\ComDlg32\\LastVisitedPidlMRU"), 0u);
    EXPECT_TRUE(
        keyThere(kExplorerKey + L"\\UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count"));
    EXPECT_EQ(
        valueCount(kExplorerKey + L"\\UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count"),
        0u);
    for (const std::wstring& shell : {kShellKey, kLocalShellKey}) {
        EXPECT_FALSE(keyThere(shell + L"\\BagMRU"));
        EXPECT_FALSE(keyThere(shell + L"\\Bags"));
    }
    // The clipboard is empty; the held file is named; the log names no removed file.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    EXPECT_EQ(::CountClipboardFormats(), 0);
    ::CloseClipboard();
    ::DestroyWindow(owner);
    EXPECT_TRUE(
        rig.logFile.contains(L"Windows: Thumbnail cache: 2 files and 0 registry items "
                             L"removed; left: 1 in use by another program; in use: "
                             L"thumbcache_96.db."));
    EXPECT_TRUE(rig.logFile.contains(L"Windows: DNS cache: flushed.") ||
                rig.logFile.contains(L"Windows: DNS cache: not flushed: ipconfig /flushdns ended "
                                     L"with exit code "));
    for (const wchar_t* removed : {L"Quarterly report", L"NOTEPAD.EXE-D8414F97", L"AppCrash"})
        EXPECT_FALSE(rig.logFile.contains(removed))
            << testing::PrintToString(std::wstring(removed));
}

}  // namespace
}  // namespace purgeon
