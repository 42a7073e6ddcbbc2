// The COM side of a WmiValue object reference: what ComWmiProvider hands out and takes back.
#pragma once

#include "wmi/com_raii_win.h"
#include "wmi/wmi_value.h"

namespace orvalis {

// An automation object or another VARIANT that has no portable kind (an array). It holds its
// own copy of the VARIANT, so the object stays alive as long as a WmiValue refers to it.
class ComObject final : public WmiObject {
  public:
    explicit ComObject(UniqueVariant value) : value_(std::move(value)) {}

    const VARIANT& Variant() const { return value_.Get(); }
    // The object's IDispatch: the one it was delivered as, else asked for (VT_UNKNOWN).
    // Empty for arrays and for objects without one.
    ComPtr<IDispatch> Dispatch() const;

  private:
    UniqueVariant value_;
};

// An enumerator from _NewEnum, read one element at a time.
class ComEnumerator final : public WmiObject {
  public:
    explicit ComEnumerator(ComPtr<IEnumVARIANT> enumerator) : enumerator_(std::move(enumerator)) {}
    IEnumVARIANT* Get() const { return enumerator_.Get(); }

  private:
    ComPtr<IEnumVARIANT> enumerator_;
};

}  // namespace orvalis
