// Window views that record every call into one shared log, so tests can check order and texts.
#pragma once

#include <map>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"

namespace purgeon::fakes {

using Log = std::vector<std::wstring>;

inline std::wstring ctlName(Ctl control) { return std::to_wstring(static_cast<int>(control)); }

class RecordingMainView : public MainWindowView {
public:
    explicit RecordingMainView(Log& log) : m_log(log) {}
    void show() override { visible = true, m_log.push_back(L"main.show"); }
    void destroy() override { destroyed = true, visible = false, m_log.push_back(L"main.destroy"); }
    void setCaption(const std::wstring& text) override { caption = text; }
    void setText(Ctl control, const std::wstring& text) override {
        texts[static_cast<int>(control)] = text;
    }
    void setValue(Ctl control, int value) override {
        m_log.push_back(L"main.value " + ctlName(control) + L"=" + std::to_wstring(value));
    }
    void selectTab(int index) override { m_log.push_back(L"main.tab " + std::to_wstring(index)); }
    void setStatusText(const std::wstring& text) override { m_log.push_back(L"status:" + text); }
    void setBusy(bool busy) override { m_log.push_back(busy ? L"busy" : L"idle"); }
    void repaint() override { m_log.push_back(L"main.repaint"); }
    void focus(Ctl control) override { m_log.push_back(L"focus " + ctlName(control)); }
    void splitCookieColumns() override { m_log.push_back(L"main.splitCookieColumns"); }
    // Kept apart from the shared log, which tests read for the order of texts and boxes.
    void setOperationRunning(bool running) override { operationStates.push_back(running); }
    void showProgress(int percent, const std::wstring& text) override {
        progress.push_back({percent, text});
    }
    std::vector<bool> operationStates;
    std::vector<std::pair<int, std::wstring>> progress;
    void showCacheRows(const CacheList& list) override {
        m_log.push_back(L"cache.rows " + std::to_wstring(list.rows().size()));
    }
    void showCacheSelection(const CacheList&) override { m_log.push_back(L"cache.selection"); }
    void showCookieRows(const CookieList& list) override {
        m_log.push_back(L"cookies.rows " + std::to_wstring(list.rows().size()));
    }
    void showCookieSelection(const CookieList&) override { m_log.push_back(L"cookies.selection"); }
    void showHistoryRows(const std::vector<HistoryRow>& rows) override {
        historyRows = rows;
        m_log.push_back(L"history.rows " + std::to_wstring(rows.size()));
    }
    void setHistorySortKey(int key) override {
        m_log.push_back(L"history.sort " + std::to_wstring(key));
    }
    // Kept apart from the log: they show with every load of the preferences.
    void showBrowserChoices(const std::vector<std::pair<std::wstring, bool>>& choices) override {
        browserChoices = choices;
    }
    void showKeepList(const std::vector<std::wstring>& sites) override { keepSites = sites; }
    WindowPlacement placement() const override { return place; }
    void restorePlacement(const WindowPlacement& placement) override { restored = placement; }
    WindowPlacement place;
    std::optional<WindowPlacement> restored;
    std::vector<std::pair<std::wstring, bool>> browserChoices;
    std::vector<std::wstring> keepSites;

    bool visible = false;
    bool destroyed = false;
    std::wstring caption;
    std::map<int, std::wstring> texts;
    std::vector<HistoryRow> historyRows;

private:
    Log& m_log;
};

class RecordingSplashView : public SplashView {
public:
    explicit RecordingSplashView(Log& log) : m_log(log) {}
    void show() override { m_log.push_back(L"splash.show"); }
    void destroy() override { m_log.push_back(L"splash.destroy"); }
    void setText(Ctl label, const std::wstring& text) override {
        m_log.push_back(L"splash.text " + ctlName(label) + L"=" + text);
    }
    void repaint(Ctl label) override { m_log.push_back(L"splash.repaint " + ctlName(label)); }

private:
    Log& m_log;
};

class RecordingTrayView : public TrayView {
public:
    explicit RecordingTrayView(Log& log) : m_log(log) {}
    void addIcon(const std::wstring& tip) override { m_log.push_back(L"tray.add " + tip); }
    void removeIcon() override { m_log.push_back(L"tray.remove"); }
    void setTip(const std::wstring& tip) override { tips.push_back(tip); }
    std::vector<std::wstring> tips;
    void popupMenu() override { m_log.push_back(L"tray.menu"); }
    void startClickTimer() override { m_log.push_back(L"tray.timer"); }
    void stopClickTimer() override { m_log.push_back(L"tray.timer.stop"); }
    void destroy() override { m_log.push_back(L"tray.destroy"); }

private:
    Log& m_log;
};

class RecordingCleanUpView : public CleanUpView {
public:
    explicit RecordingCleanUpView(Log& log) : m_log(log) {}
    void showOnTop() override { m_log.push_back(L"working.show"); }
    void setAction(const std::wstring& text) override { m_log.push_back(L"working:" + text); }
    void showProgress(int percent, const std::wstring& text) override {
        progress.push_back({percent, text});
    }
    std::vector<std::pair<int, std::wstring>> progress;
    void destroy() override { m_log.push_back(L"working.destroy"); }

private:
    Log& m_log;
};

class RecordingWindowFactory : public WindowFactory {
public:
    explicit RecordingWindowFactory(Log& log) : m_log(log) {}
    std::unique_ptr<MainWindowView> createMainWindow(FrmMain&) override {
        m_log.push_back(L"main.create");
        auto view = std::make_unique<RecordingMainView>(m_log);
        lastMain = view.get();
        return view;
    }
    std::unique_ptr<SplashView> createSplash(FrmSplash& behaviour) override {
        m_log.push_back(L"splash.create");
        lastSplash = &behaviour;
        return std::make_unique<RecordingSplashView>(m_log);
    }
    std::unique_ptr<TrayView> createTray(FrmTray& behaviour) override {
        m_log.push_back(L"tray.create");
        lastTray = &behaviour;
        auto view = std::make_unique<RecordingTrayView>(m_log);
        lastTrayView = view.get();
        return view;
    }
    std::unique_ptr<CleanUpView> createCleanUp() override {
        m_log.push_back(L"working.create");
        auto view = std::make_unique<RecordingCleanUpView>(m_log);
        lastCleanUp = view.get();
        return view;
    }
    // Operations run on the test's thread; what the user does while one runs happens at its
    // first progress report, as the window's thread would handle it.
    std::unique_ptr<OperationRunner> createRunner() override {
        class Runner : public InlineRunner {
        public:
            explicit Runner(RecordingWindowFactory& factory) : m_factory(factory) {}
            void run(const OperationWork& work, const ProgressView& view) override {
                ++m_factory.operations;
                bool first = true;
                InlineRunner::run(work, [&](const OperationProgress& progress) {
                    view(progress);
                    if (first && m_factory.duringOperation) {
                        first = false;
                        auto action = std::exchange(m_factory.duringOperation, nullptr);
                        action();
                    }
                });
            }

        private:
            RecordingWindowFactory& m_factory;
        };
        return std::make_unique<Runner>(*this);
    }
    void endProgram() override { m_log.push_back(L"end"); }
    void processMessages() override {
        ++pumps;
        if (duringPump) duringPump();
    }

    RecordingMainView* lastMain = nullptr;
    FrmSplash* lastSplash = nullptr;
    FrmTray* lastTray = nullptr;
    RecordingTrayView* lastTrayView = nullptr;
    RecordingCleanUpView* lastCleanUp = nullptr;
    int pumps = 0;
    int operations = 0;
    std::function<void()> duringOperation;  // once, while the next operation runs
    std::function<void()> duringPump;       // what the user does while messages are processed

private:
    Log& m_log;
};

}  // namespace purgeon::fakes
