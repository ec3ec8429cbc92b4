// The shortcut "ぼれる.lnk" in the user's Startup folder, which starts the program at logon.
// Its presence is the setting: nothing else records it.
#pragma once

#include <string>

namespace qv::editing {

class CStartupShortcut {
 public:
  // folder: the folder to use instead of the user's Startup folder (tests); empty for the
  // Startup folder, resolved afresh by every operation.
  explicit CStartupShortcut(std::wstring folder = {});

  // True when something of the shortcut's name exists there, file or directory.
  bool IsStartupShortcutPresent() const;
  // Links to the running program: its path, its folder as the working directory, its first
  // icon, the description "ぼれる". An existing shortcut is overwritten. False when nothing
  // was written (no shell link object, no folder, or a program path too long for a link).
  bool CreateStartupShortcut() const;
  // Deletes the shortcut; a directory of that name stays.
  void DeleteStartupShortcut() const;

  // The full path of the shortcut, empty when the folder cannot be found.
  std::wstring ShortcutPath() const;

 private:
  std::wstring m_folder;
};

}  // namespace qv::editing
