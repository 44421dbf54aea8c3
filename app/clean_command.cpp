// The command line's run: a program without windows, the areas' steps or the wipes, what came of
// them, the exit code.
#include "app/clean_command.h"

#include <cwctype>
#include <functional>
#include <stdexcept>
#include <utility>

#include "app/clean_areas.h"
#include "app/command_line.h"
#include "app/program.h"
#include "prefs/preferences.h"
#include "product/product.h"
#include "wipe/chosen_wipe.h"
#include "wipe/folder_guard.h"
#include "wipe/free_space_report.h"
#include "wipe/wipe_report.h"

namespace purgeon {

namespace {

// A run from the command line has no windows; anything that would make one is a fault.
class NoWindows : public WindowFactory {
public:
    std::unique_ptr<MainWindowView> createMainWindow(FrmMain&) override {
        return refuse<MainWindowView>();
    }
    std::unique_ptr<SplashView> createSplash(FrmSplash&) override { return refuse<SplashView>(); }
    std::unique_ptr<TrayView> createTray(FrmTray&) override { return refuse<TrayView>(); }
    std::unique_ptr<CleanUpView> createCleanUp() override { return refuse<CleanUpView>(); }
    void endProgram() override {}
    void processMessages() override {}

private:
    template <typename View>
    static std::unique_ptr<View> refuse() {
        throw std::logic_error("a window was asked for in a run from the command line");
    }
};

// Nobody is there to answer a box: its text goes to the log, and the answer is the cautious one.
class LoggedDialogs : public Dialogs {
public:
    explicit LoggedDialogs(LogFile& file) : m_log(file) {}
    int messageBox(const std::wstring& text, const std::wstring&, unsigned style) override {
        m_log.write(L"Command line: not shown in a box: " + text);
        const unsigned buttons = style & 0xF;
        if (buttons == kMbYesNo) return kIdNo;
        return buttons == kMbOk ? kIdOk : kIdCancel;
    }

private:
    RunLog m_log;
};

// The stored options as the exit-time run reads them into a window that was not loaded.
class StoredOptions : public OptionControls {
public:
    int checkBox(size_t row) const override { return m_boxes.at(row); }
    void setCheckBox(size_t row, int value) override { m_boxes.at(row) = value; }
    bool quick() const override { return m_quick; }
    void setQuick(bool selected) override { m_quick = selected; }
    void setDod(bool) override {}

    int checkBox(const wchar_t* key) const {
        for (size_t row = 0; row < kCheckBoxKeys.size(); ++row)
            if (std::wstring(kCheckBoxKeys[row]) == key) return m_boxes[row];
        return 0;
    }

private:
    std::array<int, kCheckBoxKeys.size()> m_boxes{};
    bool m_quick = true;
};

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

// The system's words for a failure, without their closing line break.
std::wstring systemWords(SystemErrors& errors, const Status& status) {
    if (status.ok()) return {};
    std::wstring words = errors.text(status.code);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n')) words.pop_back();
    return words;
}

// A box's line breaks as the console's.
std::wstring consoleLines(std::wstring text) {
    for (size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;) text.erase(at, 1);
    return text + L"\n";
}

using Tell = std::function<void(const std::wstring&)>;

// Each path as the Secure Wipe tab wipes it, with no question: a folder through the folder guard
// and every file below it, a file alone. What was wiped is never named, on the console (which
// may be a file) nor in the log: a path is told by its place on the line. What was not wiped is
// named on the console, with why; the log gets counts only.
int runWipe(Program& program, bool quick, const std::vector<std::wstring>& paths,
            const Tell& tell) {
    Services& s = program.services();
    const WipeMethod method = chosenWipeMethod(quick);
    WipeTally tally;
    std::size_t refused = 0;
    std::size_t unlistedFolders = 0;
    for (std::size_t place = 0; place < paths.size(); ++place) {
        const std::wstring& path = paths[place];
        const std::wstring item = L"Item " + std::to_wstring(place + 1);
        std::wstring final;
        if (s.files.resolveFolder(path, final)) {
            const FolderCheck check = checkFolder(s.files, s.folders, path, FolderUse::wipe);
            if (!check.allowed()) {
                ++refused;
                tell(check.folder + L" cannot be wiped: " + refusalReason(check) + L".\n");
                continue;
            }
            std::vector<std::pair<std::wstring, ShredResult>> notWiped;
            FolderWipe wiped;
            program.runOperation(L"wiping files", [&](std::stop_token stop, ProgressSink& sink) {
                BatchRequest request;
                request.method = method;
                request.threads = program.flushThreads;
                request.stop = stop;
                request.progress = progressTo(sink);
                request.outcome = [&](const std::wstring& file, const ShredResult& result) {
                    if (result.outcome != ShredOutcome::wiped) notWiped.emplace_back(file, result);
                };
                wiped = WipeChosenFolder(s.files, program.foundFiles(), check.folder, request);
            });
            const WipeTally& folderTally = wiped.result.tally;
            tell(item + L" (a folder): " + std::to_wstring(folderTally.wiped()) +
                 L" file(s) wiped" +
                 (folderTally.notWiped() > 0
                      ? L", " + std::to_wstring(folderTally.notWiped()) + L" not wiped:\n"
                      : std::wstring(L".\n")));
            for (const auto& [file, result] : notWiped)
                tell(L"  " + fileWipeMessage(file, result, systemWords(s.errors, result.status)) +
                     L"\n");
            for (const UnlistedFolder& folder : wiped.unlisted) {
                tell(L"  " + folder.path + L" could not be listed: " +
                     systemWords(s.errors, folder.status) + L"\n");
            }
            for (int outcome = 0; outcome < kShredOutcomeCount; ++outcome) {
                const auto each = static_cast<ShredOutcome>(outcome);
                tally.add(each, folderTally.count(each));
            }
            unlistedFolders += wiped.unlisted.size();
            continue;
        }
        std::uint64_t bytes = 0;
        if (const Status found = s.files.fileSize(path, bytes);
            found.code == kErrorFileNotFound || found.code == kErrorPathNotFound) {
            ++refused;
            tell(path + L" could not be wiped: there is no such file or folder.\n");
            continue;
        }
        ShredResult result{ShredOutcome::notReached, {}};
        program.runOperation(L"wiping a file", [&](std::stop_token stop, ProgressSink& sink) {
            result = WipeChosenFile(s.files, path, method, stop, progressTo(sink));
        });
        tally.add(result.outcome);
        tell(result.outcome == ShredOutcome::wiped
                 ? item + L" (a file) wiped.\n"
                 : fileWipeMessage(path, result, systemWords(s.errors, result.status)) + L"\n");
    }
    std::wstring line = L"Command line: wipe: " + std::to_wstring(tally.wiped()) +
                        L" file(s) wiped, " + std::to_wstring(tally.notWiped()) + L" not wiped";
    if (tally.notWiped() > 0) line += L" (" + tally.notWipedDetails() + L")";
    if (refused > 0) line += L"; " + std::to_wstring(refused) + L" path(s) refused or missing";
    if (unlistedFolders > 0)
        line += L"; " + std::to_wstring(unlistedFolders) + L" folder(s) could not be listed";
    program.log().write(line + L".");
    return tally.notWiped() == 0 && refused == 0 && unlistedFolders == 0 ? kExitDone
                                                                         : kExitIncomplete;
}

// The free space of the volume the folder names, with no question.
int runFreeSpace(Program& program, const std::wstring& folder, const Tell& tell) {
    Services& s = program.services();
    const FreeSpaceTarget target = findFreeSpaceTarget(s.files, s.volumes, folder);
    if (!target.allowed()) {
        tell(freeSpaceRefusal(target) + L"\n");
        program.log().write(target.root.empty()
                                ? std::wstring(L"Free space: not wiped: the folder named was "
                                               L"refused.")
                                : L"Free space: not wiped: " + freeSpaceRefusal(target));
        return kExitIncomplete;
    }
    VolumeSpace space;
    static_cast<void>(s.volumes.space(target.root, space));
    tell(L"Wiping the free space of " + target.root + L" (" + sizeText(space.freeBytes) +
         L" free)...\n");
    FreeSpaceResult result;
    program.wipeFreeSpace(target.root, result);
    tell(consoleLines(freeSpaceMessage(target.root, result, systemWords(s.errors, result.status))));
    return result.outcome == FillOutcome::filled && result.notRemoved == 0 ? kExitDone
                                                                           : kExitIncomplete;
}

std::wstring summaryLine(const CleanArea& area, const AreaOutcome& outcome, bool preview) {
    std::wstring line = std::wstring(area.title) + L": ";
    if (!outcome.ran)
        return line + (preview ? L"would be left alone: " : L"not cleaned: ") + outcome.why + L".";
    if (outcome.count) {
        line +=
            std::to_wstring(*outcome.count) + L" " + (*outcome.count == 1 ? area.one : area.many);
        if (outcome.bytes) line += L" (" + sizeText(*outcome.bytes) + L")";
        line += preview ? L" would be removed" : L" removed";
    } else {
        line += preview ? L"would be cleaned" : L"cleaned";
    }
    if (!outcome.place.empty()) line += L" from " + outcome.place;
    if (!outcome.why.empty()) line += L"; " + outcome.why;
    return line + L".";
}

}  // namespace

int runCommandLine(const std::vector<std::wstring>& arguments, Services& services,
                   ConsoleOutput& console) {
    RunLog log(services.logFile);
    // The first failure to write to the console goes to the log; there is nowhere else to tell.
    bool toldFailure = false;
    auto tell = [&](const std::wstring& text) {
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
    LoggedDialogs dialogs(services.logFile);
    Services quiet{dialogs,
                   services.shell,
                   services.appInfo,
                   services.instance,
                   services.urlCache,
                   services.registry,
                   services.errors,
                   services.settings,
                   services.files,
                   services.folders,
                   services.history,
                   services.dates,
                   services.downloader,
                   services.logFile,
                   services.pickers,
                   services.volumes};
    NoWindows windows;
    Program program(quiet, windows);
    const std::wstring product = std::wstring(kAppTitle).substr(1);
    const wchar_t* kind = preview     ? L": preview from the command line ("
                          : wipe      ? L": wipe from the command line ("
                          : freeSpace ? L": free-space wipe from the command line ("
                                      : L": cleaning run from the command line (";
    program.log().write(product + L" " + versionText(services.appInfo.version()) + kind +
                        joinedArguments(arguments) + L")" +
                        (preview ? L"; nothing is removed." : L"."));

    StoredOptions options;
    program.logFailure(L"Preferences: not all could be read",
                       readStoredPrefs(services.settings, kAppTitle, options));
    if (wipe || freeSpace) {
        const int exitCode = wipe ? runWipe(program, options.quick(), command.paths, tell)
                                  : runFreeSpace(program, command.paths.front(), tell);
        program.log().write(L"Command line: ended with exit code " + std::to_wstring(exitCode) +
                            L".");
        return exitCode;
    }
    // The keep list and the ticked browser profiles hold for the cookie folder and the browsers.
    program.logFailure(
        L"Browsers: the choices could not be read",
        program.browsers().load(services.files, services.folders, services.settings, kAppTitle));
    AreaRun run{program, options.checkBox(L"delcachedpasswords") == 1};

    bool done = true;
    for (const std::size_t row : command.areas) {
        const CleanArea& area = cleanAreas()[row];
        const AreaOutcome outcome = preview ? area.preview(run) : area.clean(run);
        done = done && outcome.done;
        tell(summaryLine(area, outcome, preview) + L"\n");
    }
    const int exitCode = done ? kExitDone : kExitIncomplete;
    if (preview) {
        tell(done ? L"Nothing was removed.\n"
                  : L"Nothing was removed. Not every area could be listed, or would be cleaned.\n");
    } else if (!done) {
        tell(L"Not everything could be removed; the log says more: " + program.log().path() +
             L"\n");
    }
    program.log().write(L"Command line: ended with exit code " + std::to_wstring(exitCode) + L".");
    return exitCode;
}

}  // namespace purgeon
