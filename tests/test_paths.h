// Where test programs find the repository's fixtures and a scratch folder.
#pragma once

#include <string>

namespace orvalis::test {

// Repository root, as the program under test sees it (Z:/... under Wine).
std::string SourceDir();
// tests/fixtures/<relative>.
std::string FixturePath(const std::string& relative);
// A fresh, empty scratch folder for one test, inside the build folder.
std::string ScratchDir(const std::string& name);
// The whole content of a file, byte for byte; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

}  // namespace orvalis::test
