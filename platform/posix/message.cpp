// Stand-in for FormatMessageW: Windows' English system texts for the status
// codes the plug-in can meet (registry, file and memory errors), formatted
// as Windows formats them.
#include "platform/platform.h"

namespace platform {

namespace {

struct SystemMessage {
  DWORD code;
  const char16_t* text;  // One line, without the line break that ends it.
};

// Windows' own wording, in ascending order of code. Wine's English texts
// differ (they are shorter); the tests list both.
constexpr SystemMessage kSystemMessages[] = {
    {0, u"The operation completed successfully."},
    {1, u"Incorrect function."},
    {2, u"The system cannot find the file specified."},
    {3, u"The system cannot find the path specified."},
    {4, u"The system cannot open the file."},
    {5, u"Access is denied."},
    {6, u"The handle is invalid."},
    {8, u"Not enough memory resources are available to process this command."},
    {12, u"The access code is invalid."},
    {13, u"The data is invalid."},
    {14, u"Not enough memory resources are available to complete this operation."},
    {19, u"The media is write protected."},
    {21, u"The device is not ready."},
    {29, u"The system cannot write to the specified device."},
    {30, u"The system cannot read from the specified device."},
    {31, u"A device attached to the system is not functioning."},
    {32, u"The process cannot access the file because it is being used by another process."},
    {33,
     u"The process cannot access the file because another process has locked a portion of "
     u"the file."},
    {39, u"The disk is full."},
    {50, u"The request is not supported."},
    {87, u"The parameter is incorrect."},
    {112, u"There is not enough space on the disk."},
    {120, u"This function is not supported on this system."},
    {122, u"The data area passed to a system call is too small."},
    {123, u"The filename, directory name, or volume label syntax is incorrect."},
    {161, u"The specified path is invalid."},
    {206, u"The filename or extension is too long."},
    {234, u"More data is available."},
    {259, u"No more data is available."},
    {998, u"Invalid access to memory location."},
    {1008, u"An attempt was made to reference a token that does not exist."},
    {1009, u"The configuration registry database is corrupt."},
    {1010, u"The configuration registry key is invalid."},
    {1011, u"The configuration registry key could not be opened."},
    {1012, u"The configuration registry key could not be read."},
    {1013, u"The configuration registry key could not be written."},
    {1014,
     u"One of the files in the registry database had to be recovered by use of a log or "
     u"alternate copy. The recovery was successful."},
    {1015,
     u"The registry is corrupted. The structure of one of the files containing registry "
     u"data is corrupted, or the system's memory image of the file is corrupted, or the "
     u"file could not be recovered because the alternate copy or log was absent or "
     u"corrupted."},
    {1016,
     u"An I/O operation initiated by the registry failed unrecoverably. The registry could "
     u"not read in, or write out, or flush, one of the files that contain the system's "
     u"image of the registry."},
    {1017,
     u"The system has attempted to load or restore a file into the registry, but the "
     u"specified file is not in a registry file format."},
    {1018, u"Illegal operation attempted on a registry key that has been marked for deletion."},
    {1019, u"System could not allocate the required space in a registry log."},
    {1020, u"Cannot create a symbolic link in a registry key that already has subkeys or values."},
    {1021, u"Cannot create a stable subkey under a volatile parent key."},
    {1117, u"The request could not be performed because of an I/O device error."},
    {1314, u"A required privilege is not held by the client."},
    {1392, u"The file or directory is corrupted and unreadable."},
    {1450, u"Insufficient system resources exist to complete the requested service."},
    {1460, u"This operation returned because the timeout period expired."},
    {1816, u"Not enough quota is available to process this command."},
};

constexpr DWORD kEnglishUnitedStates = 0x0409;

const char16_t* SystemText(DWORD code) {
  for (const SystemMessage& message : kSystemMessages) {
    if (message.code == code) return message.text;
  }
  return nullptr;
}

}  // namespace

// Answers system texts only (FORMAT_MESSAGE_FROM_SYSTEM), in English (language
// 0 or English (United States)), into the caller's buffer; these texts have
// no inserts. A width of 0 keeps the line break that ends each text; the
// width mask turns it into one blank, as Windows turns every ordinary line
// break. Other widths would make Windows wrap lines, which no caller asks for:
// like every other request the stand-in cannot answer, they return 0, as does
// a code without a text. The result counts the characters written without the
// terminator. When the text and its terminator do not fit, the buffer gets as
// much of the text as fits, terminated, and the result is 0, as under Wine.
DWORD FormatMessageW(DWORD flags, const void* /*source*/, DWORD messageId, DWORD languageId,
                     char16_t* buffer, DWORD size, va_list* /*arguments*/) {
  const DWORD width = flags & FORMAT_MESSAGE_MAX_WIDTH_MASK;
  const DWORD otherFlags = flags & ~(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                     FORMAT_MESSAGE_MAX_WIDTH_MASK);
  if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || otherFlags != 0 || buffer == nullptr) return 0;
  if (width != 0 && width != FORMAT_MESSAGE_MAX_WIDTH_MASK) return 0;
  if (languageId != 0 && languageId != kEnglishUnitedStates) return 0;
  const char16_t* const text = SystemText(messageId);
  if (text == nullptr || size == 0) return 0;

  DWORD length = 0;
  bool fits = true;
  const auto append = [&](const char16_t* part) {
    for (; fits && *part != u'\0'; ++part) {
      if (length + 1 < size) {
        buffer[length++] = *part;
      } else {
        fits = false;
      }
    }
  };
  append(text);
  append(width == 0 ? u"\r\n" : u" ");
  buffer[length] = u'\0';
  return fits ? length : 0;
}

}  // namespace platform
