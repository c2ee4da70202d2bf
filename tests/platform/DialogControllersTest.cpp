#include "UIDocumentPickerDelegate.h"
#include "UIDocumentPickerViewController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using ::testing::ElementsAre;

namespace {

class Picks : public UIDocumentPickerDelegate {
public:
    std::vector<std::size_t> counts;

    void documentPicker(UIDocumentPickerViewController&, const std::vector<URL>& urls) override
    {
        counts.push_back(urls.size());
    }
};

} // namespace

// The alert and the picker as the plug-in uses them are tested with its
// controller.
TEST(UIDocumentPickerViewController, HandsOnOneDocumentUnlessMultipleSelectionIsOn)
{
    const auto picks = std::make_shared<Picks>();
    const auto picker =
        std::make_shared<UIDocumentPickerViewController>(std::vector<std::string>{"public.data"}, UIDocumentPickerMode::open);
    picker->setDelegate(picks);
    const std::vector<URL> two{URL::fileURL("/tmp/a"), URL::fileURL("/tmp/b")};
    picker->pick(two);
    picker->setAllowsMultipleSelection(true);
    picker->pick(two);
    EXPECT_THAT(picks->counts, ElementsAre(1u, 2u));
    // The picker does not keep its delegate alive.
    picker->setDelegate(std::make_shared<Picks>());
    EXPECT_FALSE(picker->delegate());
}
