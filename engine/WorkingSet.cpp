// The working-set trim: every process but the snapshot's first gives its pages back.
#include "engine/LogText.h"
#include "engine/MemClean.h"
#include "engine/ProcessSystem.h"

int CMemClean::OptimizeWorkingSet(int bLog) {
  IProcessSystem& processes = *m_platform.processes;
  auto write = [&](std::string line) {
    if (bLog) Report(std::move(line));
  };

  // Processes of other users and of the system need the debug privilege; without it the
  // others are still trimmed. The privilege stays enabled.
  std::unique_ptr<IAccessToken> token = processes.OpenOwnToken();
  if (!token) {
    write(logtext::kTokenFailure);
  } else if (token->EnablePrivilege("SeDebugPrivilege", 1)) {
    token.reset();
    write(logtext::kPrivilegeSuccess);
  } else {
    write(logtext::kPrivilegeFailure);
  }

  std::vector<CProcessEntry> snapshot;
  if (!processes.TakeProcessSnapshot(snapshot)) {
    write(logtext::kSnapshotFailure);
    return 0;
  }
  write(logtext::kSnapshotSuccess);
  m_appSetting.m_bModified = 1;

  // The first entry is the system's idle process.
  for (std::size_t i = 1; i < snapshot.size(); ++i) {
    const std::string& name = snapshot[i].exeName;
    std::unique_ptr<IProcessHandle> process = processes.OpenProcess(snapshot[i].processId);
    if (!process) {
      write(name + logtext::kProcessOpenFailure);
      continue;
    }
    std::string before = "error";
    std::string after = "error";
    std::uint64_t bytes = 0;
    if (process->QueryWorkingSetSize(bytes)) before = logtext::Kilobytes(bytes / 1024);
    if (process->EmptyWorkingSet()) {
      if (process->QueryWorkingSetSize(bytes)) after = logtext::Kilobytes(bytes / 1024);
      write(name + logtext::kProcessTrimmed + " " + before + "->" + after);
    } else {
      write(name + logtext::kProcessTrimFailure);
    }
  }
  return 1;
}
