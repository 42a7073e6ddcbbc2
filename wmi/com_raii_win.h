// Owners for the COM resources the WMI provider handles: interface pointers, BSTRs and
// VARIANTs. Move-only, so a resource is released exactly once.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <new>
#include <string>
#include <utility>

namespace orvalis {

// One reference to a COM interface.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    // Takes over a reference the caller already owns (an out-parameter's, a new object's).
    static ComPtr Adopt(T* pointer) {
        ComPtr result;
        result.p_ = pointer;
        return result;
    }
    // Adds a reference of its own.
    static ComPtr Share(T* pointer) {
        if (pointer) pointer->AddRef();
        return Adopt(pointer);
    }

    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For out-parameters: releases what is held and hands out the slot.
    T** Receive() {
        Reset();
        return &p_;
    }
    // Gives the reference to the caller.
    T* Detach() { return std::exchange(p_, nullptr); }

    void Reset() {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }

    // Another interface of the same object; empty when the object does not answer it.
    template <class U>
    ComPtr<U> Query(REFIID iid) const {
        ComPtr<U> result;
        if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(result.Receive()));
        return result;
    }

  private:
    T* p_ = nullptr;
};

// One BSTR, freed with SysFreeString.
class UniqueBstr {
  public:
    UniqueBstr() = default;
    static UniqueBstr Adopt(BSTR text) {
        UniqueBstr result;
        result.b_ = text;
        return result;
    }
    // Throws std::bad_alloc when the system has no memory for the copy.
    static UniqueBstr FromWide(const std::wstring& text) {
        BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!copy) throw std::bad_alloc();
        return Adopt(copy);
    }

    ~UniqueBstr() { Reset(); }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    UniqueBstr(UniqueBstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        if (this != &other) {
            Reset();
            b_ = std::exchange(other.b_, nullptr);
        }
        return *this;
    }

    BSTR Get() const { return b_; }
    BSTR* Receive() {
        Reset();
        return &b_;
    }
    BSTR Detach() { return std::exchange(b_, nullptr); }
    void Reset() {
        if (BSTR old = std::exchange(b_, nullptr)) SysFreeString(old);
    }
    // The text with any embedded nulls; a null BSTR is the empty text.
    std::wstring ToWide() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

  private:
    BSTR b_ = nullptr;
};

// One VARIANT, emptied with VariantClear (which releases a BSTR, an interface, an array).
class UniqueVariant {
  public:
    UniqueVariant() { VariantInit(&v_); }
    ~UniqueVariant() { VariantClear(&v_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    UniqueVariant(UniqueVariant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    UniqueVariant& operator=(UniqueVariant&& other) noexcept {
        if (this != &other) {
            VariantClear(&v_);
            v_ = other.v_;
            VariantInit(&other.v_);
        }
        return *this;
    }

    // A deep copy (VariantCopy): a new BSTR, one more reference to an interface. On failure
    // this variant is left empty.
    HRESULT CopyFrom(const VARIANT& source) {
        VariantClear(&v_);
        // The source is only read; the headers just lack the const.
        return VariantCopy(&v_, const_cast<VARIANT*>(&source));
    }

    const VARIANT& Get() const { return v_; }
    VARIANT* Receive() {
        VariantClear(&v_);
        return &v_;
    }
    VARTYPE Type() const { return V_VT(&v_); }
    void Clear() { VariantClear(&v_); }

  private:
    VARIANT v_;
};

}  // namespace orvalis
