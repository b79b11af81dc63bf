// The descriptor, as a host sees it after loading the module from its file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/version.h"
#include "tests/fixtures/host_session.h"

namespace {

using DescriptorTest = testing_support::PluginTest;

TEST_F(DescriptorTest, HoldsTheNineValues) {
  const PluginDescriptor* d = HostPluginDescriptor();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(std::u16string(d->name), u"Marivex");
  EXPECT_EQ(std::u16string(d->description), u"Marivex plugin");
  EXPECT_EQ(std::u16string(d->functions), u"@file2uri,@file2uris,@isurl,@uri2file,marivexkey,*key");
  EXPECT_EQ(d->majorVersion, MARIVEX_VERSION_MAJOR);
  EXPECT_EQ(d->minorVersion, MARIVEX_VERSION_MINOR);
  EXPECT_EQ(d->build, MARIVEX_VERSION_BUILD);
  for (const char16_t* text : {d->author, d->email, d->webPage}) {
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(std::u16string(text).empty());
  }
}

TEST_F(DescriptorTest, IsFollowedBySixteenZeroBytes) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(HostPluginDescriptor());
  const unsigned char zeros[16] = {};
  EXPECT_EQ(std::memcmp(bytes + sizeof(PluginDescriptor), zeros, sizeof zeros), 0);
}

TEST_F(DescriptorTest, SameAddressAndContentsOnEveryCall) {
  const auto getPluginInfo = Export<GetPluginInfoFunction>("GetPluginInfo");
  ASSERT_NE(getPluginInfo, nullptr);
  PluginDescriptor* first = getPluginInfo();
  const PluginDescriptor copy = *first;
  PluginDescriptor* second = getPluginInfo();
  EXPECT_EQ(first, second);
  EXPECT_EQ(first, HostPluginDescriptor());
  EXPECT_EQ(std::memcmp(&copy, second, sizeof copy), 0);
}

}  // namespace
