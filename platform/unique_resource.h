// Move-only owner of a platform handle, released exactly once through its traits.
#pragma once

#include <utility>

namespace purgeon {

// Traits give the handle type, the value that means "no handle" and how to release one:
//   struct Traits { using Handle = ...; static Handle invalid() noexcept; static void close(Handle)
//   noexcept; };
template <typename Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() noexcept : m_handle(Traits::invalid()) {}
    explicit UniqueResource(Handle handle) noexcept : m_handle(handle) {}
    ~UniqueResource() { reset(); }

    UniqueResource(UniqueResource&& other) noexcept : m_handle(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Handle get() const noexcept { return m_handle; }
    bool valid() const noexcept { return m_handle != Traits::invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    Handle release() noexcept { return std::exchange(m_handle, Traits::invalid()); }

    void reset(Handle handle = Traits::invalid()) noexcept {
        Handle old = std::exchange(m_handle, handle);
        if (old != Traits::invalid()) Traits::close(old);
    }

    // Releases what is held and gives the slot to a function that returns a handle through a
    // pointer.
    Handle* put() noexcept {
        reset();
        return &m_handle;
    }

private:
    Handle m_handle;
};

}  // namespace purgeon
