// Behaviour of the splash window frmSplash, which drives start-up.
#pragma once

#include <string>

#include "app/controls.h"

namespace purgeon {

class Program;

class SplashView {
public:
    virtual ~SplashView() = default;
    virtual void show() = 0;
    virtual void destroy() = 0;
    virtual void setText(Ctl label, const std::wstring& text) = 0;
    // Repaints one label at once, so its text is visible while the next step blocks.
    virtual void repaint(Ctl label) = 0;
};

class FrmSplash {
public:
    explicit FrmSplash(Program& program) : m_program(program) {}
    FrmSplash(const FrmSplash&) = delete;
    FrmSplash& operator=(const FrmSplash&) = delete;

    void attach(SplashView& view) { m_view = &view; }

    void Form_Load();
    // Runs the start-up sequence once, the first time the splash becomes active.
    void Form_Activate();

private:
    void showAction(const std::wstring& text);

    Program& m_program;
    SplashView* m_view = nullptr;
    bool m_activated = false;
};

}  // namespace purgeon
