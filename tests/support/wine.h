// Tells the Windows tests whether Windows itself or Wine answers them, for the
// rows where Wine's answer is known to differ from Windows'.
#pragma once

namespace testing_support {

// True only in the Windows build running under Wine.
bool RunningUnderWine();

// The text a row expects: Windows' own, or Wine's where the row records that
// Wine differs (wine is not null) and Wine is running.
inline const char16_t* WindowsOrWine(const char16_t* windows, const char16_t* wine) {
  return wine != nullptr && RunningUnderWine() ? wine : windows;
}

}  // namespace testing_support
