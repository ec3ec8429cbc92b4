// The lines the engine writes, in code page 932, and the formatting of times and sizes in them.
#pragma once

#include <cstdint>
#include <string>

#include "engine/EngineSystem.h"

namespace logtext {

inline constexpr char kConditionPassStart[] = "--- 実行条件判断によるオペレーション開始 ";
inline constexpr char kIntervalRefusal[] = "タイムインターバル設定によるオペレーション中止";
inline constexpr char kManualPassStart[] = "--- 手動でのオペレーション開始 ";
inline constexpr char kWorkingSetStart[] = "各プロセスのワーキングセットの最適化を開始";
inline constexpr char kWorkingSetSuccess[] = "各プロセスのワーキングセットの最適化成功";
inline constexpr char kWorkingSetFailure[] = "各プロセスのワーキングセットの最適化失敗";
inline constexpr char kTokenFailure[] = "アクセストークンの取得に失敗";
inline constexpr char kPrivilegeSuccess[] = "システム特権の取得に成功";
inline constexpr char kPrivilegeFailure[] = "システム特権の取得に失敗";
inline constexpr char kSnapshotSuccess[] = "プロセスのスナップショットの取得に成功しました";
inline constexpr char kSnapshotFailure[] = "プロセスのスナップショットの取得に失敗しました";
inline constexpr char kProcessTrimmed[] = "の未使用メモリを開放";
inline constexpr char kProcessTrimFailure[] = "の未使用メモリの開放に失敗";
inline constexpr char kProcessOpenFailure[] = "のプロセスを開くことができませんでした";
inline constexpr char kWholeMemoryStart[] = "物理メモリーの最適化を開始";
inline constexpr char kWholeMemorySuccess[] = "物理メモリーの最適化成功";
inline constexpr char kWholeMemoryFailure[] = "物理メモリーの最適化失敗";
inline constexpr char kAllocationFailure[] = "領域確保失敗";
inline constexpr char kFilling[] = "確保メモリを初期化しています...";
inline constexpr char kFilled[] = "初期化完了";
inline constexpr char kReleaseSuccess[] = "領域開放成功";
inline constexpr char kReleaseFailure[] = "領域開放失敗";
inline constexpr char kPassEnd[] = "--- オペレーション終了 ";

// "%Y/%m/%d %H:%M:%S"
std::string FormatTime(const CLocalTime& time);

// "CPU負荷 %d %%"
std::string CpuLoad(int load);
// "CPU負荷 %d %% > 設定負荷 %d %% によりオペレーションを中止"
std::string CpuLoadRefusal(int load, int limit);
// "%u KB の領域確保失敗　再確保を行います", with the size that failed
std::string AllocationRetry(std::uint64_t kilobytes);
// "%u KB の領域確保成功"
std::string AllocationSuccess(std::uint64_t kilobytes);
// "%u KB"
std::string Kilobytes(std::uint64_t kilobytes);
// "ログ %u 行を破棄しました": lines that waited too long for the log file were dropped
std::string LinesDropped(std::uint64_t count);

// The five memory-state lines; their colons line up at the 26th byte.
std::string MemoryLoadLine(std::uint32_t percent);
std::string TotalPhysLine(std::uint64_t bytes);
std::string AvailPhysLine(std::uint64_t bytes);
std::string TotalPageFileLine(std::uint64_t bytes);
std::string AvailPageFileLine(std::uint64_t bytes);

}  // namespace logtext
