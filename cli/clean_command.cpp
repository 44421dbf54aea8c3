// The command line's run: the areas through the one run loop, or the wipes; what came of them on
// the console; the exit code.
#include "cli/clean_command.h"

#include <algorithm>
#include <cwctype>
#include <optional>

#include "cli/command_line.h"
#include "cli/wipe_command.h"
#include "clean/apps_area.h"
#include "clean/area_table.h"
#include "clean/clean_run.h"
#include "clean/failure_text.h"
#include "prefs/stored_options.h"
#include "product/product.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

// The arguments as the log may keep them: what follows /wipe or /wipefreespace stands as
// "<path>", so the log names no file.
std::wstring joinedArguments(const std::vector<std::wstring>& arguments) {
    std::wstring text;
    bool paths = false;
    for (const std::wstring& argument : arguments) {
        const bool isSwitch = argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-');
        if (isSwitch) {
            std::wstring name = argument.substr(1);
            for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
            paths = name == L"wipe" || name == L"wipefreespace";
        }
        text += (text.empty() ? L"" : L" ") + (paths && !isSwitch ? L"<path>" : argument);
    }
    return text;
}

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

}  // namespace

int runCommandLine(const std::vector<std::wstring>& arguments, CleanServices& services,
                   ConsoleOutput& console, const AskFirst& askFirst, TraceSystem* traces) {
    RunLog log(services.logFile);
    // The first failure to write to the console goes to the log; there is nowhere else to tell.
    bool toldFailure = false;
    const Tell tell = [&](const std::wstring& text) {
        const Status written = console.write(text);
        if (written || toldFailure) return;
        toldFailure = true;
        log.write(L"Command line: the console could not be written to (error " +
                  std::to_wstring(written.code) + L").");
    };

    const CommandLine command = parseCommandLine(arguments);
    if (command.action == CommandAction::help) {
        tell(usageText());
        return kExitDone;
    }
    if (command.action == CommandAction::invalid) {
        log.write(L"Command line not understood (" + joinedArguments(arguments) + L"): " +
                  command.error);
        tell(command.error + L"\n\n" + usageText());
        return kExitBadArguments;
    }

    const bool preview = command.action == CommandAction::preview;
    const bool wipe = command.action == CommandAction::wipe;
    const bool freeSpace = command.action == CommandAction::wipeFreeSpace;
    const std::wstring product = std::wstring(kAppTitle).substr(1);
    const wchar_t* kind = preview     ? L": preview from the command line ("
                          : wipe      ? L": wipe from the command line ("
                          : freeSpace ? L": free-space wipe from the command line ("
                                      : L": cleaning run from the command line (";
    log.write(product + L" " + versionText(services.appInfo.version()) + kind +
              joinedArguments(arguments) + L")" + (preview ? L"; nothing is removed." : L"."));

    StoredOptions options;
    logFailure(log, services.errors, L"Preferences: not all could be read",
               readStoredPrefs(services.settings, kAppTitle, options));
    BrowserAreas browsers;
    CleanState state;
    InPlaceOperations operations;
    CleanContext context{
        services, log, operations, options, browsers, state,
        // Nobody is there to answer a box: its text goes to the log.
        [&](const std::wstring& text) { log.write(L"Command line: not shown in a box: " + text); }};
    auto ended = [&](int exitCode) {
        log.write(L"Command line: ended with exit code " + std::to_wstring(exitCode) + L".");
        return exitCode;
    };
    if (wipe && askFirst) {
        std::wstring question =
            L"Warning! this will wipe the specified files and delete them. Once this is done they "
            L"cannot be recovered\r\n";
        for (const std::wstring& path : command.paths) question += L"\r\n" + path;
        if (!askFirst(question)) {
            log.write(L"Command line: the wipe was not confirmed; nothing was wiped.");
            return ended(kExitCancelled);
        }
    }
    if (wipe) return ended(runWipe(context, options.quick(), command.paths, tell));
    if (freeSpace) return ended(runFreeSpace(context, command.paths.front(), tell));

    // The keep list and the ticked browser profiles hold for the cookie folder and the browsers.
    loadBrowserChoices(browsers, services.files, services.folders, services.settings,
                       services.errors, log);
    CleanRun run;
    for (const std::size_t row : command.areas) run.areas.push_back(cleanAreas()[row]);
    // The rule file is read only when the applications' area is asked for.
    std::optional<AppRules> apps;
    if (traces && std::find(run.areas.begin(), run.areas.end(), &kAppsArea) != run.areas.end()) {
        apps.emplace(*traces);
        std::vector<std::wstring> lines;
        loadAppRules(*apps, services, lines);
        for (const std::wstring& line : lines) log.write(line);
        state.apps = &*apps;
    }
    run.mode = preview ? CleanMode::preview : CleanMode::clean;
    ConsoleWatch watch(tell, preview);
    run.watch = &watch;
    const bool done = runClean(context, run).done();
    if (preview) {
        tell(done ? L"Nothing was removed.\n"
                  : L"Nothing was removed. Not every area could be listed, or would be cleaned.\n");
    } else if (!done) {
        tell(L"Not everything could be removed; the log says more: " + log.path() + L"\n");
    }
    return ended(done ? kExitDone : kExitIncomplete);
}

}  // namespace purgeon
