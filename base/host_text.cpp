#include "base/host_text.h"

#include "base/host_contract.h"

void ExpandHostText(const char16_t* text, char16_t (&buffer)[MAX_ARG_LEN]) {
  TextClear(buffer, CountOf(buffer));
  TextCopy(buffer, text);
  ExpandVariables(buffer, 1);
  TerminateText(buffer);
}
