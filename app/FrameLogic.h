// The main window's decisions that need no window: the titles and tray tips of the modes,
// the place where the tray menu opens, the release level of a menu item, and when timer mode
// starts a condition pass.
#pragma once

#include <cstdint>
#include <string>

namespace qv::app {

enum class RunMode { kTimerRunning, kTimerStopped, kServiceRunning, kServiceStopped };

// The window title of a mode (also the tip until the next mouse move).
std::string ModeTitle(RunMode mode);
// The tip of a mouse move: the mode and the physical memory load in percent.
std::string TrayTipText(RunMode mode, unsigned memoryLoad);

struct Point {
  long x = 0;
  long y = 0;
  bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};
struct Rect {
  long left = 0;
  long top = 0;
  long right = 0;
  long bottom = 0;
};

// The tray menu opens on the taskbar's inner edge, at the cursor's position along it: a
// taskbar that spans the desktop's width moves the point's y to its inner edge, one that
// spans its height moves x. Anything else leaves the cursor position.
Point TrayMenuPoint(Point cursor, const Rect& desktop, const Rect& taskbar);

// Whether a minute tick of timer mode starts a condition pass: not while a command-line pass
// is unsettled, a pass runs or a tick is under way, and only once more than the start delay
// has elapsed since the program started (a monotonic count, so that setting the clock back
// does not hold passes off).
struct CTimerTick {
  bool commandLinePassUnsettled = false;
  bool passRunning = false;
  bool tickUnderWay = false;
  std::uint64_t elapsedMilliseconds = 0;
  int delayMinutes = 0;
};
bool TimerPassDue(const CTimerTick& tick);

// The items "10%" to "100%" (commands 32782 to 32791) stand for these levels; an item is
// checked when its level is the one in force.
constexpr unsigned kFirstReleaseLevelCommand = 32782;
constexpr unsigned kLastReleaseLevelCommand = 32791;
int ReleaseLevelOfCommand(unsigned id);
bool ReleaseLevelChecked(unsigned id, int releaseLevel);

}  // namespace qv::app
