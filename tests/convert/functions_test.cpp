// The four variable functions, called as the host calls them: through the
// exports of the loaded module, with the host's argument buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/text.h"
#include "tests/fixtures/guarded_buffer.h"
#include "tests/fixtures/host_session.h"

namespace {

class FunctionsTest : public testing_support::PluginTest {
 protected:
  struct Call {
    int result;
    std::u16string text;  // the buffer afterwards
  };

  // Calls an export with the argument in a fresh host buffer of MAX_ARG_LEN
  // characters and checks that the text ends within it and nothing was
  // written past it.
  Call Invoke(const char* name, const std::u16string& argument) {
    const auto function = Export<VariableFunction>(name);
    EXPECT_NE(function, nullptr) << name;
    if (function == nullptr) return {};
    testing_support::GuardedBuffer buffer(MAX_ARG_LEN, argument);
    const int result = function(buffer.Data());
    EXPECT_TRUE(buffer.GuardIntact()) << name << " wrote past the buffer";
    EXPECT_TRUE(buffer.TextLength().has_value()) << name << " left no terminator";
    return {result, buffer.Text()};
  }
};

// Each function writes its result over the argument. @ISURL hands the host
// the argument untrimmed; the others trim it first.
TEST_F(FunctionsTest, ResultsReplaceTheArgument) {
  static const struct {
    const char* function;
    const char16_t* argument;
    const char16_t* expected;
  } kCases[] = {
      {"f_file2uri", u"C:\\Temp\\a.txt", u"file:///C:/Temp/a.txt"},
      {"f_file2uri", u"a b.txt", u"file:///C:/Users/Marivex/a%%20b.txt"},
      {"f_file2uris", u"a b.txt", u"file:///C:/Users/Marivex/a\uff0520b.txt"},
      {"f_file2uri", u" \t\u00a0..\\x.txt \r\n", u"file:///C:/Users/x.txt"},
      {"f_file2uri", u"C:\\100%.txt", u"file:///C:/100%%25.txt"},
      {"f_file2uris", u"C:\\100%.txt", u"file:///C:/100\uff0525.txt"},
      {"f_file2uri", u"C:\\caf\u00e9\\\u4e2d.txt", u"file:///C:/caf%%E9/\u4e2d.txt"},
      {"f_file2uri", u"\\\\server\\share\\a b", u"file://server/share/a%%20b"},
      {"f_uri2file", u"file:///C:/Temp/a.txt", u"C:\\Temp\\a.txt"},
      {"f_uri2file", u"  file:///C:/Temp/a.txt\t", u"C:\\Temp\\a.txt"},
      {"f_uri2file", u"file:///C:/Temp/a%20b.txt", u"\"C:\\Temp\\a b.txt\""},
      {"f_uri2file", u"file:///C:/Temp/a\uff0520b.txt", u"\"C:\\Temp\\a b.txt\""},  // U+FF05 is "%"
      {"f_uri2file", u"file:///C:/a%26b", u"\"C:\\a&b\""},
      {"f_uri2file", u"file:///C:/a,b", u"\"C:\\a,b\""},
      {"f_uri2file", u"file:///C:/(a)%5Eb", u"C:\\(a)^b"},  // no trigger: returned bare
      // The shell scans a result again: each "%" comes back doubled, in
      // quotes too, so that no variable or function in the name comes alive.
      {"f_uri2file", u"file:///C:/100%25", u"C:\\100%%"},
      {"f_uri2file", u"file:///C:/x%25@exec[del%20*]%25", u"\"C:\\x%%@exec[del *]%%\""},
      {"f_uri2file", u"file:///C:/caf%E9", u"C:\\caf\u00e9"},
      {"f_uri2file", u"file://server/share/a", u"\\\\server\\share\\a"},
      {"f_isurl", u"", u"0"},
      {"f_isurl", u"http://example.com", u"1"},
      {"f_isurl", u"HTTPS://example.com", u"2"},
      {"f_isurl", u" http://example.com", u"0"},  // the host sees the leading blank
      {"f_isurl", u"ftp://x", u"3"},
      {"f_isurl", u"mailto:a@b", u"8"},
      {"f_isurl", u"C:\\Temp", u"0"},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.argument)));
    const Call call = Invoke(row.function, row.argument);
    EXPECT_EQ(call.result, 0);
    EXPECT_EQ(call.text, row.expected);
  }
  EXPECT_EQ(output.Err(), u"");
}

TEST_F(FunctionsTest, Failures) {
  // "C:\" and 2,100 "#": the URI has 6,311 characters, each "#" a "%23",
  // 8,411 once its "%" are doubled.
  const std::u16string hashes = u"C:\\" + std::u16string(2100, u'#');
  const struct {
    const char* function;
    std::u16string argument;
    std::u16string message;
    std::u16string bufferAfter;
  } kCases[] = {
      {"f_file2uri", u"", u"Missing filename", u""},
      {"f_file2uri", u" \t\u00a0 ", u"Missing filename", u""},
      {"f_file2uris", u"\r\n", u"Missing filename", u""},
      {"f_uri2file", u"  ", u"Missing string", u""},
      {"f_uri2file", u"http://example.com/a", u"Error 0x80070057 converting string",
       u"http://example.com/a"},
      {"f_uri2file", u" C:\\not a url \uff05 ", u"Error 0x80070057 converting string",
       u"C:\\not a url %"},
      // No file name holds a double quote, and none can be quoted that does:
      // its quote would end the quotes around it.
      {"f_uri2file", u"file:///C:/a%22%20%26%20b", u"Error: a file name cannot hold a double quote",
       u"file:///C:/a%22%20%26%20b"},
      {"f_uri2file", u"file:///C:/a\uff0522b", u"Error: a file name cannot hold a double quote",
       u"file:///C:/a%22b"},
      {"f_uri2file", u"file:///C:/a\"b", u"Error: a file name cannot hold a double quote",
       u"file:///C:/a\"b"},
      // A URI cut to fit would name another file.
      {"f_file2uri", hashes, u"Error: the URI is too long to return", hashes},
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(row.argument.substr(0, 40)));
    output.Clear();
    const Call call = Invoke(row.function, row.argument);
    EXPECT_EQ(call.result, -1);
    EXPECT_EQ(output.Err(), u"Marivex plugin: " + row.message + u"\r\n");
    EXPECT_EQ(output.Out(), u"");
    EXPECT_EQ(call.text, row.bufferAfter);
  }
}

TEST_F(FunctionsTest, NullBufferWritesNothing) {
  for (const char* name : {"f_file2uri", "f_file2uris", "f_uri2file", "f_isurl"}) {
    SCOPED_TRACE(name);
    const auto function = Export<VariableFunction>(name);
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function(nullptr), -1);
  }
  EXPECT_EQ(output.Out(), u"");
  EXPECT_EQ(output.Err(), u"");
}

// ---- At the bounds of the host's buffer ----------------------------------

// An argument of 8,190 or 8,191 characters is read whole; 8,192 leave no
// room for the terminator, and the functions read the first 8,191.
TEST_F(FunctionsTest, ArgumentFillsTheBuffer) {
  for (const size_t length : {MAX_ARG_LEN - 2, MAX_ARG_LEN - 1, MAX_ARG_LEN}) {
    SCOPED_TRACE(length);
    const std::u16string url = u"http://" + std::u16string(length - 7, u'h');
    EXPECT_EQ(Invoke("f_isurl", url).text, u"1");
    const std::u16string uri = u"file:///C:/" + std::u16string(length - 11, u'a');
    const Call name = Invoke("f_uri2file", uri);
    EXPECT_EQ(name.result, 0);
    EXPECT_EQ(name.text, u"C:\\" + std::u16string(std::min(length, MAX_ARG_LEN - 1) - 11, u'a'));
  }
  EXPECT_EQ(output.Err(), u"");
}

// "C:\" and n "%" signs: doubled, the name has 2n + 3 characters, and up to
// 8,191 it is returned.
TEST_F(FunctionsTest, DoubledNameFillsTheBuffer) {
  for (const size_t percentSigns : {size_t{4094}, size_t{4095}}) {
    SCOPED_TRACE(percentSigns);
    const std::u16string uri = u"file:///C:/" + std::u16string(percentSigns, u'%');
    output.Clear();
    const Call call = Invoke("f_uri2file", uri);
    const bool fits = 2 * percentSigns + 3 < MAX_ARG_LEN;
    EXPECT_EQ(call.result, fits ? 0 : -1);
    EXPECT_EQ(call.text, fits ? u"C:\\" + std::u16string(2 * percentSigns, u'%') : uri);
    EXPECT_EQ(output.Err(),
              fits ? u"" : u"Marivex plugin: Error: the file name is too long to return\r\n");
  }
}

// The URI of "C:\" and n letters has n + 11 characters: up to 8,191 it
// comes back; at 8,192 Windows' own buffer of 8,192 cannot take it.
TEST_F(FunctionsTest, UriFillsTheBuffer) {
  static const struct {
    size_t uriLength;
    bool fits;
  } kCases[] = {{MAX_ARG_LEN - 2, true}, {MAX_ARG_LEN - 1, true}, {MAX_ARG_LEN, false}};
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.uriLength);
    const size_t letters = row.uriLength - 11;
    for (const char* function : {"f_file2uri", "f_file2uris"}) {
      SCOPED_TRACE(function);
      output.Clear();
      const Call call = Invoke(function, u"C:\\" + std::u16string(letters, u'a'));
      EXPECT_EQ(call.result, row.fits ? 0 : -1);
      if (row.fits) {
        EXPECT_EQ(call.text, u"file:///C:/" + std::u16string(letters, u'a'));
        EXPECT_EQ(output.Err(), u"");
      } else {
        EXPECT_EQ(output.Err(), u"Marivex plugin: No data returned\r\n");
        EXPECT_EQ(call.text, u"C:\\" + std::u16string(letters, u'a')) << "the canonical name stays";
      }
    }
  }
}

// "C:\%" and n letters: the URI "file:///C:/%25..." has n + 14 characters,
// n + 15 once its "%" is doubled. A doubled URI of up to 8,191 characters is
// returned whole; a longer one is refused, as a cut one would name another
// file, and the buffer keeps the canonical name. Made safe, the URI keeps its
// length and fits.
TEST_F(FunctionsTest, DoubledUriFillsTheBuffer) {
  for (const size_t doubledLength : {MAX_ARG_LEN - 2, MAX_ARG_LEN - 1, MAX_ARG_LEN}) {
    SCOPED_TRACE(doubledLength);
    const bool fits = doubledLength < MAX_ARG_LEN;
    const size_t letters = doubledLength - 15;
    const std::u16string name = u"C:\\%" + std::u16string(letters, u'a');
    output.Clear();
    const Call plain = Invoke("f_file2uri", name);
    EXPECT_EQ(plain.result, fits ? 0 : -1);
    EXPECT_EQ(plain.text, fits ? u"file:///C:/%%25" + std::u16string(letters, u'a') : name);
    EXPECT_EQ(output.Err(),
              fits ? u"" : u"Marivex plugin: Error: the URI is too long to return\r\n");
    output.Clear();
    const Call safe = Invoke("f_file2uris", name);
    EXPECT_EQ(safe.result, 0);
    EXPECT_EQ(safe.text, u"file:///C:/\uff0525" + std::u16string(letters, u'a'));
    EXPECT_EQ(output.Err(), u"");
  }
}

TEST_F(FunctionsTest, ErrorsCarryTheBatchLocation) {
  static const struct {
    const char16_t* batchVariable;  // what "%_batch" expands to; null: the host's own
    const char16_t* batchName;      // null: no batch file runs
    const char16_t* prefix;
  } kCases[] = {
      {nullptr, nullptr, u"Marivex plugin: "},
      {nullptr, u"C:\\Scripts\\run.btm", u"Marivex plugin: C:\\Scripts\\run.btm [12]  "},
      // The host scans the name again and leaves "%s %d", which is printed as text.
      {nullptr, u"C:\\Scripts\\100%%s %%d.btm",
       u"Marivex plugin: C:\\Scripts\\100%s %d.btm [12]  "},
      // Scanned again, the name calls the plug-in back; that call's error
      // gets the name alone, and the host leaves the location unexpanded.
      {nullptr, u"C:\\%@uri2file[]\\run.btm",
       u"Marivex plugin: Marivex plugin: Missing string\r\n%_batchname [%_batchline]  "},
      {u"10", u"C:\\deep.btm", u"Marivex plugin: C:\\deep.btm [12]  "},
      {u"", nullptr, u"Marivex plugin:  [-1]  "},
      {u"0x", u"C:\\hidden.btm", u"Marivex plugin: "},  // only the first character counts
  };
  for (const auto& row : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(row.prefix)));
    HostSetBatch(row.batchName, 12);
    HostSetVariable(u"_batch", row.batchVariable);
    output.Clear();
    EXPECT_EQ(Invoke("f_uri2file", u"").result, -1);
    EXPECT_EQ(output.Err(), std::u16string(row.prefix) + u"Missing string\r\n");
  }
}

TEST_F(FunctionsTest, ShellDispatchesFunctionsInAnyCase) {
  EXPECT_EQ(HostExecute(u"echo %@FILE2URI[a b.txt] %@isUrl[http://x] %@uri2file[file:///C:/x]"), 0);
  EXPECT_EQ(output.Out(), u"file:///C:/Users/Marivex/a%20b.txt 1 C:\\x\r\n");
  EXPECT_EQ(HostExecute(u"echo %@file2uri[]"), 1);
  EXPECT_EQ(output.Err(), u"Marivex plugin: Missing filename\r\n");
}

}  // namespace
