#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "host/U_Log.h"

namespace orvalis {
namespace {

// The separator of the user's time format (LC_TIME from the environment), read without
// touching the process-wide locale.
std::string UserTimeSeparator() {
    locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0)) return ":";
    std::string separator = TimeSeparatorFromTimeFormat(nl_langinfo_l(T_FMT, user));
    freelocale(user);
    return separator;
}

class LocalClock : public ILogClock {
  public:
    LocalClock() : separator_(UserTimeSeparator()) {}

    LogTime Now() const override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return LogTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
    }
    std::string TimeSeparator() const override { return separator_; }

  private:
    std::string separator_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

class AtomicFileWriter : public ILogFileWriter {
  public:
    bool ReplaceContents(const std::string& path, std::string_view bytes) override {
        const std::string temporary = path + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        const bool written = WriteAll(fd, bytes);
        const bool closed = ::close(fd) == 0;
        if (written && closed && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
        ::unlink(temporary.c_str());
        return false;
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
