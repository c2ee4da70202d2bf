#include "FontLibrary.h"
#include "ScaleRecords.h"
#include "TextDrawRecorder.h"
#include "UIFont.h"
#include "UIGraphicsImageRenderer.h"
#include "VelmoraFlowViewBase.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

// Every face and size a panel pass draws with, asked for again and again as
// each pass does, is the font a fresh lookup gives; a name that resolves to
// nothing keeps resolving to nothing.
TEST(PanelFonts, KeptAnswersAreThoseOfAFreshLookupForEveryFaceAndSizeThePanelUses)
{
    VelmoraFlowViewBase panel;
    panel.isOptionSpeedActive = true;
    panel.isSliderActive = true;
    TextDrawRecorder recorder;
    UIGraphicsImageRenderer({600, 660}, 1).image([&](CGContext&) { panel.draw(); });
    resetScaleRecords();
    std::set<std::pair<std::string, CGFloat>> fonts;
    for (const TextDraw& draw : recorder.draws()) {
        fonts.emplace(draw.fontName, draw.fontSize);
    }
    ASSERT_GE(fonts.size(), 4u);
    for (const auto& [name, size] : fonts) {
        ASSERT_TRUE(FontLibrary::lookUp(name)) << name;
        for (int ask = 0; ask < 3; ++ask) {
            const auto font = UIFont::named(name, size);
            ASSERT_TRUE(font) << name << " " << size;
            EXPECT_EQ(font->fontName(), name);
            EXPECT_EQ(font->pointSize(), size);
        }
    }
    for (int ask = 0; ask < 2; ++ask) {
        EXPECT_FALSE(UIFont::named("HelveticaNeue-NoSuchFace", 12));
        EXPECT_FALSE(FontLibrary::lookUp("HelveticaNeue-NoSuchFace"));
    }
}
