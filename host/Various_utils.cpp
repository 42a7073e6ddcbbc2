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

namespace {

std::string Windows95FamilySuffix(const WindowsVersionRecord& version) {
    if (version.majorVersion != 4) return " (Unknown)";
    switch (version.minorVersion) {
        case 0:
            return " (95)";
        case 10:
            // Windows 98 Second Edition says " A " in its service-pack text.
            return version.servicePack.size() >= 2 && version.servicePack[1] == 'A' ? " (98SE)"
                                                                                    : " (98)";
        case 90:
            return " (ME)";
        default:
            return " (Unknown)";
    }
}

std::string NtFamilySuffix(const WindowsVersionRecord& version) {
    const uint32_t major = version.majorVersion;
    const uint32_t minor = version.minorVersion;
    if (major <= 4) return " (NT)";
    if (major == 5 && minor == 0) return " (2000)";
    if (major == 5 && minor == 1) return " (XP)";
    if (major == 6 && minor == 0) return " (Vista)";
    if (major == 6 && minor == 1) return " (Seven)";
    // Later releases report 6.2 to programs that declare no compatibility list.
    if (major == 6 && minor == 2) return " (Windows8)";
    if (major == 6 && minor == 3) return " (Windows8.1)";
    return "";
}

}  // namespace

std::string DescribeWindowsVersion(const WindowsVersionRecord& version) {
    std::string text = std::to_string(static_cast<int32_t>(version.majorVersion)) + "." +
                       std::to_string(static_cast<int32_t>(version.minorVersion));
    if (version.platformId == 1) return text + Windows95FamilySuffix(version);
    if (version.platformId == 2) return text + NtFamilySuffix(version);
    return text;
}

std::string FormatFileVersion(uint32_t versionMs, uint32_t versionLs) {
    return std::to_string(versionMs >> 16) + "." + std::to_string(versionMs & 0xFFFF) + "." +
           std::to_string(versionLs >> 16) + "." + std::to_string(versionLs & 0xFFFF);
}

std::string ExeFolderOf(const std::string& exePath) {
    const size_t last = exePath.find_last_of("\\:");
    std::string folder = last == std::string::npos ? std::string() : exePath.substr(0, last + 1);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace orvalis
