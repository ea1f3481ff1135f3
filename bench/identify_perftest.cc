// Speed and memory of IdentifyDiscImage on a 256 MiB disc image, against
// reading the same file with plain read() in the same run.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "image/bin_file.h"
#include "image/image_fixtures.h"

namespace {

constexpr std::size_t kImageSize = std::size_t{256} << 20;
std::string imagePath;

// Writes a valid disc image piece by piece, so that making it does not
// raise the peak memory measured afterwards.
void WriteDiscImage(const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  Bytes chunk(kDiscDataOffset, 0);
  out.write(reinterpret_cast<const char*>(chunk.data()), chunk.size());
  chunk.resize(std::size_t{1} << 20);
  std::uint32_t sum = 0;
  for (std::size_t at = kDiscDataOffset; at < kImageSize; at += chunk.size()) {
    chunk.resize(std::min(chunk.size(), kImageSize - at));
    FillPattern(chunk.data(), chunk.size(), static_cast<std::uint32_t>(at));
    sum += WordSum32(chunk);
    out.write(reinterpret_cast<const char*>(chunk.data()), chunk.size());
  }
  Bytes header = DiscHeaderSector("1.00", 0u - sum);
  out.seekp(kDiscHeaderOffset);
  out.write(reinterpret_cast<const char*>(header.data()), header.size());
}

long PeakRssKiB() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::size_t PlainRead(const std::string& path, std::uint8_t* buffer, std::size_t size) {
  int fd = open(path.c_str(), O_RDONLY);
  std::size_t done = 0;
  while (done < size) {
    ssize_t got = read(fd, buffer + done, size - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  close(fd);
  return done;
}

// Memory already sized: the identification of the same file again.
void BM_PlainRead(benchmark::State& state) {
  Bytes buffer(kImageSize);
  PlainRead(imagePath, buffer.data(), buffer.size());  // as the warm-up below
  for (auto _ : state) {
    if (PlainRead(imagePath, buffer.data(), buffer.size()) != kImageSize) state.SkipWithError("short read");
    benchmark::ClobberMemory();
  }
}

void BM_IdentifyDiscImage(benchmark::State& state) {
  BinFile binFile;
  binFile.IdentifyDiscImage(imagePath);  // sizes imageMemory and reads once, as above
  for (auto _ : state) {
    if (binFile.IdentifyDiscImage(imagePath) != 0) state.SkipWithError("not accepted");
  }
}

// Fresh memory every time: the first identification of a file that size.
void BM_PlainReadFresh(benchmark::State& state) {
  for (auto _ : state) {
    Bytes buffer(kImageSize);
    if (PlainRead(imagePath, buffer.data(), buffer.size()) != kImageSize) state.SkipWithError("short read");
    benchmark::DoNotOptimize(buffer.data());
  }
}

void BM_IdentifyDiscImageFresh(benchmark::State& state) {
  for (auto _ : state) {
    BinFile binFile;
    if (binFile.IdentifyDiscImage(imagePath) != 0) state.SkipWithError("not accepted");
  }
}

void Register(const char* name, void (*function)(benchmark::State&)) {
  benchmark::RegisterBenchmark(name, function)
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(9)
      ->ComputeStatistics("min", [](const std::vector<double>& v) {
        return *std::min_element(v.begin(), v.end());
      })
      ->ReportAggregatesOnly(true);
}

// Keeps the fastest repetition of each benchmark for the ratios: on a shared
// machine the slower ones measure the other load.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "min") {
        fastest[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  struct Times {
    double real, cpu;
  };
  std::map<std::string, Times> fastest;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TempDir dir;
  imagePath = dir.path() + "disc.BIN";
  WriteDiscImage(imagePath);

  long before = PeakRssKiB();
  {
    BinFile binFile;
    if (binFile.IdentifyDiscImage(imagePath) != 0) {
      std::fprintf(stderr, "the generated disc image is not accepted\n");
      return 1;
    }
  }
  long peak = PeakRssKiB();

  Register("PlainRead", BM_PlainRead);
  Register("IdentifyDiscImage", BM_IdentifyDiscImage);
  Register("PlainReadFresh", BM_PlainReadFresh);
  Register("IdentifyDiscImageFresh", BM_IdentifyDiscImageFresh);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  auto ratio = [&](const char* name, const char* baseline, const char* what) {
    auto& m = reporter.fastest;
    if (!m.count(name) || !m.count(baseline)) return;
    std::printf("IdentifyDiscImage / plain read, %s: %.2fx real time, %.2fx CPU time\n", what,
                m[name].real / m[baseline].real, m[name].cpu / m[baseline].cpu);
  };
  std::printf("\nfile %zu MiB\n", kImageSize >> 20);
  ratio("IdentifyDiscImage", "PlainRead", "memory reused");
  ratio("IdentifyDiscImageFresh", "PlainReadFresh", "fresh memory ");
  std::printf("peak RSS of one identification: %ld MiB (%ld MiB before it, file %zu MiB)\n",
              peak >> 10, before >> 10, kImageSize >> 20);
  benchmark::Shutdown();
  return 0;
}
