// Benchmarks of the engine on Windows, printed as figures (not timed tests):
//  - a condition pass at a minute where nothing matches,
//  - a service-log write that trims a full log at the default 1 MB limit,
//  - the zero fill of the whole-memory release against a plain first-touch fill.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/MemClean.h"
#include "engine/ServiceLog.h"
#include "support/FakeEngineSystem.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void BenchUnmatchedConditionPass() {
  CMemClean clean;
  clean.m_bTimerMode = 1;
  clean.m_appSetting.SetDefaultSetting();
  // No condition can hold: the hourly one points half an hour away, the load ones above 100.
  const CLocalTime now = clean.Platform().system->LocalTime(clean.Platform().system->Now());
  for (auto& condition : clean.m_appSetting.m_aOperationTime) {
    if (condition->m_nExecMode == COperationTime::kEveryHour)
      condition->m_nMinute = (now.minute + 30) % 60;
    if (condition->m_nExecMode == COperationTime::kMemoryLoad) condition->m_nMemoryLoad = 101;
    if (condition->m_nExecMode == COperationTime::kAtStart) condition->m_nExecMode = 99;
  }
  constexpr int kPasses = 2000;
  const auto start = Clock::now();
  int ran = 0;
  for (int i = 0; i < kPasses; ++i) ran += clean.CleanUp();
  std::printf("condition pass, nothing matches: %.4f ms per pass (%d ran; goal < 1 ms)\n",
              MillisecondsSince(start) / kPasses, ran);
}

void BenchTrimmingLogWrite() {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() / "quorvel-bench-log";
  std::filesystem::create_directories(directory);
  const std::string path = (directory / "vorel.log").string();
  std::filesystem::remove(path);
  IEngineSystem& system = *SystemEnginePlatform().system;
  const std::uint64_t limit = LogSizeLimitBytes(1024);  // the default, 1 MB
  CLogLines lines;
  const std::string line = "explorer.exeの未使用メモリを開放 987 KB->312 KB";
  auto size = [&] { return std::filesystem::exists(path) ? std::filesystem::file_size(path) : 0; };
  while (size() + 60000 < limit) {
    for (int i = 0; i < 1000; ++i) lines.Add(line, limit);
    WriteLogFile(system, path, lines, limit);
  }
  constexpr int kWrites = 50;
  const auto start = Clock::now();
  for (int i = 0; i < kWrites; ++i) {
    for (int j = 0; j < 40; ++j) lines.Add(line, limit);
    if (!WriteLogFile(system, path, lines, limit)) std::printf("write failed\n");
  }
  std::printf("service-log write trimming a 1 MB log: %.3f ms per write (goal < 20 ms)\n",
              MillisecondsSince(start) / kWrites);
  std::filesystem::remove_all(directory);
}

// Commit, fill and release of a 256 MB block, the engine's way and the plain way, alternately;
// the best of three runs each.
void BenchZeroFill() {
  constexpr std::size_t kBlock = 256u << 20;  // level 50 of 512 MB, less a few bytes
  qvtest::FakeEngineSystem machine;
  machine.memory.totalPhys = 512u << 20;
  CEnginePlatform platform = SystemEnginePlatform();
  platform.system = &machine;
  CMemClean clean(platform);
  clean.m_appSetting.m_nReleaseLevel = 50;

  double engineBest = 1e30;
  double plainBest = 1e30;
  for (int run = 0; run < 3; ++run) {
    auto start = Clock::now();
    if (!clean.OptimizeWholeMemory(0)) std::printf("whole-memory release failed\n");
    engineBest = std::min(engineBest, MillisecondsSince(start));

    start = Clock::now();
    void* block = ::VirtualAlloc(nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (block) {
      std::memset(block, 0, kBlock);
      ::VirtualFree(block, 0, MEM_RELEASE);
    }
    plainBest = std::min(plainBest, MillisecondsSince(start));
  }
  const double megabytes = static_cast<double>(kBlock) / (1u << 20);
  std::printf(
      "zero fill of 256 MB: release %.0f MB/s, plain first-touch fill %.0f MB/s, "
      "ratio %.2f (goal >= 0.9)\n",
      megabytes / engineBest * 1000, megabytes / plainBest * 1000, plainBest / engineBest);
}

}  // namespace

int main() {
  BenchUnmatchedConditionPass();
  BenchTrimmingLogWrite();
  BenchZeroFill();
  return 0;
}
