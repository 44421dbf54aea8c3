// RAII owners for the Win32 handles the program uses.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <objbase.h>
#include <windows.h>
#include <wininet.h>

#include "platform/unique_resource.h"

namespace purgeon::win32 {

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { ::FindClose(h); }
};
struct UrlCacheFindTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::FindCloseUrlCache(h); }
};
struct HkeyTraits {
    using Handle = HKEY;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::RegCloseKey(h); }
};
struct LocalMemTraits {
    using Handle = HLOCAL;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::LocalFree(h); }
};
struct CoTaskMemTraits {
    using Handle = void*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::CoTaskMemFree(h); }
};
struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::InternetCloseHandle(h); }
};
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::DeleteObject(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;
using UniqueUrlCacheFind = UniqueResource<UrlCacheFindTraits>;
using UniqueHkey = UniqueResource<HkeyTraits>;
using UniqueLocalMem = UniqueResource<LocalMemTraits>;
using UniqueCoTaskMem = UniqueResource<CoTaskMemTraits>;
using UniqueInternet = UniqueResource<InternetHandleTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;

// Holds one reference to a COM object.
template <typename Interface>
struct ComTraits {
    using Handle = Interface*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { h->Release(); }
};
template <typename Interface>
using ComPtr = UniqueResource<ComTraits<Interface>>;

// Initialises COM on the calling thread for as long as it lives.
class ComApartment {
public:
    ComApartment() noexcept
        : m_ok(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (m_ok) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_ok;
};

}  // namespace purgeon::win32
