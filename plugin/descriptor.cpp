// The descriptor through which the host learns what the plug-in offers.
#include "base/host_contract.h"
#include "base/identity.h"
#include "plugin/exports.h"

namespace {

// The descriptor, followed by 16 bytes that the plug-in keeps zero and never
// writes; the host owns their use.
struct DescriptorStorage {
  PluginDescriptor descriptor;
  alignas(8) unsigned char reserved[16];
};

DescriptorStorage storage{};

}  // namespace

// Fills the descriptor (the same values on every call) and returns its address.
PLUGIN_EXPORT PluginDescriptor* GetPluginInfo() {
  PluginDescriptor& d = storage.descriptor;
  d.name = kPluginName;
  d.author = u"Marivex developers";
  d.email = u"marivex@users.invalid";
  d.webPage = u"https://marivex.invalid/";
  d.description = u"Marivex plugin";
  d.functions = u"@file2uri,@file2uris,@isurl,@uri2file,marivexkey,*key";
  d.majorVersion = kVersionMajor;
  d.minorVersion = kVersionMinor;
  d.build = kVersionBuild;
  return &storage.descriptor;
}
