#include <windows.h>

#include "host/U_Log.h"
#include "host/win_handles_win.h"

namespace orvalis {
namespace {

// The user's time separator as the regional settings give it; ":" if they give none.
std::string UserTimeSeparator() {
    char buffer[16] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, buffer, sizeof(buffer));
    if (length <= 1) return ":";
    return std::string(buffer, static_cast<size_t>(length - 1));
}

class LocalClock : public ILogClock {
  public:
    LocalClock() : separator_(UserTimeSeparator()) {}

    LogTime Now() const override {
        SYSTEMTIME local{};
        GetLocalTime(&local);
        return LogTime{local.wYear, local.wMonth,  local.wDay,
                       local.wHour, local.wMinute, local.wSecond};
    }
    std::string TimeSeparator() const override { return separator_; }

  private:
    std::string separator_;
};

class AtomicFileWriter : public ILogFileWriter {
  public:
    bool ReplaceContents(const std::string& path, std::string_view bytes) override {
        if (bytes.size() > MAXDWORD) return false;
        const std::string temporary = path + ".tmp";
        if (!WriteTemporary(temporary, bytes)) {
            DeleteFileA(temporary.c_str());
            return false;
        }
        // One step: the log is either the old file or the new one, never a partial write.
        // A log held open by another process makes this fail and the old file stays.
        if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        DeleteFileA(temporary.c_str());
        return false;
    }

  private:
    static bool WriteTemporary(const std::string& temporary, std::string_view bytes) {
        UniqueFileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return false;
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(bytes.size());
        if (!WriteFile(file.Get(), bytes.data(), size, &written, nullptr)) return false;
        if (written != size) return false;
        return CloseHandle(file.Release()) != 0;
    }
};

}  // namespace

std::shared_ptr<ILogClock> SystemLogClock() {
    return std::make_shared<LocalClock>();
}

std::shared_ptr<ILogFileWriter> SystemLogFileWriter() {
    return std::make_shared<AtomicFileWriter>();
}

}  // namespace orvalis
