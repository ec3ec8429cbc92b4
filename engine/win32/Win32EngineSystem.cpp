// The engine's seam on Windows.
#include <windows.h>

#include <process.h>

#include <algorithm>
#include <atomic>
#include <ctime>

#include "engine/EngineSystem.h"
#include "framework/Cp932.h"
#include "framework/Handles.h"
#include "settings/FileStore.h"
#include "settings/SafeFolders.h"
#include "settings/Utility.h"
#include "settings/win32/PlainFile.h"

namespace {

// The idle-kick message of the window program's message loop.
constexpr UINT kIdleKickMessage = 0x036A;

std::atomic<HWND> g_notifyWindow{nullptr};

class Win32PassThread final : public IPassThread {
 public:
  explicit Win32PassThread(qv::UniqueHandle thread) : m_thread(std::move(thread)) {}

  bool Wait(std::uint32_t milliseconds) override {
    return ::WaitForSingleObject(m_thread.Get(), milliseconds) == WAIT_OBJECT_0;
  }
  void Terminate() override { ::TerminateThread(m_thread.Get(), static_cast<DWORD>(-1)); }

 private:
  qv::UniqueHandle m_thread;
};

unsigned __stdcall PassThreadEntry(void* parameter) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  try {
    (*body)();
  } catch (...) {
  }
  return 1;
}

class Win32ExclusiveFile final : public IExclusiveFile {
 public:
  explicit Win32ExclusiveFile(qv::UniqueFile file) : m_file(std::move(file)) {}

  bool Size(std::uint64_t& size) override {
    LARGE_INTEGER value{};
    if (!::GetFileSizeEx(m_file.Get(), &value)) return false;
    size = static_cast<std::uint64_t>(value.QuadPart);
    return true;
  }

  bool ReadAt(std::uint64_t offset, std::size_t length, std::string& bytes) override {
    if (!Seek(offset)) return false;
    bytes.resize(length);
    std::size_t done = 0;
    while (done < length) {
      DWORD read = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length - done, 1 << 20));
      if (!::ReadFile(m_file.Get(), bytes.data() + done, chunk, &read, nullptr) || read == 0) {
        return false;
      }
      done += read;
    }
    return true;
  }

  bool WriteAt(std::uint64_t offset, const std::string& bytes) override {
    if (!Seek(offset)) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
      if (!::WriteFile(m_file.Get(), bytes.data() + done, chunk, &written, nullptr) ||
          written == 0) {
        return false;
      }
      done += written;
    }
    return true;
  }

 private:
  bool Seek(std::uint64_t offset) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(m_file.Get(), position, nullptr, FILE_BEGIN);
  }

  qv::UniqueFile m_file;
};

class Win32EngineSystem final : public IEngineSystem {
 public:
  QvTime Now() override { return static_cast<QvTime>(std::time(nullptr)); }

  CLocalTime LocalTime(QvTime time) override {
    const __time64_t value = time;
    std::tm local{};
    if (_localtime64_s(&local, &value) != 0) return CLocalTime();
    return LocalTimeOf(local);
  }

  void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }

  CMemoryStatus MemoryStatus() override {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    CMemoryStatus result;
    if (!::GlobalMemoryStatusEx(&status)) return result;
    result.memoryLoad = status.dwMemoryLoad;
    result.totalPhys = status.ullTotalPhys;
    result.availPhys = status.ullAvailPhys;
    result.totalPageFile = status.ullTotalPageFile;
    result.availPageFile = status.ullAvailPageFile;
    return result;
  }

  void PostNotify() override {
    if (HWND window = g_notifyWindow.load()) ::PostMessageW(window, kIdleKickMessage, 0, 0);
  }

  void SendNotify() override {
    if (HWND window = g_notifyWindow.load()) ::SendMessageW(window, kIdleKickMessage, 0, 0);
  }

  void TrimOwnWorkingSet() override {
    ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1),
                               static_cast<SIZE_T>(-1));
  }

  std::unique_ptr<IPassThread> StartThread(std::function<void()> body) override {
    auto parameter = std::make_unique<std::function<void()>>(std::move(body));
    const uintptr_t handle =
        _beginthreadex(nullptr, 0, PassThreadEntry, parameter.get(), 0, nullptr);
    if (handle == 0) return nullptr;
    parameter.release();  // the thread owns it now
    return std::make_unique<Win32PassThread>(qv::UniqueHandle(reinterpret_cast<HANDLE>(handle)));
  }

  std::string ApplicationPath() override { return GetApplicationPath(); }

  bool Exists(const std::string& path) override {
    WIN32_FIND_DATAW data;
    qv::UniqueFind find(::FindFirstFileW(qv::Cp932ToWide(path).c_str(), &data));
    return find.Valid();
  }

  void MakeDirectory(const std::string& path) override { CreateServiceFolder(path); }

  std::unique_ptr<IExclusiveFile> OpenExclusive(const std::string& path) override {
    qv::UniqueFile file = OpenPlainFile(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS);
    if (!file) return nullptr;
    return std::make_unique<Win32ExclusiveFile>(std::move(file));
  }

  bool ReplaceFile(const std::string& path, const std::string& bytes) override {
    return SystemFileStore().Replace(path, bytes, std::string());
  }
};

}  // namespace

// The other adapters of this folder.
IProcessSystem& Win32Processes();
IVirtualMemory& Win32Memory();
IPerformanceData& Win32Performance();

CEnginePlatform SystemEnginePlatform() {
  static Win32EngineSystem system;
  return CEnginePlatform{&system, &Win32Processes(), &Win32Memory(), &Win32Performance()};
}

void SetEngineNotifyWindow(void* window) {
  g_notifyWindow.store(static_cast<HWND>(window));
}
