#include "base/errors.h"

#include "base/char_class.h"
#include "base/host_contract.h"
#include "base/host_text.h"
#include "base/identity.h"
#include "base/text.h"

platform::HANDLE StandardError() {
  return platform::GetStdHandle(platform::STD_ERROR_HANDLE);
}

namespace {

// Set while the prefix asks the host for the batch location. The host scans
// a batch file's name again, so a name holding "%@uri2file[]" calls this
// plug-in back, and that call's error would ask for the prefix anew, without
// end, until the shell's stack ran out.
bool expandingPrefix = false;

}  // namespace

// The name goes out before the host is asked anything, so it is always
// written. Only the first character of the expanded "%_batch" is tested: "0"
// means no batch file runs. The batch location is printed as literal text, so
// a "%" in a batch file's name is never read as a format. An error raised
// while the location is expanded gets the name alone.
void ErrorPrefix() {
  char16_t buffer[MAX_ARG_LEN];
  Qprintf(StandardError(), u"%s plugin: ", kPluginName);
  if (expandingPrefix) return;
  expandingPrefix = true;
  ExpandHostText(u"%_batch", buffer);
  const bool inBatchFile = buffer[0] != u'0';
  if (inBatchFile) ExpandHostText(u"%_batchname [%_batchline]  ", buffer);
  expandingPrefix = false;
  if (inBatchFile) Qprintf(StandardError(), u"%s", buffer);
}

// Asks Windows for the code's message on one line (the width mask keeps line
// breaks out), falls back to "Error <code>" in signed decimal, and removes the
// trailing white space Windows leaves.
void FormatSystemError(int32_t code, char16_t* text) {
  constexpr platform::DWORD kFlags = platform::FORMAT_MESSAGE_FROM_SYSTEM |
                                     platform::FORMAT_MESSAGE_IGNORE_INSERTS |
                                     platform::FORMAT_MESSAGE_MAX_WIDTH_MASK;
  if (code == -1) {
    TextCopy(text, kMaxNameLen, u"Unknown error");
  } else if (platform::FormatMessageW(kFlags, nullptr, static_cast<platform::DWORD>(code), 0, text,
                                      kMaxNameLen, nullptr) == 0) {
    platform::wsprintfW(text, u"Error %d", code);
  }
  TerminateText(text, kMaxNameLen);
  size_t length = TextLength(text);
  while (length > 0 && IsWhiteSpace(text[length - 1])) text[--length] = u'\0';
}
