// Window class registration, creation of the views, and the handing out of messages.
#include "app/win32/window_factory.h"

#include <stdexcept>

#include "app/win32/clean_up_view.h"
#include "app/win32/main_window_view.h"
#include "app/win32/splash_view.h"
#include "app/win32/tray_view.h"
#include "app/threaded_runner.h"
#include "resource.h"

namespace purgeon::win32 {

Win32WindowFactory::Win32WindowFactory(HINSTANCE instance) : m_instance(instance) {
    // Shared icons from the module's resources: the system owns them, nothing to release.
    const auto icon = static_cast<HICON>(::LoadImageW(
        instance, MAKEINTRESOURCEW(IDI_PURGEON), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    const auto smallIcon = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_PURGEON), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    Win32MainWindowView::registerClass(instance, icon, smallIcon);
    Win32SplashView::registerClass(instance, icon, smallIcon);
    Win32TrayView::registerClass(instance, icon, smallIcon);
    Win32CleanUpView::registerClass(instance, icon, smallIcon);
}

std::unique_ptr<MainWindowView> Win32WindowFactory::createMainWindow(FrmMain& behaviour) {
    if (m_program == nullptr) throw std::logic_error("window factory has no program");
    return std::make_unique<Win32MainWindowView>(m_instance, *m_program, behaviour);
}

std::unique_ptr<SplashView> Win32WindowFactory::createSplash(FrmSplash& behaviour) {
    return std::make_unique<Win32SplashView>(m_instance, behaviour);
}

std::unique_ptr<TrayView> Win32WindowFactory::createTray(FrmTray& behaviour) {
    return std::make_unique<Win32TrayView>(m_instance, behaviour);
}

std::unique_ptr<CleanUpView> Win32WindowFactory::createCleanUp() {
    return std::make_unique<Win32CleanUpView>(m_instance);
}

void Win32WindowFactory::endProgram() { ::PostQuitMessage(0); }

void Win32WindowFactory::processMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The message loop must still see it and end.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatchMessage(message);
    }
}

void Win32WindowFactory::waitForMessages(std::chrono::milliseconds most) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(most.count()), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
    processMessages();
}

std::unique_ptr<OperationRunner> Win32WindowFactory::createRunner() {
    return std::make_unique<ThreadedRunner>(
        [this](std::chrono::milliseconds most) { waitForMessages(most); });
}

std::unique_ptr<ListingRunner> Win32WindowFactory::createListingRunner() {
    if (!m_listings) m_listings = std::make_unique<ListingWindow>(m_instance);
    return m_listings->create([this](std::chrono::milliseconds most) { waitForMessages(most); });
}

void dispatchMessage(MSG& message) {
    // The main window's handle changes when it is unloaded and loaded again, so it is recognised
    // by its class, message by message.
    const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    if (Win32MainWindowView::isMainWindow(root) &&
        (Win32MainWindowView::translateKey(root, message) || ::IsDialogMessageW(root, &message)))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

}  // namespace purgeon::win32
