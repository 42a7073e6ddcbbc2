// Typed snapshot of Win32_PhysicalMemoryArray: one instance per memory array (slot group).
#pragma once

#include <cstdint>
#include <string>

#include "wmi/uWmiDelphiClass.h"

namespace orvalis {

class TWin32_PhysicalMemoryArray : public TWmiClass {
  public:
    // Takes the snapshot when load is true; array 0 is then in the fields.
    explicit TWin32_PhysicalMemoryArray(bool load, WmiProviderRef provider = nullptr);

    void SetCollectionIndex(int32_t index) override;

    std::string Caption;
    std::string CreationClassName;
    double Depth = 0.0;
    std::string Description;
    double Height = 0.0;
    bool HotSwappable = false;
    double InstallDate = 0.0;
    uint16_t Location = 0;
    std::string Manufacturer;
    uint32_t MaxCapacity = 0;  // kilobytes
    uint16_t MemoryDevices = 0;
    uint16_t MemoryErrorCorrection = 0;
    std::string Model;
    std::string Name;
    std::string OtherIdentifyingInfo;
    std::string PartNumber;
    bool PoweredOn = false;
    bool Removable = false;
    bool Replaceable = false;
    std::string SerialNumber;
    std::string SKU;
    std::string Status;
    std::string Tag;
    uint16_t Use = 0;
    std::string Version;
    double Weight = 0.0;
    double Width = 0.0;
};

}  // namespace orvalis
