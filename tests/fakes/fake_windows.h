// Window views that record every call into one shared log, so tests can check order and texts.
#pragma once

#include <algorithm>
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

// The Applications tab's rows, rule file text and automatic box, as last shown.
class RecordingApplicationsView : public ApplicationsView {
public:
    void showRows(const std::vector<AppRow>& shown) override { rows = shown; }
    void showTick(std::size_t row, bool ticked) override { rows.at(row).ticked = ticked; }
    void showRuleFile(const std::wstring& text, bool offer) override {
        ruleText = text;
        offerRules = offer;
    }
    void showAutomatic(bool ticked) override { automatic = ticked; }
    std::vector<AppRow> rows;
    std::wstring ruleText;
    bool offerRules = false;
    bool automatic = false;
};

class RecordingMainView : public MainWindowView {
public:
    RecordingMainView(Log& log, FrmMain& behaviour, int parts)
        : m_log(log), m_behaviour(behaviour), m_partsLeft(parts) {}
    // Made in as many parts as the factory was told (mainParts), whole at the last.
    bool buildPart() override { return --m_partsLeft <= 0; }
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
    void splitColumns(Ctl list) override { m_log.push_back(L"main.splitColumns " + ctlName(list)); }
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
    void showCacheTexts(const CacheList&) override { m_log.push_back(L"cache.texts"); }
    void showCookieRows(const CookieList& list) override {
        m_log.push_back(L"cookies.rows " + std::to_wstring(list.rows().size()));
    }
    void showCookieSelection(const CookieList&) override { m_log.push_back(L"cookies.selection"); }
    // The rows as the list would show them, every column's text asked of the behaviour.
    void showHistoryRows(const HistoryList& list) override {
        historyRows.clear();
        for (std::size_t place = 0; place < list.size(); ++place) {
            HistoryRow row;
            for (std::size_t column = 0; column < kHistoryColumns; ++column)
                row[column] = m_behaviour.historyText(place, column);
            historyRows.push_back(std::move(row));
        }
        m_log.push_back(L"history.rows " + std::to_wstring(list.size()));
    }
    // Kept apart from the log: they show with every load of the preferences.
    void showBrowserChoices(const std::vector<std::pair<std::wstring, bool>>& choices) override {
        browserChoices = choices;
    }
    void showKeepList(const std::vector<std::wstring>& sites) override { keepSites = sites; }
    WindowPlacement placement() const override { return place; }
    void restorePlacement(const WindowPlacement& placement) override { restored = placement; }
    ApplicationsView& applicationsView() override { return applications; }
    RecordingApplicationsView applications;
    std::vector<int> columnWidths(Ctl list) const override {
        const auto found = widths.find(list);
        return found == widths.end() ? std::vector<int>{} : found->second;
    }
    void setColumnWidths(Ctl list, const std::vector<int>& set) override {
        widths[list] = set;
        m_log.push_back(L"main.columns " + ctlName(list));
    }
    std::map<Ctl, std::vector<int>> widths;
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
    FrmMain& m_behaviour;
    int m_partsLeft;
};

class RecordingSplashView : public SplashView {
public:
    RecordingSplashView(Log& log, bool& stepWaiting) : m_log(log), m_stepWaiting(stepWaiting) {}
    void show() override { m_log.push_back(L"splash.show"); }
    void destroy() override { m_log.push_back(L"splash.destroy"); }
    void setText(Ctl label, const std::wstring& text) override {
        m_log.push_back(L"splash.text " + ctlName(label) + L"=" + text);
    }
    void repaint(Ctl label) override { m_log.push_back(L"splash.repaint " + ctlName(label)); }
    void continueLater() override { m_stepWaiting = true; }

private:
    Log& m_log;
    bool& m_stepWaiting;
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
    std::unique_ptr<MainWindowView> createMainWindow(FrmMain& behaviour) override {
        m_log.push_back(L"main.create");
        auto view = std::make_unique<RecordingMainView>(m_log, behaviour, mainParts);
        lastMain = view.get();
        return view;
    }
    int mainParts = 1;
    std::unique_ptr<SplashView> createSplash(FrmSplash& behaviour) override {
        m_log.push_back(L"splash.create");
        lastSplash = &behaviour;
        return std::make_unique<RecordingSplashView>(m_log, splashStepWaiting);
    }
    // The splash becomes active: start-up runs, each step from the message loop as the splash
    // asks for it, at most the given number of steps (all by default).
    void activateSplash(int steps = -1) {
        lastSplash->Form_Activate();
        runSplashSteps(steps);
    }
    void runSplashSteps(int steps = -1) {
        for (; splashStepWaiting && steps != 0; --steps) {
            splashStepWaiting = false;
            lastSplash->nextStep();
        }
    }
    bool splashStepWaiting = false;
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
    // Listings run at once, unless held: then each waits for runHeldListings (or for the window
    // to wait for it, when duringListingWait lets it run).
    class HeldListing : public ListingRunner {
    public:
        explicit HeldListing(RecordingWindowFactory& factory) : m_factory(factory) {}
        ~HeldListing() override { forget(); }
        void start(ListingWork work, ListingBatch done) override {
            forget();
            m_work = std::move(work);
            m_done = std::move(done);
            m_factory.held.push_back(this);
        }
        bool running() const override { return static_cast<bool>(m_work); }
        void wait() override {
            if (m_work && m_factory.duringListingWait) m_factory.duringListingWait();
        }
        void stop() override { forget(); }
        void run() {
            ListingWork work = std::move(m_work);
            ListingBatch done = std::move(m_done);
            m_work = nullptr;
            forget();
            work(std::stop_token(), [](ListingBatch batch) { batch(); });
            if (done) done();
        }

    private:
        void forget() {
            m_work = nullptr;
            auto& held = m_factory.held;
            held.erase(std::remove(held.begin(), held.end(), this), held.end());
        }
        RecordingWindowFactory& m_factory;
        ListingWork m_work;
        ListingBatch m_done;
    };
    std::unique_ptr<ListingRunner> createListingRunner() override {
        if (!holdListings) return std::make_unique<InlineListing>();
        return std::make_unique<HeldListing>(*this);
    }
    void runHeldListings() {
        while (!held.empty()) held.front()->run();
    }
    bool holdListings = false;
    std::vector<HeldListing*> held;
    std::function<void()> duringListingWait;

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
