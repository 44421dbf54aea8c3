// The command line's run: a program without windows, the areas' steps, the summary, the exit code.
#include "app/clean_command.h"

#include <stdexcept>

#include "app/clean_areas.h"
#include "app/command_line.h"
#include "app/program.h"
#include "prefs/preferences.h"
#include "product/product.h"
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

std::wstring joinedArguments(const std::vector<std::wstring>& arguments) {
    std::wstring text;
    for (const std::wstring& argument : arguments) text += (text.empty() ? L"" : L" ") + argument;
    return text;
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
    if (command.action != CommandAction::clean && command.action != CommandAction::preview) {
        log.write(L"Command line not understood (" + joinedArguments(arguments) + L"): " +
                  command.error);
        tell(command.error + L"\n\n" + usageText());
        return kExitBadArguments;
    }

    const bool preview = command.action == CommandAction::preview;
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
                   services.pickers};
    NoWindows windows;
    Program program(quiet, windows);
    const std::wstring product = std::wstring(kAppTitle).substr(1);
    program.log().write(product + L" " + versionText(services.appInfo.version()) +
                        (preview ? L": preview from the command line ("
                                 : L": cleaning run from the command line (") +
                        joinedArguments(arguments) + L")" +
                        (preview ? L"; nothing is removed." : L"."));

    StoredOptions options;
    program.logFailure(L"Preferences: not all could be read",
                       readStoredPrefs(services.settings, kAppTitle, options));
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
