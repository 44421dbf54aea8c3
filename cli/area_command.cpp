// The areas' runs from the command line: what each area came to, on the console; the exit code.
#include "cli/area_command.h"

#include <algorithm>
#include <optional>

#include "clean/apps_area.h"
#include "clean/area_table.h"
#include "clean/clean_run.h"
#include "clean/windows_area.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

std::wstring summaryLine(const Area& area, const AreaResult& result, bool preview) {
    std::wstring line = std::wstring(area.title) + L": ";
    if (!result.ran)
        return line + (preview ? L"would be left alone: " : L"not cleaned: ") + result.why + L".";
    if (result.count) {
        line += std::to_wstring(*result.count) + L" " + (*result.count == 1 ? area.one : area.many);
        if (result.bytes) line += L" (" + sizeText(*result.bytes) + L")";
        line += preview ? L" would be removed" : L" removed";
    } else {
        line += preview ? L"would be cleaned" : L"cleaned";
    }
    if (!result.place.empty()) line += L" from " + result.place;
    if (!result.why.empty()) line += L"; " + result.why;
    return line + L".";
}

// Tells each area's line as soon as the area is done.
class ConsoleWatch : public RunWatch {
public:
    ConsoleWatch(const Tell& tell, bool preview) : m_tell(tell), m_preview(preview) {}
    void starting(const Area&) override {}
    void finished(const Area& area, const AreaResult& result) override {
        m_tell(summaryLine(area, result, m_preview) + L"\n");
        for (const std::wstring& line : result.details) m_tell(L"  " + line + L"\n");
    }

private:
    const Tell& m_tell;
    bool m_preview;
};

int runAreas(CommandRun& run, bool preview) {
    CleanContext& context = run.context;
    CleanServices& services = context.services;
    // The keep list and the ticked browser profiles hold for the cookie folder and the browsers.
    loadBrowserChoices(context.browsers, services.files, services.folders, services.settings,
                       services.errors, context.log);
    CleanRun areas;
    for (const std::size_t row : run.command.areas) areas.areas.push_back(cleanAreas()[row]);
    // The rule file is read only when the applications' area is asked for.
    std::optional<AppRules> apps;
    if (run.traces &&
        std::find(areas.areas.begin(), areas.areas.end(), &kAppsArea) != areas.areas.end()) {
        apps.emplace(*run.traces);
        std::vector<std::wstring> lines;
        loadAppRules(*apps, services, lines);
        for (const std::wstring& line : lines) context.log.write(line);
        context.state.apps = &*apps;
    }
    std::optional<WindowsItems> windows;
    if (run.traces && run.windowsTraces &&
        std::find(areas.areas.begin(), areas.areas.end(), &kWindowsArea) != areas.areas.end()) {
        windows.emplace(*run.traces, *run.windowsTraces);
        context.state.windows = &*windows;
    }
    areas.mode = preview ? CleanMode::preview : CleanMode::clean;
    ConsoleWatch watch(run.tell, preview);
    areas.watch = &watch;
    const bool done = runClean(context, areas).done();
    if (preview) {
        run.tell(done ? L"Nothing was removed.\n"
                      : L"Nothing was removed. Not every area could be listed, or would be "
                        L"cleaned.\n");
    } else if (!done) {
        run.tell(L"Not everything could be removed; the log says more: " + context.log.path() +
                 L"\n");
    }
    return done ? kExitDone : kExitIncomplete;
}

}  // namespace

int runCleanSwitch(CommandRun& run) { return runAreas(run, false); }

int runPreviewSwitch(CommandRun& run) { return runAreas(run, true); }

}  // namespace purgeon
