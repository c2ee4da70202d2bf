#include "UserDefaultsSuites.h"

std::string sharedContainer = "group.zuv.velmora.quillmere";

std::shared_ptr<UserDefaults> sharedUserDefaults()
{
    return UserDefaults::suite(sharedContainer);
}

std::shared_ptr<UserDefaults> combinedUserDefaults()
{
    auto store = UserDefaults::standard();
    store->addSuite(sharedContainer);
    return store;
}
