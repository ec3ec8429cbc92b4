// The service folder and the folders' rights. Wine keeps no access list on files (it answers
// from the Unix mode), so the rights are checked where Wine does check them: the access check
// of an ordinary user's token (administrators disabled) and of the administrator's.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <regex>
#include <string>

#include "framework/Handles.h"
#include "settings/SafeFolders.h"
#include "tests/support/TempDir.h"

namespace {

TEST(SafeFoldersTest, ServiceFolderIsMadeOrFoundButNeverTakenFromAFile) {
  qvtest::TempDir dir;
  EXPECT_TRUE(CreateServiceFolder(dir.File("SVC")));
  EXPECT_TRUE(CreateServiceFolder(dir.File("SVC")));  // there already: secured again
  qvtest::WriteBytes(dir.File("planted"), "planted");
  EXPECT_FALSE(CreateServiceFolder(dir.File("planted")));
  EXPECT_FALSE(CreateServiceFolder(dir.File("missing\\SVC")));
}

qv::UniqueHandle Token(bool ordinaryUser) {
  HANDLE process = nullptr;
  HANDLE primary = nullptr;
  HANDLE token = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &process);
  const qv::UniqueHandle own(process);
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(administrators);
  ::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size);
  SID_AND_ATTRIBUTES disabled{administrators, 0};
  ::CreateRestrictedToken(process, 0, ordinaryUser ? 1 : 0, &disabled, 0, nullptr, 0, nullptr,
                          &primary);
  const qv::UniqueHandle restricted(primary);
  ::DuplicateToken(primary, SecurityImpersonation, &token);
  return qv::UniqueHandle(token);
}

// On a folder owned by the system, so that the token has no owner's rights.
bool Granted(const wchar_t* rights, const qv::UniqueHandle& token, DWORD access) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ::ConvertStringSecurityDescriptorToSecurityDescriptorW(
      (L"O:SYG:SY" + std::wstring(rights)).c_str(), SDDL_REVISION_1, &descriptor, nullptr);
  GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                          FILE_ALL_ACCESS};
  PRIVILEGE_SET privileges{};
  DWORD privilegesSize = sizeof(privileges);
  DWORD granted = 0;
  BOOL status = FALSE;
  const BOOL checked = ::AccessCheck(descriptor, token.Get(), access, &mapping, &privileges,
                                     &privilegesSize, &granted, &status);
  ::LocalFree(descriptor);
  return checked && status && granted == access;
}

TEST(SafeFoldersTest, OrdinaryUsersReadTheServiceFolderAndCreateOnlyFoldersBesideThePrograms) {
  const qv::UniqueHandle user = Token(true);
  const qv::UniqueHandle administrator = Token(false);
  const DWORD read = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
  const wchar_t* const svc = qv::kServiceFolderRights;
  const wchar_t* const app = qv::kApplicationFolderRights;
  const struct {
    const wchar_t* rights;
    const qv::UniqueHandle& token;
    DWORD access;
    bool granted;
  } cases[] = {
      {svc, user, read, true},
      {svc, user, FILE_ADD_FILE, false},
      {svc, user, FILE_ADD_SUBDIRECTORY, false},
      {svc, user, DELETE | WRITE_DAC, false},
      {svc, administrator, FILE_ALL_ACCESS, true},
      {app, user, read | FILE_ADD_SUBDIRECTORY, true},
      {app, user, FILE_ADD_FILE, false},
      {app, user, FILE_DELETE_CHILD | WRITE_DAC, false},
      {app, administrator, FILE_ALL_ACCESS, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.granted, Granted(c.rights, c.token, c.access))
        << (c.rights == svc ? "SVC, " : "app, ") << (&c.token == &user ? "user, " : "admin, ")
        << std::hex << c.access;
  }
}

// What a user's folder inherits from the application folder: nothing for users or everyone.
TEST(SafeFoldersTest, AUsersFolderInheritsNothingForOtherUsers) {
  const std::wregex ace(L"\\(A;([A-Z]*);[^;]*;;;([A-Z]+)\\)");
  const std::wstring rights = qv::kApplicationFolderRights;
  std::ptrdiff_t read = 0;
  for (std::wsregex_iterator it(rights.begin(), rights.end(), ace), end; it != end; ++it, ++read) {
    const std::wstring flags = (*it)[1];
    if (flags.find(L"CI") != std::wstring::npos ||
        (flags.find(L"OI") != std::wstring::npos && flags.find(L"NP") == std::wstring::npos)) {
      EXPECT_TRUE((*it)[2] != L"BU" && (*it)[2] != L"WD") << it->str(0);
    }
  }
  EXPECT_EQ(std::count(rights.begin(), rights.end(), L'('), read);  // every entry was read
}

}  // namespace
