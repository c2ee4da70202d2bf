#include "../support/TextChecks.h"
#include "CGContext.h"
#include "ScaleRecords.h"
#include "TextDrawRecorder.h"
#include "UIGraphicsImageRenderer.h"
#include "VelmoraFlowViewBase.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

namespace {

// One draw of each text the panel can show, with the font, size and box it
// gets: passes through every processing, operation and speed mode, with the
// range tabs at every key.
std::vector<TextDraw> drawnTexts()
{
    VelmoraFlowViewBase panel;
    TextDrawRecorder recorder;
    for (int pass = 0; pass < 128; ++pass) {
        panel.valueProcessingMode = pass % 5;
        panel.valueOperationMode = pass % 4;
        panel.valueSpeedMode = pass % 9;
        panel.valueRangeLeft = (pass + 0.5) / 127;
        panel.valueRangeRight = (127 - pass + 0.5) / 127;
        UIGraphicsImageRenderer({1, 1}, 1).image([&](CGContext&) { panel.draw(); });
    }
    resetScaleRecords();
    std::map<std::tuple<std::string, std::string, CGFloat, CGFloat>, TextDraw> distinct;
    for (const TextDraw& draw : recorder.draws()) {
        distinct.try_emplace({draw.string, draw.fontName, draw.fontSize, draw.rect.width()}, draw);
    }
    std::vector<TextDraw> texts;
    for (const auto& [key, draw] : distinct) {
        texts.push_back(draw);
    }
    return texts;
}

const std::vector<TextDraw>& everyPanelText()
{
    static const std::vector<TextDraw> texts = drawnTexts();
    return texts;
}

TEST(FlowPanelTextFitTest, EveryTextIsDrawnInTheFontItAsksForOnOneLineInsideItsBox)
{
    std::set<std::string> strings;
    for (const TextDraw& draw : everyPanelText()) {
        EXPECT_TRUE(liesOnOneLine(draw));
        EXPECT_TRUE(draw.fontName == "HelveticaNeue" || draw.fontName == "HelveticaNeue-CondensedBold")
            << draw.fontName;
        strings.insert(draw.string);
    }
    for (const char* text : {"STEREO", "LEFT", "RIGHT", "MID", "SIDE", "LINKED", "HARMONIC SHIFT MODE",
                             "FILTER MODE 2", "fastest", "quite slow", "shift harmonics", "filter 1", "Freeze",
                             "RESET", "C#-2", "G8"}) {
        EXPECT_TRUE(strings.count(text)) << text;
    }
    // The 5 + 4 captions, 9 + 4 option labels, 128 key names, the five mode
    // buttons (four of them repeat a caption at another size), the freeze
    // button and five fixed texts.
    EXPECT_EQ(everyPanelText().size(), 5u + 4 + 9 + 4 + 128 + 5 + 1 + 5);
}

TEST(FlowPanelTextFitTest, GlyphsInsideEveryWordKeepTheFacesSpacing)
{
    for (const TextDraw& draw : everyPanelText()) {
        EXPECT_TRUE(keepsItsSpacing(draw));
    }
}

} // namespace
