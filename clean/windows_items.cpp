// The built-in rules and the ticked Windows items.
#include "clean/windows_items.h"

#include "clean/app_rules.h"
#include "clean/failure_text.h"
#include "prefs/option_table.h"
#include "product/product.h"

namespace purgeon {

WindowsItems::WindowsItems(TraceSystem& system, WindowsTraces& traces)
    : system(system), traces(traces) {
    std::string bytes;
    read = traces.builtInRules(bytes);
    if (read) book = parseRules(bytes, RuleDialect::builtIn);
}

std::vector<std::wstring> readTickedWindows(SettingsStore& settings, SystemErrors& errors,
                                            std::vector<std::wstring>& log) {
    std::wstring text;
    const Status read = settings.read(kAppTitle, kSettingsSection, kWindowsKey, text);
    if (read) return namesFromText(text);
    if (read.code != kErrorFileNotFound)
        log.push_back(failureLine(errors, L"Windows: the ticked items could not be read", read));
    return {};
}

Status saveTickedWindows(const std::vector<std::wstring>& ticked, SettingsStore& settings) {
    return settings.write(kAppTitle, kSettingsSection, kWindowsKey, namesText(ticked));
}

}  // namespace purgeon
