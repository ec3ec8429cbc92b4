#include "app/FrameLogic.h"

#include <cstdio>

namespace qv::app {

std::string ModeTitle(RunMode mode) {
  switch (mode) {
    case RunMode::kTimerRunning:
      return "QuorvelW - Timer Mode - Running";
    case RunMode::kTimerStopped:
      return "QuorvelW - Timer Mode - Stopped";
    case RunMode::kServiceRunning:
      return "VorelW - Service Mode - Running";
    case RunMode::kServiceStopped:
      return "VorelW - Service Mode - Stopped";
  }
  return {};
}

std::string TrayTipText(RunMode mode, unsigned memoryLoad) {
  const char* state = "Timer Mode - Running";
  switch (mode) {
    case RunMode::kTimerRunning:
      break;
    case RunMode::kTimerStopped:
      state = "Timer Mode - Stopped";
      break;
    case RunMode::kServiceRunning:
      state = "Service Mode - Running";
      break;
    case RunMode::kServiceStopped:
      state = "Service Mode - Stopped";
      break;
  }
  char text[128];
  std::snprintf(text, sizeof(text), "QuorvelW - %s - メモリ使用率 : %u %%", state, memoryLoad);
  return text;
}

Point TrayMenuPoint(Point cursor, const Rect& desktop, const Rect& taskbar) {
  if (taskbar.left <= desktop.left && taskbar.right >= desktop.right) {
    if (taskbar.top <= desktop.top) {
      cursor.y = taskbar.bottom;
    } else if (taskbar.bottom >= desktop.bottom) {
      cursor.y = taskbar.top;
    }
  } else if (taskbar.top <= desktop.top && taskbar.bottom >= desktop.bottom) {
    if (taskbar.left <= desktop.left) {
      cursor.x = taskbar.right;
    } else if (taskbar.right >= desktop.right) {
      cursor.x = taskbar.left;
    }
  }
  return cursor;
}

bool TimerPassDue(const CTimerTick& tick) {
  if (tick.commandLinePassUnsettled || tick.passRunning || tick.tickUnderWay) return false;
  const std::int64_t delay = static_cast<std::int64_t>(tick.delayMinutes) * 60 * 1000;
  return static_cast<std::int64_t>(tick.elapsedMilliseconds) > delay;
}

int ReleaseLevelOfCommand(unsigned id) {
  if (id < kFirstReleaseLevelCommand || id > kLastReleaseLevelCommand) return 0;
  return static_cast<int>(id - kFirstReleaseLevelCommand + 1) * 10;
}

bool ReleaseLevelChecked(unsigned id, int releaseLevel) {
  const int level = ReleaseLevelOfCommand(id);
  return level != 0 && level == releaseLevel;
}

}  // namespace qv::app
