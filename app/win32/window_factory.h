// Creates the program's Win32 windows for the behaviour classes, and hands out their messages.
#pragma once

#include <chrono>

#include <memory>

#include "app/program.h"
#include "app/win32/listing_window.h"
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
    std::unique_ptr<TrayView> createTray(FrmTray& behaviour) override;
    std::unique_ptr<CleanUpView> createCleanUp() override;
    void endProgram() override;
    void processMessages() override;
    // Long operations on a worker thread, the window's thread handling messages meanwhile.
    std::unique_ptr<OperationRunner> createRunner() override;
    // The tabs' listings on worker threads, their rows applied as the window's thread gets them.
    std::unique_ptr<ListingRunner> createListingRunner() override;
    // Waits until messages arrive (at most this long), then handles them.
    void waitForMessages(std::chrono::milliseconds most);

private:
    HINSTANCE m_instance;
    Program* m_program = nullptr;
    std::unique_ptr<ListingWindow> m_listings;
};

// Hands one message to its window; the main window gets dialog keys (Tab, arrows, Alt+letter).
void dispatchMessage(MSG& message);

}  // namespace purgeon::win32
