#pragma once

#include "UserDefaults.h"

#include <memory>
#include <string>

// The app-group suite that both programs share.
extern std::string sharedContainer;

// A new store on the suite named by sharedContainer, on every call (none when
// the platform refuses the name).
std::shared_ptr<UserDefaults> sharedUserDefaults();

// The standard store itself, with the suite named by sharedContainer added to
// its search list.
std::shared_ptr<UserDefaults> combinedUserDefaults();
