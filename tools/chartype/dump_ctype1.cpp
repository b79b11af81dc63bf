// Prints Windows' CT_CTYPE1 word for every UTF-16 code unit, one line per
// unit: four hexadecimal digits of the unit, a blank, four of the word. Each
// unit is asked on its own, so a surrogate is typed as the lone unit it is.
// Built and run by tools/chartype/regenerate; the output feeds
// make_ctype1_table.py.
#include <windows.h>

#include <cstdio>

int main() {
  for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
    const wchar_t character = static_cast<wchar_t>(unit);
    WORD type = 0;
    if (!GetStringTypeW(CT_CTYPE1, &character, 1, &type)) {
      std::fprintf(stderr, "GetStringTypeW failed for U+%04X: error %lu\n", unit, GetLastError());
      return 1;
    }
    std::printf("%04X %04X\n", unit, type);
  }
  return 0;
}
