#pragma once

#include "Animator.h"

#include <memory>
#include <vector>

// The member lists of the containers: ordered, duplicates allowed, members compared
// by identity.
using AnimatorList = std::vector<std::shared_ptr<Animator>>;

// Removes the first entry that is `member`; false when there is none.
bool removeFirstEntry(AnimatorList& list, const std::shared_ptr<Animator>& member);
bool containsEntry(const AnimatorList& list, const std::shared_ptr<Animator>& member);
