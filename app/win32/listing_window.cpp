// The listings' wake-up window: a posted message makes it apply what every listing handed over.
#include "app/win32/listing_window.h"

#include <algorithm>
#include <stdexcept>

#include "app/threaded_listing.h"
#include "app/win32/view_support.h"

namespace purgeon::win32 {

namespace {

constexpr wchar_t kClassName[] = L"PurgeonListing";
constexpr UINT kMsgDrain = WM_APP + 7;

}  // namespace

class ListingWindow::Listing : public ThreadedListing {
public:
    Listing(ListingWindow& owner, MessageWait wait, HWND window)
        : ThreadedListing(std::move(wait), [window] { ::PostMessageW(window, kMsgDrain, 0, 0); }),
          m_owner(owner) {
        m_owner.m_live.push_back(this);
    }
    ~Listing() override {
        stop();
        auto& live = m_owner.m_live;
        live.erase(std::remove(live.begin(), live.end(), this), live.end());
    }

private:
    ListingWindow& m_owner;
};

ListingWindow::ListingWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &ListingWindow::procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass);  // already registered is fine
    m_window = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                 nullptr);
    if (m_window == nullptr) throw std::runtime_error("listing window");
    ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ListingWindow::~ListingWindow() {
    if (m_window != nullptr) {
        ::SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        ::DestroyWindow(m_window);
    }
}

std::unique_ptr<ListingRunner> ListingWindow::create(MessageWait wait) {
    return std::make_unique<Listing>(*this, std::move(wait), m_window);
}

void ListingWindow::drainAll() {
    // A batch may end a listing (or start one): each is looked up again before it drains.
    const std::vector<Listing*> live = m_live;
    for (Listing* listing : live) {
        if (std::find(m_live.begin(), m_live.end(), listing) == m_live.end()) continue;
        guarded([&] { listing->drain(); });
    }
}

LRESULT CALLBACK ListingWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMsgDrain) {
        auto* self = reinterpret_cast<ListingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr) self->drainAll();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace purgeon::win32
