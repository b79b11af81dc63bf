// The help texts of the five names the plug-in offers, and the lookup that
// Usage, Help and the MARIVEXKEY command share.
#pragma once

#include <cstdint>

extern const char16_t kFile2UriHelp[];
extern const char16_t kFile2UrisHelp[];
extern const char16_t kIsUrlHelp[];
extern const char16_t kUri2FileHelp[];
extern const char16_t kMarivexKeyHelp[];

// The help text for a name of the function list, compared without regard to
// the case of ASCII letters; null for any other name (and for a null name).
const char16_t* FindHelpText(const char16_t* name);

// The host's questions: the syntax of a name (written to a buffer of
// kMaxNameLen characters; 1 when written, else 0 and the buffer untouched),
// and its help in a message box (1 when shown, 0 for a name without help).
int32_t AnswerUsage(const char16_t* name, char16_t* syntax);
int32_t ShowHelp(const char16_t* name);
