// Device contexts and selected GDI objects held for the lifetime of a guard.
#pragma once

#include "platform/win32/handles.h"

namespace purgeon::win32 {

// A window's device context.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDc() {
        if (m_dc != nullptr) ::ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A memory device context.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) : m_dc(::CreateCompatibleDC(compatible)) {}
    ~MemoryDc() {
        if (m_dc != nullptr) ::DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HDC m_dc;
};

// An object selected into a device context; the one it replaced goes back in afterwards.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(m_dc, m_previous); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace purgeon::win32
