// How a settings file that cannot be read in full is reported: the window program shows a
// modal box, the service must not block. The owner of the process chooses.
#pragma once

#include <string>

#include "QuorvelLExport.h"

inline constexpr char kReadFailureText[] =
    "読み込みに失敗しました\r\nバックアップからの回復を図ります";
inline constexpr char kReadFailureCaption[] = "エラー";

class QUORVELL_EXPORT IReadFailureReporter {
 public:
  virtual ~IReadFailureReporter();
  // Called before the backup is read; returns when the user (if any) has seen it.
  virtual void ReportReadFailure(const std::string& text, const std::string& caption) = 0;
};

// The platform's default: a modal message box without an owner on Windows.
QUORVELL_EXPORT IReadFailureReporter& SystemReadFailureReporter();

// The reporter that CAppSetting::Load uses; null restores the platform's default.
QUORVELL_EXPORT void SetReadFailureReporter(IReadFailureReporter* reporter);
QUORVELL_EXPORT IReadFailureReporter& CurrentReadFailureReporter();
