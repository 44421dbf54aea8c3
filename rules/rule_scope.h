// What the rules are detected and resolved against: the file system, the system's places and
// registry, the folders no rule may empty, and the browsers whose running profiles are spared.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "browsers/browser_profile.h"
#include "platform/files.h"
#include "platform/system_folders.h"
#include "platform/trace_system.h"

namespace purgeon {

class RuleScope {
public:
    // The browsers' profiles are those found on this machine, ticked or not.
    RuleScope(FileSystem& files, SystemFolders& folders, TraceSystem& system,
              std::vector<BrowserProfile> profiles);

    FileSystem& files() { return m_files; }
    TraceSystem& system() { return m_system; }

    // The path with every environment name replaced: one path for each place the names stand
    // for ("%ProgramFiles%" gives both program folders). Empty when a name stands for nothing.
    std::vector<std::wstring> expand(const std::wstring& path);

    // Why no rule may empty this folder (recurse over it, remove it, or take every file of it),
    // in the words of the folder guard; empty when it may. The folder is resolved first.
    std::wstring guardProblem(const std::wstring& folder);

    // The running browser whose profile holds the path ("Close Chrome to clean it"); empty
    // when no running browser's profile holds it.
    std::wstring browserHolding(const std::wstring& path);

    WindowsVersion windowsVersion();
    // Whether the program runs with administrator rights, asked once.
    bool elevated();

    // The folder's entries (path ending in "\\"), listed once for the scope's life: for finding
    // folders and detecting entries, never for what is removed, which is listed afresh.
    Status listOnce(const std::wstring& folder, const std::vector<DirEntry>*& entries);

private:
    struct GuardedProfile {
        std::vector<std::wstring> folders;  // plain paths: the profile, its cache, its lock's
        std::wstring closeText;
        std::optional<bool> inUse;  // asked once, when a path first falls inside it
        BrowserProfile profile;
    };
    void loadKnownFolders();

    FileSystem& m_files;
    SystemFolders& m_folders;
    TraceSystem& m_system;
    std::map<std::wstring, std::vector<std::wstring>> m_places;
    bool m_knownLoaded = false;
    std::vector<KnownFolder> m_known;
    std::vector<std::wstring> m_temps;
    std::vector<GuardedProfile> m_profiles;
    std::optional<WindowsVersion> m_version;
    std::optional<bool> m_elevated;
    struct Listing {
        Status status;
        std::vector<DirEntry> entries;
    };
    std::map<std::wstring, Listing> m_listings;  // by the folder's lower-case path
};

}  // namespace purgeon
