// The window program's command line and what becomes of a pass that it starts: "-c" trims
// the working sets, "-p" (with an optional level) releases the whole memory, "-q" ends the
// program once that pass is over.
#pragma once

#include <string>

namespace qv::app {

struct CCommandLineOptions {
  bool workingSet = false;     // "-c"
  bool wholeMemory = false;    // "-p"
  int releaseLevel = 0;        // the level of "-pN" for this pass, 1 to 100; 0: the settings' level
  bool quitAfterPass = false;  // "-q"
  bool StartsPass() const { return workingSet || wholeMemory; }
};

// Tokens are cut at blanks (0x20 only; a tab is an ordinary character); only the first two
// characters of a token count, without regard to case. Other tokens are ignored.
CCommandLineOptions ParseCommandLine(const std::string& text);

// Whether the program closes after its command-line pass. The decision waits until no pass
// runs any more, so that "-q" with "-c" or "-p" closes after that pass, and "-q" alone at the
// first idle call; the close is asked for once.
class CCommandLinePass {
 public:
  void Begin(bool quitAfterPass) {
    m_bUnsettled = true;
    m_bQuitAfterPass = quitAfterPass;
  }
  // Timer passes wait while this is true.
  bool Unsettled() const { return m_bUnsettled; }
  // Called at every idle call; true when the program must close now.
  bool OnIdle(bool passRunning);

 private:
  bool m_bUnsettled = false;
  bool m_bQuitAfterPass = false;
  bool m_bCloseAsked = false;
};

}  // namespace qv::app
