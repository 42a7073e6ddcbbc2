#include "host/Various_utils.h"

namespace orvalis {

std::string UrlEncode(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_';
        if (plain) {
            out += c;
        } else if (byte == ' ') {
            out += "%20";
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

std::string PickText(bool flag, const std::string& a, const std::string& b) {
    return flag ? a : b;
}

std::string YesNo(bool value) {
    return value ? "Yes" : "No";
}

}  // namespace orvalis
