#include "wmi/uWin32_PhysicalMemory.h"

#include <utility>

#include "wmi/wmi_converters.h"

namespace orvalis {

TWin32_PhysicalMemory::TWin32_PhysicalMemory(bool load, WmiProviderRef provider)
    : TWmiClass(DeferLoad{}, "root\\CIMV2", "Win32_PhysicalMemory", std::move(provider)) {
    // Loaded here, not in the base constructor, so that the load reaches our override.
    LoadIfAsked(load);
}

void TWin32_PhysicalMemory::SetCollectionIndex(int32_t index) {
    // Bounded by the stored instances, loaded or not; CurrentIndex moves before any read so
    // that a conversion error leaves the earlier fields new and the later ones old.
    if (index < 0 || index > StoredInstanceCount() - 1 || index == CurrentIndex) return;
    CurrentIndex = index;
    BankLabel = WmiToString(GetValue("BankLabel"));
    Capacity = WmiToInt64(GetValue("Capacity"));
    Caption = WmiToString(GetValue("Caption"));
    CreationClassName = WmiToString(GetValue("CreationClassName"));
    DataWidth = WmiToUInt16(GetValue("DataWidth"));
    Description = WmiToString(GetValue("Description"));
    DeviceLocator = WmiToString(GetValue("DeviceLocator"));
    FormFactor = WmiToUInt16(GetValue("FormFactor"));
    HotSwappable = WmiToBoolean(GetValue("HotSwappable"));
    InstallDate = WmiToDateTime(GetValue("InstallDate"));
    InterleaveDataDepth = WmiToUInt16(GetValue("InterleaveDataDepth"));
    InterleavePosition = WmiToUInt32(GetValue("InterleavePosition"));
    Manufacturer = WmiToString(GetValue("Manufacturer"));
    MemoryType = WmiToUInt16(GetValue("MemoryType"));
    Model = WmiToString(GetValue("Model"));
    Name = WmiToString(GetValue("Name"));
    OtherIdentifyingInfo = WmiToString(GetValue("OtherIdentifyingInfo"));
    PartNumber = WmiToString(GetValue("PartNumber"));
    PositionInRow = WmiToUInt32(GetValue("PositionInRow"));
    PoweredOn = WmiToBoolean(GetValue("PoweredOn"));
    Removable = WmiToBoolean(GetValue("Removable"));
    Replaceable = WmiToBoolean(GetValue("Replaceable"));
    SerialNumber = WmiToString(GetValue("SerialNumber"));
    SKU = WmiToString(GetValue("SKU"));
    Speed = WmiToUInt32(GetValue("Speed"));
    Status = WmiToString(GetValue("Status"));
    Tag = WmiToString(GetValue("Tag"));
    TotalWidth = WmiToUInt16(GetValue("TotalWidth"));
    TypeDetail = WmiToUInt16(GetValue("TypeDetail"));
    Version = WmiToString(GetValue("Version"));
}

}  // namespace orvalis
