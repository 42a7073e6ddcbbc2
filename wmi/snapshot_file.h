// Snapshot files: what the WMI service delivered for some classes, as UTF-8 JSON
// ("orvalis-wmi-snapshot", version 1), replayed through an in-memory provider.
//
// Reading refuses the whole file on the first fault (nothing is half-loaded). Writing stores
// each loaded snapshot's property names and values; a failed snapshot (GetCount -1) is left
// out, so that it replays as a class WMI does not know. Values that the format cannot carry
// (object references, infinite or NaN doubles) are refused rather than written wrongly. An
// Int64 within the 32-bit range reads back as Int32 (the format keeps no integer width);
// an Empty value, which WMI never delivers, is written as null.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/errors.h"
#include "wmi/memory_wmi_provider.h"

namespace orvalis {

class TWmiClass;

// A snapshot file that cannot be read or written; the message names the file.
class SnapshotFileError : public Exception {
  public:
    using Exception::Exception;
};

// The provider serving the classes of the file at path.
std::shared_ptr<MemoryWmiProvider> LoadSnapshotFile(const std::string& path);
// The same from the file's text; fileNameForMessages names it in errors.
std::shared_ptr<MemoryWmiProvider> ParseSnapshotText(const std::string& utf8Text,
                                                     const std::string& fileNameForMessages);

// The snapshot text of the given snapshots (UTF-8, two-space indented, ending in a newline).
std::string SnapshotText(const std::string& source, const std::vector<const TWmiClass*>& classes);
// Writes SnapshotText to path; SnapshotFileError when the file cannot be written.
void WriteSnapshotFile(const std::string& path, const std::string& source,
                       const std::vector<const TWmiClass*>& classes);

}  // namespace orvalis
