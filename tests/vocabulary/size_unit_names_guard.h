// Size unit names are process-wide: tests that change them put them back afterwards.
#pragma once

#include <array>
#include <string>

#include "vocabulary/size_format.h"

namespace orvalis::test {

class SizeUnitNamesGuard {
  public:
    SizeUnitNamesGuard() : saved_(SizeUnitNames) {}
    ~SizeUnitNamesGuard() { SizeUnitNames = saved_; }
    SizeUnitNamesGuard(const SizeUnitNamesGuard&) = delete;
    SizeUnitNamesGuard& operator=(const SizeUnitNamesGuard&) = delete;

  private:
    std::array<std::string, 5> saved_;
};

// The names the main window's start-up assigns.
inline const std::array<std::string, 5> kStartedUnitNames{"B", "KB", "MB", "GB", "TB"};

}  // namespace orvalis::test
