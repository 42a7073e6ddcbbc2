#include "wmi/uWin32_PhysicalMemoryArray.h"

#include <utility>

#include "wmi/wmi_converters.h"

namespace orvalis {

TWin32_PhysicalMemoryArray::TWin32_PhysicalMemoryArray(bool load, WmiProviderRef provider)
    : TWmiClass(DeferLoad{}, "root\\CIMV2", "Win32_PhysicalMemoryArray", std::move(provider)) {
    // Loaded here, not in the base constructor, so that the load reaches our override.
    LoadIfAsked(load);
}

void TWin32_PhysicalMemoryArray::SetCollectionIndex(int32_t index) {
    // Bounded by the stored instances, loaded or not; CurrentIndex moves before any read so
    // that a conversion error leaves the earlier fields new and the later ones old.
    if (index < 0 || index > StoredInstanceCount() - 1 || index == CurrentIndex) return;
    CurrentIndex = index;
    Caption = WmiToString(GetValue("Caption"));
    CreationClassName = WmiToString(GetValue("CreationClassName"));
    Depth = WmiToDouble(GetValue("Depth"));
    Description = WmiToString(GetValue("Description"));
    Height = WmiToDouble(GetValue("Height"));
    HotSwappable = WmiToBoolean(GetValue("HotSwappable"));
    InstallDate = WmiToDateTime(GetValue("InstallDate"));
    Location = WmiToUInt16(GetValue("Location"));
    Manufacturer = WmiToString(GetValue("Manufacturer"));
    MaxCapacity = WmiToUInt32(GetValue("MaxCapacity"));
    MemoryDevices = WmiToUInt16(GetValue("MemoryDevices"));
    MemoryErrorCorrection = WmiToUInt16(GetValue("MemoryErrorCorrection"));
    Model = WmiToString(GetValue("Model"));
    Name = WmiToString(GetValue("Name"));
    OtherIdentifyingInfo = WmiToString(GetValue("OtherIdentifyingInfo"));
    PartNumber = WmiToString(GetValue("PartNumber"));
    PoweredOn = WmiToBoolean(GetValue("PoweredOn"));
    Removable = WmiToBoolean(GetValue("Removable"));
    Replaceable = WmiToBoolean(GetValue("Replaceable"));
    SerialNumber = WmiToString(GetValue("SerialNumber"));
    SKU = WmiToString(GetValue("SKU"));
    Status = WmiToString(GetValue("Status"));
    Tag = WmiToString(GetValue("Tag"));
    Use = WmiToUInt16(GetValue("Use"));
    Version = WmiToString(GetValue("Version"));
    Weight = WmiToDouble(GetValue("Weight"));
    Width = WmiToDouble(GetValue("Width"));
}

}  // namespace orvalis
