// Typed snapshot of Win32_PhysicalMemory: one instance per installed memory module.
#pragma once

#include <cstdint>
#include <string>

#include "wmi/uWmiDelphiClass.h"

namespace orvalis {

class TWin32_PhysicalMemory : public TWmiClass {
  public:
    // Takes the snapshot when load is true; module 0 is then in the fields.
    explicit TWin32_PhysicalMemory(bool load, WmiProviderRef provider = nullptr);

    void SetCollectionIndex(int32_t index) override;

    std::string BankLabel;
    int64_t Capacity = 0;
    std::string Caption;
    std::string CreationClassName;
    uint16_t DataWidth = 0;
    std::string Description;
    std::string DeviceLocator;
    uint16_t FormFactor = 0;
    bool HotSwappable = false;
    double InstallDate = 0.0;
    uint16_t InterleaveDataDepth = 0;
    uint32_t InterleavePosition = 0;
    std::string Manufacturer;
    uint16_t MemoryType = 0;
    std::string Model;
    std::string Name;
    std::string OtherIdentifyingInfo;
    std::string PartNumber;
    uint32_t PositionInRow = 0;
    bool PoweredOn = false;
    bool Removable = false;
    bool Replaceable = false;
    std::string SerialNumber;
    std::string SKU;
    uint32_t Speed = 0;
    std::string Status;
    std::string Tag;
    uint16_t TotalWidth = 0;
    uint16_t TypeDetail = 0;
    std::string Version;
};

}  // namespace orvalis
