#include "bench_support.h"

#include <unistd.h>

namespace orvalis::bench {

TempFolder::TempFolder(const std::string& name)
    : path_(std::filesystem::temp_directory_path() /
            ("orvalis-bench-" + name + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace orvalis::bench
