#include "host/ansi_text.h"

namespace orvalis {
namespace {

// UTF-8 <-> UTF-32 code points, with U+FFFD for malformed input.
std::wstring DecodeUtf8(const std::string& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80         ? 0
                    : (lead >> 5) == 6  ? 1
                    : (lead >> 4) == 14 ? 2
                    : (lead >> 3) == 30 ? 3
                                        : -1;
        char32_t cp = extra == 0   ? lead
                      : extra == 1 ? (lead & 0x1F)
                      : extra == 2 ? (lead & 0x0F)
                                   : (lead & 0x07);
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + static_cast<size_t>(k) >= text.size()) {
                ok = false;
                break;
            }
            const unsigned char next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((next >> 6) != 2) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!ok) {
            out += static_cast<wchar_t>(0xFFFD);
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

std::string EncodeUtf8(const std::wstring& wide) {
    std::string out;
    for (wchar_t wc : wide) {
        const auto cp = static_cast<char32_t>(wc);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

}  // namespace

std::string Utf8ToAnsi(const std::string& utf8) {
    return utf8;
}
std::string AnsiToUtf8(const std::string& ansi) {
    return ansi;
}
std::wstring AnsiToWide(const std::string& ansi) {
    return DecodeUtf8(ansi);
}
std::string WideToAnsi(const std::wstring& wide) {
    return EncodeUtf8(wide);
}

}  // namespace orvalis
