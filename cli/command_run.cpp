// The command line's dispatch: the arguments read, the log told, the switch's run started.
#include "cli/command_run.h"

#include "clean/failure_text.h"
#include "prefs/stored_options.h"
#include "product/product.h"

namespace purgeon {

int runCommandLine(const std::vector<std::wstring>& arguments, CleanServices& services,
                   ConsoleOutput& console, const AskFirst& askFirst, TraceSystem* traces,
                   WindowsTraces* windowsTraces) {
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
    if (!command.given) {
        log.write(L"Command line not understood (" + argumentsForLog(arguments) + L"): " +
                  command.error);
        tell(command.error + L"\n\n" + usageText());
        return kExitBadArguments;
    }
    const CommandSwitch& given = *command.given;
    std::wstring started = given.logLine ? given.logLine : L"";
    if (const size_t at = started.find(L"<arguments>"); at != std::wstring::npos)
        started.replace(at, 11, argumentsForLog(arguments));
    if (given.logLine) {
        log.write(std::wstring(kProductName) + L" " + versionText(services.appInfo.version()) +
                  L": " + started);
    }

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
    CommandRun run{command, context, tell, askFirst, traces, windowsTraces};
    const int exitCode = given.run(run);
    if (given.logLine)
        log.write(L"Command line: ended with exit code " + std::to_wstring(exitCode) + L".");
    return exitCode;
}

}  // namespace purgeon
