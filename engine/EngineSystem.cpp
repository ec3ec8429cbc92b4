#include "engine/EngineSystem.h"

#include "engine/PerformanceData.h"
#include "engine/ProcessSystem.h"
#include "engine/VirtualMemory.h"

CLocalTime LocalTimeOf(const std::tm& local) {
  CLocalTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.weekday = local.tm_wday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec;
  return result;
}

IPassThread::~IPassThread() = default;
IExclusiveFile::~IExclusiveFile() = default;
IEngineSystem::~IEngineSystem() = default;
IAccessToken::~IAccessToken() = default;
IProcessHandle::~IProcessHandle() = default;
IProcessSystem::~IProcessSystem() = default;
IVirtualMemory::~IVirtualMemory() = default;
IPerformanceData::~IPerformanceData() = default;
