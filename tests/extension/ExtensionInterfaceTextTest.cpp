#include "../support/TextChecks.h"
#include "ExtensionInterface.h"
#include "UIButton.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// The texts `view` draws.
std::vector<TextDraw> textsOf(UIView& view)
{
    TextDrawRecorder recorder;
    UIGraphicsImageRenderer(view.bounds().size, 1).image([&](CGContext&) { view.draw(view.bounds()); });
    return recorder.draws();
}

} // namespace

TEST(ExtensionInterfaceText, TheControlTitlesLieOnOneLineInsideTheirButtonsAtTheFacesSpacing)
{
    const ExtensionInterface ui = ExtensionInterface::load();
    for (const auto& [button, title] : {std::pair{ui.contrastButton, "Contrast"}, {ui.freezeButton, "Freeze"}}) {
        const std::vector<TextDraw> texts = textsOf(*button);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].string, title);
        EXPECT_TRUE(liesOnOneLine(texts[0]));
        EXPECT_TRUE(keepsItsSpacing(texts[0]));
    }
}
