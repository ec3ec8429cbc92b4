// The service "Vorel" as the window program sees it: installed or not, running or not, and the
// operations of the service commands. Every call opens the service control manager and the
// service for itself, with only the rights it needs, and closes them again. Each returns 1 on
// success and 0 on any failure, and shows nothing itself.
#pragma once

namespace qv::app {

class CServiceControl {
 public:
  virtual ~CServiceControl() = default;
  // Registers QuorvelS.exe beside the running program (its path in quotes): own process,
  // automatic start, the local system account. The service is not started.
  int InstallService() const;
  // Stops the service first when it runs, then deletes it.
  int UninstallService() const;
  // 1 when the start was accepted (the service need not run yet).
  int StartServiceProgram() const;
  // 1 when the stop control was accepted (the service need not have stopped yet).
  int StopServiceProgram() const;
  // 1 when the service can be opened; a manager that cannot be opened counts as none.
  int IsServiceInstalled() const;
  // 1 when the state has the bit of value 4 (running, continue pending, pause pending,
  // paused); a status that cannot be queried counts as not running.
  int IsServiceRunning() const;
  // The interrogate control (4): the service reads its settings file again. 1 when accepted.
  int NotifyService() const;
};

}  // namespace qv::app
