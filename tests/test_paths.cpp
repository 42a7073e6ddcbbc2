#include "tests/test_paths.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvalis::test {

std::string SourceDir() {
    return ORVALIS_TEST_SOURCE_DIR;
}

std::string FixturePath(const std::string& relative) {
    return SourceDir() + "/tests/fixtures/" + relative;
}

std::string ScratchDir(const std::string& name) {
    std::filesystem::path dir = std::filesystem::path(ORVALIS_TEST_BINARY_DIR) / "scratch" / name;
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace orvalis::test
