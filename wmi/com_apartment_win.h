// COM for the current thread, for the life of the object: the program holds one for its
// whole run, created before the main window. The result of CoInitialize is ignored (COM may
// already be set up differently on this thread); only a successful one is balanced.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace orvalis {

class ComApartment {
  public:
    ComApartment() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (initialized_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    // Moving hands the duty to uninitialise to the new object (use it on the same thread).
    ComApartment(ComApartment&& other) noexcept : initialized_(other.initialized_) {
        other.initialized_ = false;
    }
    ComApartment& operator=(ComApartment&&) = delete;

    bool Initialized() const { return initialized_; }

  private:
    bool initialized_;
};

}  // namespace orvalis
