// A temporary folder per benchmark, removed when done.
#pragma once

#include <filesystem>
#include <string>

namespace orvalis::bench {

class TempFolder {
  public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace orvalis::bench
