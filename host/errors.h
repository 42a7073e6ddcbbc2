// The errors the program raises. Every one derives from orvalis::Exception, whose what() is
// the text the error box shows. Portable: the Windows side only fills in system codes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace orvalis {

class Exception : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A value that cannot be converted into the kind asked for (text that is no number, an
// invalid date). The message says what could not be converted into what.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// A number outside the range of the integer it passes through.
class ERangeError : public Exception {
  public:
    using Exception::Exception;
};

// An index outside a list.
class EListError : public Exception {
  public:
    using Exception::Exception;
};

// A failed operating-system call: the system error code and the system's text for it.
class EOSError : public Exception {
  public:
    EOSError(uint32_t code, const std::string& systemText);
    uint32_t Code() const { return code_; }

  private:
    uint32_t code_;
};

// A registry value that could not be written.
class ERegistryError : public Exception {
  public:
    explicit ERegistryError(const std::string& valueName);
};

}  // namespace orvalis
