// The service folder and the rights of the folders that the service trusts. Wine keeps no
// access list on files (it answers from the Unix mode), so the rights are checked where Wine
// does check them: the access check of an ordinary user's token (the administrators' group
// disabled) and of the administrator's against the descriptors that the folders get.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <string>

#include "settings/SafeFolders.h"
#include "tests/support/TempDir.h"

namespace {

TEST(SafeFoldersTest, ServiceFolderIsMadeOrFoundButNeverTakenFromAFile) {
  qvtest::TempDir dir;
  EXPECT_TRUE(CreateServiceFolder(dir.File("SVC")));
  EXPECT_TRUE(::GetFileAttributesA(dir.File("SVC").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(CreateServiceFolder(dir.File("SVC")));  // there already: secured again

  qvtest::WriteBytes(dir.File("planted"), "planted");
  EXPECT_FALSE(CreateServiceFolder(dir.File("planted")));
  EXPECT_EQ("planted", qvtest::ReadBytes(dir.File("planted")));
  EXPECT_FALSE(CreateServiceFolder(dir.File("missing\\SVC")));
}

class Token {
 public:
  explicit Token(bool ordinaryUser) {
    HANDLE process = nullptr;
    EXPECT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &process));
    HANDLE primary = process;
    if (ordinaryUser) {
      BYTE administrators[SECURITY_MAX_SID_SIZE];
      DWORD size = sizeof(administrators);
      EXPECT_TRUE(
          ::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size));
      SID_AND_ATTRIBUTES disabled{administrators, 0};
      EXPECT_TRUE(
          ::CreateRestrictedToken(process, 0, 1, &disabled, 0, nullptr, 0, nullptr, &primary));
    }
    EXPECT_TRUE(::DuplicateToken(primary, SecurityImpersonation, &m_token));
    if (primary != process) ::CloseHandle(primary);
    ::CloseHandle(process);
  }
  ~Token() { ::CloseHandle(m_token); }
  Token(const Token&) = delete;
  Token& operator=(const Token&) = delete;
  HANDLE Get() const { return m_token; }

 private:
  HANDLE m_token = nullptr;
};

// Whether the token gets `access` from the rights, on a folder owned by the system (so that
// the token has no owner's rights).
bool Granted(const wchar_t* rights, const Token& token, DWORD access) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const std::wstring owned = std::wstring(L"O:SYG:SY") + rights;
  EXPECT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(owned.c_str(), SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
  GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                          FILE_ALL_ACCESS};
  PRIVILEGE_SET privileges{};
  DWORD privilegesSize = sizeof(privileges);
  DWORD granted = 0;
  BOOL status = FALSE;
  EXPECT_TRUE(::AccessCheck(descriptor, token.Get(), access, &mapping, &privileges, &privilegesSize,
                            &granted, &status));
  ::LocalFree(descriptor);
  return status && granted == access;
}

TEST(SafeFoldersTest, OrdinaryUsersReadTheServiceFolderAndCreateOnlyFoldersBesideThePrograms) {
  const Token user(true);
  const Token administrator(false);
  const DWORD read = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
  struct Case {
    const wchar_t* rights;
    const Token& token;
    DWORD access;
    bool granted;
  } const cases[] = {
      {qv::kServiceFolderRights, user, read, true},
      {qv::kServiceFolderRights, user, FILE_ADD_FILE, false},
      {qv::kServiceFolderRights, user, FILE_ADD_SUBDIRECTORY, false},
      {qv::kServiceFolderRights, user, DELETE | WRITE_DAC, false},
      {qv::kServiceFolderRights, administrator, FILE_ALL_ACCESS, true},
      {qv::kApplicationFolderRights, user, read | FILE_ADD_SUBDIRECTORY, true},
      {qv::kApplicationFolderRights, user, FILE_ADD_FILE, false},
      {qv::kApplicationFolderRights, user, FILE_DELETE_CHILD, false},
      {qv::kApplicationFolderRights, user, WRITE_DAC, false},
      {qv::kApplicationFolderRights, administrator, FILE_ALL_ACCESS, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.granted, Granted(c.rights, c.token, c.access))
        << (&c.token == &user ? "user " : "administrator ") << std::hex << c.access;
  }
}

// What a folder made in the application folder inherits: nothing for users or everyone, full
// control for its creator over it and everything in it.
TEST(SafeFoldersTest, AUsersFolderInheritsNothingForOtherUsers) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
      qv::kApplicationFolderRights, SDDL_REVISION_1, &descriptor, nullptr));
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL acl = nullptr;
  ASSERT_TRUE(::GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted));
  BYTE creator[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(creator);
  ASSERT_TRUE(::CreateWellKnownSid(WinCreatorOwnerSid, nullptr, creator, &size));
  bool creatorHasAll = false;
  for (DWORD i = 0; i < acl->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(::GetAce(acl, i, reinterpret_cast<void**>(&ace)));
    const BYTE flags = ace->Header.AceFlags;
    const bool toFolders = (flags & CONTAINER_INHERIT_ACE) ||
                           ((flags & OBJECT_INHERIT_ACE) && !(flags & NO_PROPAGATE_INHERIT_ACE));
    if (!toFolders) continue;
    PSID trustee = &ace->SidStart;
    EXPECT_FALSE(::IsWellKnownSid(trustee, WinBuiltinUsersSid)) << i;
    EXPECT_FALSE(::IsWellKnownSid(trustee, WinWorldSid)) << i;
    EXPECT_FALSE(::IsWellKnownSid(trustee, WinAuthenticatedUserSid)) << i;
    if (::EqualSid(trustee, creator) && ace->Mask == FILE_ALL_ACCESS &&
        (flags & CONTAINER_INHERIT_ACE) && (flags & OBJECT_INHERIT_ACE)) {
      creatorHasAll = true;
    }
  }
  EXPECT_TRUE(creatorHasAll);
  ::LocalFree(descriptor);
}

}  // namespace
