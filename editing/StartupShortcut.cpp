#include "editing/StartupShortcut.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <ole2.h>
#include <shlobj.h>

#include <utility>

#include "framework/Cp932.h"

namespace qv::editing {

namespace {

// The shortcut's name and description, in code page 932 like every text of the program.
const char kShortcutName[] = "\\ぼれる.lnk";
const char kDescription[] = "ぼれる";

// OLE for the length of one operation.
class OleSession {
 public:
  OleSession() : m_ok(SUCCEEDED(::OleInitialize(nullptr))) {}
  ~OleSession() {
    if (m_ok) ::OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool m_ok;
};

// Holds one reference to a COM interface.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (m_p) m_p->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  Interface** Out() { return &m_p; }
  Interface* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

 private:
  Interface* m_p = nullptr;
};

// The running program's full path, or empty when it does not fit the shell link's path field.
std::wstring LinkableModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  path.resize(length);
  return path;
}

}  // namespace

CStartupShortcut::CStartupShortcut(std::wstring folder) : m_folder(std::move(folder)) {}

std::wstring CStartupShortcut::ShortcutPath() const {
  std::wstring folder = m_folder;
  if (folder.empty()) {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, buffer))) {
      return {};
    }
    folder = buffer;
  }
  return folder.empty() ? std::wstring() : folder + Cp932ToWide(kShortcutName);
}

bool CStartupShortcut::IsStartupShortcutPresent() const {
  const std::wstring path = ShortcutPath();
  return !path.empty() && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CStartupShortcut::CreateStartupShortcut() const {
  OleSession ole;
  ComRef<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Out())))) {
    return false;
  }
  const std::wstring program = LinkableModulePath();
  const std::wstring shortcut = ShortcutPath();
  if (program.empty() || shortcut.empty()) return false;
  const std::wstring folder = program.substr(0, program.rfind(L'\\'));
  link->SetPath(program.c_str());
  link->SetDescription(Cp932ToWide(kDescription).c_str());
  link->SetArguments(L"");
  link->SetWorkingDirectory(folder.c_str());
  link->SetIconLocation(program.c_str(), 0);
  ComRef<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out())))) {
    return false;
  }
  return SUCCEEDED(file->Save(shortcut.c_str(), TRUE));
}

void CStartupShortcut::DeleteStartupShortcut() const {
  const std::wstring path = ShortcutPath();
  if (!path.empty()) ::DeleteFileW(path.c_str());
}

}  // namespace qv::editing
