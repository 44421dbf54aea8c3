// The rule file as the program holds it: where it lies, its entries, which of them the user
// ticked, and whether the automatic runs take them.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "clean/clean_services.h"
#include "clean/run_log.h"
#include "platform/downloader.h"
#include "platform/trace_system.h"
#include "prefs/option_table.h"
#include "rules/rule_book.h"

namespace purgeon {

inline constexpr wchar_t kRuleFileName[] = L"winapp2.ini";

struct AppRules {
    explicit AppRules(TraceSystem& system) : system(system) {}
    TraceSystem& system;
    std::wstring file;   // where the rule file is read from; empty when no folder is known
    bool found = false;  // the file was there and could be read
    RuleBook book;
    std::vector<std::wstring> ticked;  // entry names as written between the brackets
    // The area reads the rule file and the ticks afresh at each run, off the window's thread
    // (the windowed program); otherwise its caller has read them.
    bool readOnRun = false;
};

// "a|b" into its names; empty names dropped.
std::vector<std::wstring> namesFromText(const std::wstring& text);
std::wstring namesText(const std::vector<std::wstring>& names);

// "%APPDATA%\Purgeon\winapp2.ini" as this machine spells it; empty when there is no app data.
std::wstring ruleFilePath(TraceSystem& system);

// Reads the rule file and the ticked entries. Each entry left out
// and each value that could not be read gives a line for the log; the caller writes them, so
// that this can run on any thread.
void loadAppRules(AppRules& rules, CleanServices& services, std::vector<std::wstring>& log);

// Whether "Clean applications automatically" is stored.
bool autoAppsStored(SettingsStore& settings);

// Stores the ticked entries' names.
Status saveTickedApps(const AppRules& rules, SettingsStore& settings);

// Where "Get rules..." downloads from when the settings name no address: the file the community
// project publishes.
inline constexpr wchar_t kDefaultRulesUrl[] =
    L"https://raw.githubusercontent.com/MoscaDotTo/Winapp2/master/Winapp2.ini";
inline constexpr std::size_t kRulesDownloadCap = 8 * 1024 * 1024;
inline constexpr unsigned kRulesDownloadSeconds = 30;

struct RulesFetch {
    bool written = false;
    std::size_t entries = 0;  // read from the new file
    std::wstring why;         // why nothing was written, in the words of a sentence's end
};

// "Get rules...": downloads the rule file from the settings value rulesurl (or the default
// address), at most kRulesDownloadCap bytes, and, when it holds at least one entry, writes it
// where the rules are read (beside the settings, never in the program's folder) and reads it.
RulesFetch fetchRules(AppRules& rules, Downloader& downloader, CleanServices& services,
                      std::vector<std::wstring>& log);

}  // namespace purgeon
