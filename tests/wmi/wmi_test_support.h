// Test data for the WMI layer: instances of the two memory classes whose every property has
// a value that differs from instance to instance, the text each typed field should then
// hold, and a snapshot that stores instances without typed fields.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "wmi/memory_wmi_provider.h"
#include "wmi/uWin32_PhysicalMemory.h"
#include "wmi/uWin32_PhysicalMemoryArray.h"
#include "wmi/uWmiDelphiClass.h"

namespace orvalis::test {

// Instance n (from 0) of each class, every field's property present.
WmiInstanceData ModuleInstance(int n);
WmiInstanceData ArrayInstance(int n);

// The fields of a record, in declaration order, as text.
std::vector<std::string> FieldsOf(const TWin32_PhysicalMemory& module);
std::vector<std::string> FieldsOf(const TWin32_PhysicalMemoryArray& array);
// What FieldsOf gives once instance n is current.
std::vector<std::string> ExpectedModuleFields(int n);
std::vector<std::string> ExpectedArrayFields(int n);
// Fields of a record that never read an instance.
std::vector<std::string> ZeroModuleFields();
std::vector<std::string> ZeroArrayFields();

// A provider with one class.
std::shared_ptr<MemoryWmiProvider> ProviderWith(const std::string& className,
                                                std::vector<WmiInstanceData> instances);

// Stores a class's instances; SetCollectionIndex only moves CurrentIndex.
class RawSnapshot : public TWmiClass {
  public:
    RawSnapshot(const std::string& className, WmiProviderRef provider)
        : TWmiClass(DeferLoad{}, "root\\CIMV2", className, std::move(provider)) {
        LoadIfAsked(true);
    }
    void SetCollectionIndex(int32_t index) override {
        if (index >= 0 && index < StoredInstanceCount()) CurrentIndex = index;
    }
};

}  // namespace orvalis::test
