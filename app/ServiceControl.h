// The service "Vorel" as the window program sees it: whether it is installed and running, and
// the order to read its settings again. Every call opens the service control manager and the
// service for itself and closes them again.
#pragma once

namespace qv::app {

class CServiceControl {
 public:
  virtual ~CServiceControl() = default;
  // 1 when the service can be opened; a manager that cannot be opened counts as none.
  int IsServiceInstalled() const;
  // 1 when the state has the bit of value 4 (running, continue pending, pause pending,
  // paused); a status that cannot be queried counts as not running.
  int IsServiceRunning() const;
  // The interrogate control (4): the service reads its settings file again. 1 when accepted.
  int NotifyService() const;
};

}  // namespace qv::app
