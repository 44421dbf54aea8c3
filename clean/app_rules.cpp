// Reading the rule file and the ticked entries.
#include "clean/app_rules.h"

#include "clean/failure_text.h"
#include "prefs/preferences.h"
#include "product/product.h"

namespace purgeon {

namespace {

void addFailure(std::vector<std::wstring>& log, SystemErrors& errors, const std::wstring& what,
                const Status& status) {
    if (!status) log.push_back(failureLine(errors, what, status));
}

}  // namespace

bool autoAppsStored(SettingsStore& settings) {
    std::wstring text;
    return settings.read(kAppTitle, kSettingsSection, kAutoAppsKey, text) && text == L"1";
}

std::vector<std::wstring> namesFromText(const std::wstring& text) {
    std::vector<std::wstring> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'|', start);
        if (end == std::wstring::npos) end = text.size();
        if (end > start) names.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::wstring namesText(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (const std::wstring& name : names) text += (text.empty() ? L"" : L"|") + name;
    return text;
}

std::wstring ruleFilePath(TraceSystem& system) {
    const std::vector<std::wstring> appData = system.place(L"appdata");
    if (appData.empty() || appData.front().empty()) return {};
    std::wstring folder = appData.front();
    if (folder.back() != L'\\') folder += L'\\';
    return folder + std::wstring(kProductName) + L"\\" + kRuleFileName;
}

void loadAppRules(AppRules& rules, CleanServices& services, std::vector<std::wstring>& log) {
    std::wstring text;
    const Status ticked = services.settings.read(kAppTitle, kSettingsSection, kAppsKey, text);
    if (ticked) {
        rules.ticked = namesFromText(text);
    } else if (ticked.code != kErrorFileNotFound) {
        addFailure(log, services.errors, L"Applications: the ticked entries could not be read",
                   ticked);
    }

    rules.file = ruleFilePath(rules.system);
    rules.found = false;
    rules.book = {};
    if (rules.file.empty()) return;
    std::string bytes;
    const Status read = services.files.readFile(rules.file, bytes);
    if (!read) {
        if (read.code != kErrorFileNotFound && read.code != kErrorPathNotFound)
            addFailure(log, services.errors,
                       L"Applications: the rule file " + rules.file + L" could not be read", read);
        return;
    }
    rules.found = true;
    rules.book = parseRules(bytes);
    log.push_back(L"Applications: " + std::to_wstring(rules.book.entries.size()) +
                  L" entries read from " + rules.file + L"; " +
                  std::to_wstring(rules.book.problems.size()) + L" left out.");
    for (const RuleProblem& problem : rules.book.problems)
        log.push_back(L"Applications: left out: " + problemText(problem) + L".");
}

Status saveTickedApps(const AppRules& rules, SettingsStore& settings) {
    return settings.write(kAppTitle, kSettingsSection, kAppsKey, namesText(rules.ticked));
}

RulesFetch fetchRules(AppRules& rules, Downloader& downloader, CleanServices& services,
                      std::vector<std::wstring>& log) {
    RulesFetch fetch;
    std::wstring url;
    const Status stored = services.settings.read(kAppTitle, kSettingsSection, kRulesUrlKey, url);
    if (!stored || url.empty()) url = kDefaultRulesUrl;
    rules.file = ruleFilePath(rules.system);
    if (rules.file.empty()) {
        fetch.why = L"the system names no application data folder to keep it in";
        return fetch;
    }
    std::string bytes;
    const Status downloaded =
        downloader.download(url, kRulesDownloadCap, kRulesDownloadSeconds, bytes);
    if (!downloaded) {
        fetch.why = downloaded.code == kErrorFileTooLarge
                        ? std::wstring(L"the file at ") + url + L" is larger than 8 MiB"
                        : L"it could not be downloaded from " + url + L": " +
                              systemWords(services.errors, downloaded);
        log.push_back(L"Applications: the rule file was not fetched: " + fetch.why + L".");
        return fetch;
    }
    RuleBook book = parseRules(bytes);
    if (book.entries.empty()) {
        fetch.why = L"what " + url + L" gave holds no entry";
        log.push_back(L"Applications: the rule file was not fetched: " + fetch.why + L".");
        return fetch;
    }
    if (const Status written = rules.system.writeWholeFile(rules.file, bytes); !written) {
        fetch.why = L"it could not be written to " + rules.file + L": " +
                    systemWords(services.errors, written);
        log.push_back(L"Applications: the rule file was not fetched: " + fetch.why + L".");
        return fetch;
    }
    rules.book = std::move(book);
    rules.found = true;
    fetch.written = true;
    fetch.entries = rules.book.entries.size();
    log.push_back(L"Applications: " + std::to_wstring(fetch.entries) + L" entries fetched from " +
                  url + L" into " + rules.file + L".");
    return fetch;
}

}  // namespace purgeon
