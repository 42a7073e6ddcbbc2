// The pages of the maker's web site that the window's buttons open. The host is chosen here
// once; the paths and the query key are fixed by the site.
#pragma once

#include <string>

#include "host/Various_utils.h"

namespace orvalis {

// Plain http: the site serves these pages without encryption.
inline constexpr char kSiteHost[] = "http://www.tessaran.com";

inline constexpr char kMemoryPagePath[] = "/orvalis/index.php";
inline constexpr char kSpecificationSearchPath[] = "/orvalis/index.php?keyword=";
inline constexpr char kDriverPagePath[] = "/quillet/drivers.php";

// Shown before the driver page opens. LF before CR, as the notice has always been written.
inline constexpr char kDriverNotice[] =
    "Orvalis recommends DriverAgent to maintain your drivers up to date.\n\r"
    "DriverAgent is a 3rd party product which is NOT developed nor distributed by Tessaran";

// Full address of a path (and query) on the site.
inline std::string SiteAddress(const std::string& pathAndQuery) {
    return kSiteHost + pathAndQuery;
}

// Path and query of the specification search for a keyword (8-bit text, encoded here).
inline std::string SpecificationSearchPathFor(const std::string& keyword) {
    return kSpecificationSearchPath + UrlEncode(keyword);
}

inline std::string MemoryPageAddress() {
    return SiteAddress(kMemoryPagePath);
}
inline std::string DriverPageAddress() {
    return SiteAddress(kDriverPagePath);
}
inline std::string SpecificationSearchAddress(const std::string& keyword) {
    return SiteAddress(SpecificationSearchPathFor(keyword));
}

}  // namespace orvalis
