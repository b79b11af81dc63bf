// The native registry's roots, a file each (registry_file.cpp).
#pragma once

#include <functional>
#include <optional>

#include "platform/platform.h"
#include "support/registry_export.h"

namespace standin::registry {

using support::registry::Store;

enum class Root { CurrentUser, LocalMachine };

std::optional<Root> RootOf(platform::HKEY key);
Store LoadStore(Root root);
// Applies `change` to the root's contents and, when it succeeds and sets
// `modified`, replaces the root's file. Gives its status or the save's.
using StoreChange = std::function<platform::LSTATUS(Store& store, bool& modified)>;
platform::LSTATUS ChangeStore(Root root, const StoreChange& change);

}  // namespace standin::registry
