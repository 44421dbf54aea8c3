// Creates the program's Win32 windows for the behaviour classes.
#pragma once

#include "app/program.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

class Win32WindowFactory : public WindowFactory {
public:
    // Registers the window classes, with the program's icon.
    explicit Win32WindowFactory(HINSTANCE instance);

    // The program the windows report to, such as the main window's close box.
    void attach(Program& program) { m_program = &program; }

    std::unique_ptr<MainWindowView> createMainWindow(FrmMain& behaviour) override;
    std::unique_ptr<SplashView> createSplash(FrmSplash& behaviour) override;

private:
    HINSTANCE m_instance;
    Program* m_program = nullptr;
};

}  // namespace purgeon::win32
