// Test helpers around the stand-in host: output captures and a loaded plug-in.
// The same helpers serve the native tests and the Windows tests under Wine.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/takecmd.h"

namespace testing_support {

// The plug-in module's file name, next to the test program.
inline const char16_t* PluginFile() {
  return MARIVEX_PLUGIN_FILE;
}

// Collects everything the host writes while it lives.
class OutputCapture {
 public:
  OutputCapture() { HostSetOutputSink(&OutputCapture::Collect, this); }
  ~OutputCapture() { HostSetOutputSink(nullptr, nullptr); }
  OutputCapture(const OutputCapture&) = delete;
  OutputCapture& operator=(const OutputCapture&) = delete;

  const std::u16string& Out() const { return out_; }
  const std::u16string& Err() const { return err_; }
  void Clear() {
    out_.clear();
    err_.clear();
  }

 private:
  static void Collect(int stream, const char16_t* text, size_t length, void* context) {
    auto* self = static_cast<OutputCapture*>(context);
    (stream == HOST_STDERR ? self->err_ : self->out_).append(text, length);
  }
  std::u16string out_;
  std::u16string err_;
};

// A fresh shell with the plug-in loaded from its file, and output captured.
// The load itself (and its message) happens in SetUp, before the test body.
class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostReset();
    ASSERT_EQ(HostLoadPlugin(PluginFile()), 0) << "cannot load the plug-in";
    output.Clear();
  }
  void TearDown() override {
    HostUnloadPlugin();
    HostReset();
  }

  template <typename Function>
  Function Export(const char* name) {
    return reinterpret_cast<Function>(HostPluginExport(name));
  }

  OutputCapture output;
};

}  // namespace testing_support
