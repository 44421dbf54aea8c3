// Window class registration and creation of the views.
#include "app/win32/window_factory.h"

#include <stdexcept>

#include "app/win32/main_window_view.h"
#include "app/win32/splash_view.h"
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
}

std::unique_ptr<MainWindowView> Win32WindowFactory::createMainWindow(FrmMain& behaviour) {
    if (m_program == nullptr) throw std::logic_error("window factory has no program");
    return std::make_unique<Win32MainWindowView>(m_instance, *m_program, behaviour);
}

std::unique_ptr<SplashView> Win32WindowFactory::createSplash(FrmSplash& behaviour) {
    return std::make_unique<Win32SplashView>(m_instance, behaviour);
}

}  // namespace purgeon::win32
