// Where each registry root of the stand-in lives, and how its file is read
// and safely replaced.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"
#include "platform/posix/registry_store.h"

namespace standin::registry {

enum class Root { CurrentUser, LocalMachine };

void SetStoreFile(Root root, std::string path);
std::string StoreFile(Root root);
void SetReadOnly(Root root, bool readOnly);
void SetSaveHook(std::function<bool()> hook);

// The root's contents as its file holds them now; a missing, unreadable or
// corrupt file holds no keys.
Store LoadStore(Root root);
// False when a change to the root would be refused with access denied.
bool StoreWritable(Root root);

// Applies `change` to the root's current contents and saves the result, all
// under the root's lock. `change` returns a Win32 status and sets `modified`
// when there is something to save; nothing is saved when it fails. Returns
// the change's status, or the failure of the save.
using StoreChange = std::function<platform::LSTATUS(Store& store, bool& modified)>;
platform::LSTATUS ChangeStore(Root root, const StoreChange& change);

}  // namespace standin::registry
