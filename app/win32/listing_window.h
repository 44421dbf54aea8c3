// A message-only window that applies the listings' batches on the window's thread when a worker
// has handed some over.
#pragma once

#include <memory>
#include <vector>

#include "app/listing.h"
#include "app/threaded_runner.h"
#include "platform/win32/handles.h"

namespace purgeon::win32 {

class ListingWindow {
public:
    explicit ListingWindow(HINSTANCE instance);
    ~ListingWindow();
    ListingWindow(const ListingWindow&) = delete;
    ListingWindow& operator=(const ListingWindow&) = delete;

    // A listing whose worker wakes this window; the window's thread waits through wait.
    std::unique_ptr<ListingRunner> create(MessageWait wait);

private:
    class Listing;
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void drainAll();

    HWND m_window = nullptr;
    std::vector<Listing*> m_live;  // touched on the window's thread only
};

}  // namespace purgeon::win32
