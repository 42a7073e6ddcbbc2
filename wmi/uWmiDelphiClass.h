// The snapshot of one WMI class: every property value of every instance, stored once at
// construction, and the typed records' hook (SetCollectionIndex) that copies one instance
// into typed fields. WMI is reached only through an IWmiProvider.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "wmi/wmi_provider.h"
#include "wmi/wmi_value.h"

namespace orvalis {

// One connection to WMI; connects on the first Connect and stays connected.
class TWmiConnection {
  public:
    explicit TWmiConnection(WmiProviderRef provider);
    ~TWmiConnection();
    TWmiConnection(const TWmiConnection&) = delete;
    TWmiConnection& operator=(const TWmiConnection&) = delete;

    // Creates the locator and calls ConnectServer unless already connected. A failure goes
    // to the caller and leaves Connected false.
    void Connect();

    IWmiProvider& Provider() const { return *provider_; }

    WmiValue Locator;
    WmiValue Services;
    std::string Server = "localhost";
    std::string User;
    std::string Password;
    std::string NameSpace;
    bool Connected = false;

  private:
    WmiProviderRef provider_;
};

// The instance object of one stored instance, as the enumeration delivered it.
class TVariantValueClass {
  public:
    WmiValue WmiObject;
};

// One stored instance: Values[i] belongs to PropertyNames[i] of its snapshot.
class TDataWmiClass {
  public:
    // Room for this many values is made at once; a class with more properties gets more.
    static constexpr std::size_t kInitialSlots = 256;

    TDataWmiClass();
    ~TDataWmiClass();
    TDataWmiClass(const TDataWmiClass&) = delete;
    TDataWmiClass& operator=(const TDataWmiClass&) = delete;

    std::vector<WmiValue> Values;
    std::unique_ptr<TVariantValueClass> ObjectHolder;
};

class TWmiClass {
  public:
    // Takes the snapshot at once when load is true; a failing load never throws. A null
    // provider means DefaultWmiProvider(). This base class has no typed fields, so its load
    // fails as soon as one instance is found (SetCollectionIndex raises).
    TWmiClass(bool load, const std::string& nameSpace, const std::string& wmiClassName,
              WmiProviderRef provider = nullptr);
    virtual ~TWmiClass();
    TWmiClass(const TWmiClass&) = delete;
    TWmiClass& operator=(const TWmiClass&) = delete;

    // Number of stored instances after a successful load; -1 when not loaded or failed.
    int32_t GetCount() const;
    // Value of a property of the current instance / of instance index. A name the class
    // lacks gives the integer 1; an instance index outside the list raises EListError.
    WmiValue GetValue(const std::string& name) const;
    WmiValue GetValueAt(const std::string& name, int32_t index) const;

    // Makes instance index current and copies it into the typed fields.
    virtual void SetCollectionIndex(int32_t index);
    // First instance whose property equals value (same kind and value), or -1.
    virtual int32_t FindIndex(const std::string& name, const WmiValue& value) const;

    // Releases every stored instance; names, class object and Loaded stay.
    void Clear();

    // Read access for callers that save or inspect a snapshot.
    bool IsLoaded() const { return Loaded; }
    int32_t GetCurrentIndex() const { return CurrentIndex; }
    const std::string& GetWmiClassName() const { return WmiClassName; }
    const std::vector<std::string>& GetPropertyNames() const { return PropertyNames; }
    // Stored instances, kept even after a failed load (GetCount then says -1).
    int32_t StoredInstanceCount() const { return static_cast<int32_t>(Instances.size()); }
    // Values of stored instance index, one per property name (extra slots are Empty).
    const std::vector<WmiValue>& StoredValues(int32_t index) const;
    const TWmiConnection& GetConnection() const { return *Connection; }

  protected:
    struct DeferLoad {};
    // For records: builds the snapshot without loading, so that the record's own
    // constructor can run the load once its SetCollectionIndex override is in place.
    TWmiClass(DeferLoad, const std::string& nameSpace, const std::string& wmiClassName,
              WmiProviderRef provider);
    // Records call this from their constructor when asked to load.
    void LoadIfAsked(bool load);

    // Takes the snapshot; false when anything failed. Never throws.
    bool LoadWmiData();

    // Position of name in PropertyNames ignoring ASCII case, or -1.
    int32_t PropertyPosition(const std::string& name) const;

    std::unique_ptr<TWmiConnection> Connection;
    std::string WmiClassName;
    WmiValue ClassObject;
    bool Loaded = false;
    std::vector<std::string> PropertyNames;
    std::vector<std::unique_ptr<TDataWmiClass>> Instances;
    int32_t CurrentIndex = -1;
};

}  // namespace orvalis
