// The log at its steady state: 10000 lines kept, every Add inserts one, drops the oldest and
// rewrites the whole file. Reference: the same bytes written with one plain write call.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "bench_support.h"
#include "host/U_Log.h"

namespace orvalis {
namespace {

constexpr int kLines = 10000;
const std::string kMessage = "Windows version : 6.1 (Seven), 64-bit : Yes, admin : No";

class FixedClock : public ILogClock {
  public:
    LogTime Now() const override { return {2024, 3, 5, 14, 7, 9}; }
    std::string TimeSeparator() const override { return ":"; }
};

void BM_LogAdd10000(benchmark::State& state) {
    bench::TempFolder folder("log");
    TAppLog log(folder.File("Orvalis.log"), false, kLines, std::make_shared<FixedClock>(),
                SystemLogFileWriter());
    for (int i = 0; i < kLines; ++i) log.Add(kMessage, TAppLog::kInfo);
    for (auto _ : state) log.Add(kMessage, TAppLog::kInfo);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kLines * (kMessage.size() + 32)));
}
BENCHMARK(BM_LogAdd10000)->Unit(benchmark::kMicrosecond);

void BM_RawWrite10000(benchmark::State& state) {
    bench::TempFolder folder("raw");
    const std::string path = folder.File("Orvalis.log");
    std::string bytes;
    const std::string line = "Info\t[24-03-05 14:07:09]\t" + kMessage + "\r\n";
    for (int i = 0; i < kLines; ++i) bytes += line;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        ::close(fd);
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_RawWrite10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvalis
