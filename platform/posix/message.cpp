// Stand-in for FormatMessageW: Windows' English system texts for the status
// codes the other stand-ins return, formatted as Windows formats them.
#include "platform/platform.h"

namespace platform {

namespace {

struct SystemMessage {
  DWORD code;
  const char16_t* text;  // One line, without the line break that ends it.
};

// Windows' own wording for the codes the stand-ins return, in ascending order.
constexpr SystemMessage kSystemMessages[] = {
    {0, u"The operation completed successfully."},
    {2, u"The system cannot find the file specified."},
    {5, u"Access is denied."},
    {6, u"The handle is invalid."},
    {87, u"The parameter is incorrect."},
    {112, u"There is not enough space on the disk."},
    {161, u"The specified path is invalid."},
    {234, u"More data is available."},
    {998, u"Invalid access to memory location."},
    {1016,
     u"An I/O operation initiated by the registry failed unrecoverably. The registry could "
     u"not read in, or write out, or flush, one of the files that contain the system's "
     u"image of the registry."},
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
