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
    // Has the behaviour's nextStep() called from the message loop, once the messages waiting now
    // have been handled.
    virtual void continueLater() = 0;
};

class FrmSplash {
public:
    explicit FrmSplash(Program& program) : m_program(program) {}
    FrmSplash(const FrmSplash&) = delete;
    FrmSplash& operator=(const FrmSplash&) = delete;

    void attach(SplashView& view) { m_view = &view; }

    void Form_Load();
    // Starts the start-up sequence, the first time the splash becomes active. It goes on a step
    // at a time (nextStep), each from the message loop, so that the program answers in between.
    void Form_Activate();
    void nextStep();

private:
    enum class Step { mainWindow, preferencesAndRun };

    void step();
    void showAction(const std::wstring& text);

    Program& m_program;
    SplashView* m_view = nullptr;
    bool m_activated = false;
    Step m_step = Step::mainWindow;
};

}  // namespace purgeon
