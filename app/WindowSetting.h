// The look of the main window between runs: its rectangle, the order, width and style of the
// three rebar bands, the widths of the condition list's columns and the close-button option,
// kept in the window-settings file of the settings directory.
#pragma once

#include <cstdint>
#include <string>

class CArchiveReader;
class IFileStore;
class IReadFailureReporter;

// A rectangle in screen coordinates, as the file stores it.
struct CWindowRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The three fields of a rebar band that the file keeps, named as the platform's band record
// names them: the style, the width and the identifier field, which holds the band's index.
struct CBandSetting {
  std::int32_t fStyle = 1;  // the new-row flag
  std::int32_t cx = 0;
  std::int32_t wID = 0;
};

class CWindowSetting {
 public:
  static constexpr std::int32_t kFileVersion = 3;
  static constexpr std::int32_t kStatusBarVisible = 0x10000000;
  // Only the new-row and hidden bits of a stored band style are taken over.
  static constexpr std::int32_t kAppliedBandStyles = 9;

  CWindowSetting();
  virtual ~CWindowSetting();

  // 1 when the file was opened, even if it ended early (then the failure is reported once and
  // the backup read in its place); 0 for an empty path or a file that cannot be opened. Fields
  // that the file's version does not carry keep their values.
  int Load(const std::string& path);
  int Load(const std::string& path, IFileStore& files, IReadFailureReporter& reporter);

  // Writes the version-3 layout in one step, keeping the previous file as the backup. False
  // when the path is empty or the file could not be written; the old file is then unchanged.
  bool Save(const std::string& path);
  bool Save(const std::string& path, IFileStore& files);

  std::int32_t m_nVersion = 0;
  CWindowRect m_rcWindow;
  CBandSetting m_bandMenuBar;
  CBandSetting m_bandToolBar;
  CBandSetting m_bandTab;
  std::int32_t m_bStatusBar = 1;
  std::int32_t m_nSpare = 1;
  std::int32_t m_nColumnWidth[3] = {250, 250, 100};
  std::int32_t m_bMinimizeOnClose = 0;

 private:
  bool ReadFields(CArchiveReader& ar);
};
