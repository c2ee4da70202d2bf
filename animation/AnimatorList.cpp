#include "AnimatorList.h"

#include <algorithm>

bool removeFirstEntry(AnimatorList& list, const std::shared_ptr<Animator>& member)
{
    const auto entry = std::find(list.begin(), list.end(), member);
    if (entry == list.end()) {
        return false;
    }
    list.erase(entry);
    return true;
}

bool containsEntry(const AnimatorList& list, const std::shared_ptr<Animator>& member)
{
    return std::find(list.begin(), list.end(), member) != list.end();
}
