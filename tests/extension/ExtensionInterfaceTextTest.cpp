#include "../support/TextChecks.h"
#include "ExtensionInterface.h"
#include "UIButton.h"
#include "UILabel.h"

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

TEST(ExtensionInterfaceText, TheOverlaysLabelDrawsItsMessageInsideItself)
{
    const ExtensionInterface ui = ExtensionInterface::load();
    ui.infoMessage->setText("Preset loaded");
    const std::vector<TextDraw> texts = textsOf(*ui.infoMessage);
    ASSERT_EQ(texts.size(), 1u);
    const TextDraw& message = texts[0];
    EXPECT_EQ(message.string, "Preset loaded");
    EXPECT_TRUE(liesOnOneLine(message));
    const CGRect bounds = ui.infoMessage->bounds();
    EXPECT_EQ(message.rect.width(), bounds.width());
    EXPECT_GE(message.rect.minY(), bounds.minY());
    EXPECT_LE(message.rect.maxY(), bounds.maxY());
    EXPECT_EQ(message.color.alpha(), 1);
}
