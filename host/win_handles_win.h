// Move-only owners of the Windows handles the host services open: kernel handles, file
// searches, registry keys and allocated security identifiers.
#pragma once

#include <windows.h>

#include <utility>

namespace orvalis {

// One owner type per kind of handle; Traits gives the empty value and the release call.
template <typename Traits>
class UniqueWinHandle {
  public:
    using Handle = typename Traits::Handle;

    UniqueWinHandle() = default;
    explicit UniqueWinHandle(Handle handle) : handle_(handle) {}
    UniqueWinHandle(const UniqueWinHandle&) = delete;
    UniqueWinHandle& operator=(const UniqueWinHandle&) = delete;
    UniqueWinHandle(UniqueWinHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, Traits::Empty())) {}
    UniqueWinHandle& operator=(UniqueWinHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, Traits::Empty());
        }
        return *this;
    }
    ~UniqueWinHandle() { Reset(); }

    Handle Get() const { return handle_; }
    bool Valid() const { return handle_ != Traits::Empty(); }
    // For system calls that return the handle through an out-parameter.
    Handle* Receive() {
        Reset();
        return &handle_;
    }
    // Gives up ownership, for a release whose result matters to the caller.
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }
    void Reset() {
        if (Valid()) Traits::Release(handle_);
        handle_ = Traits::Empty();
    }

  private:
    Handle handle_ = Traits::Empty();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { CloseHandle(h); }
};

// CreateFile returns INVALID_HANDLE_VALUE, not null, when it fails.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle h) { FindClose(h); }
};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { RegCloseKey(h); }
};

struct AllocatedSidTraits {
    using Handle = PSID;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { FreeSid(h); }
};

using UniqueKernelHandle = UniqueWinHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueWinHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueWinHandle<FindHandleTraits>;
using UniqueRegistryKey = UniqueWinHandle<RegistryKeyTraits>;
using UniqueSid = UniqueWinHandle<AllocatedSidTraits>;

}  // namespace orvalis
