// Window views that record every call into one shared log, so tests can check order and texts.
#pragma once

#include <map>
#include <memory>
#include <string>
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
    void showCacheRows(const CacheList& list) override {
        m_log.push_back(L"cache.rows " + std::to_wstring(list.rows().size()));
    }
    void showCacheSelection(const CacheList&) override { m_log.push_back(L"cache.selection"); }

    bool visible = false;
    bool destroyed = false;
    std::wstring caption;
    std::map<int, std::wstring> texts;

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
    RecordingMainView* lastMain = nullptr;
    FrmSplash* lastSplash = nullptr;

private:
    Log& m_log;
};

}  // namespace purgeon::fakes
