// The service folder and the application folder, with rights given as SDDL.
#include "settings/SafeFolders.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include "framework/Cp932.h"
#include "framework/UniqueResource.h"

namespace {

struct LocalMemoryTraits {
  using Type = PSECURITY_DESCRIPTOR;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type memory) noexcept { ::LocalFree(memory); }
};
using UniqueDescriptor = qv::UniqueResource<LocalMemoryTraits>;

UniqueDescriptor Descriptor(const wchar_t* rights) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(rights, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
    return UniqueDescriptor();
  }
  return UniqueDescriptor(descriptor);
}

// Replaces the folder's access list with the one of `rights`, protected from inheritance;
// what lies inside inherits from it again.
bool ApplyRights(const std::wstring& path, const wchar_t* rights) {
  const UniqueDescriptor descriptor = Descriptor(rights);
  if (!descriptor) return false;
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL acl = nullptr;
  if (!::GetSecurityDescriptorDacl(descriptor.Get(), &present, &acl, &defaulted) || !present) {
    return false;
  }
  std::wstring name = path;  // the call takes a writable string
  return ::SetNamedSecurityInfoW(&name[0], SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                 nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
}

}  // namespace

namespace qv {

// System and administrators: full control; users: read and list. Inherited by everything in it.
const wchar_t kServiceFolderRights[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

// System and administrators: full control of everything. Users: read, list and create folders
// in this folder, read its files, nothing in the folders of others. The creator of a folder:
// full control of it and of what lies in it.
const wchar_t kApplicationFolderRights[] =
    L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;;0x1200ad;;;BU)(A;OINPIO;0x1200a9;;;BU)"
    L"(A;OICIIO;FA;;;CO)";

bool CreateServiceFolderW(const std::wstring& path) {
  const UniqueDescriptor descriptor = Descriptor(kServiceFolderRights);
  if (!descriptor) return false;
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.Get(), FALSE};
  if (::CreateDirectoryW(path.c_str(), &attributes)) return true;
  // A folder that is there already may have been made by anybody who could write beside it.
  if (::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  const DWORD attributesOfPath = ::GetFileAttributesW(path.c_str());
  if (attributesOfPath == INVALID_FILE_ATTRIBUTES ||
      (attributesOfPath & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (attributesOfPath & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return false;
  }
  return ApplyRights(path, kServiceFolderRights);
}

bool SecureApplicationFolderW(const std::wstring& path) {
  return ApplyRights(path, kApplicationFolderRights);
}

}  // namespace qv

bool CreateServiceFolder(const std::string& path) {
  return qv::CreateServiceFolderW(qv::Cp932ToWide(path));
}
