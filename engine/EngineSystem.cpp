#include "engine/EngineSystem.h"

#include "engine/PerformanceData.h"
#include "engine/ProcessSystem.h"
#include "engine/VirtualMemory.h"

IPassThread::~IPassThread() = default;
IExclusiveFile::~IExclusiveFile() = default;
IEngineSystem::~IEngineSystem() = default;
IAccessToken::~IAccessToken() = default;
IProcessHandle::~IProcessHandle() = default;
IProcessSystem::~IProcessSystem() = default;
IVirtualMemory::~IVirtualMemory() = default;
IPerformanceData::~IPerformanceData() = default;
