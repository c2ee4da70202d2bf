#include "PdfDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr double kA4Width = 595.276;
constexpr double kA4Height = 841.89;
constexpr double kMargin = 56.69; // 20 mm

std::string allText(const PdfDocument& pdf)
{
    std::string text;
    for (const auto& page : pdf.pages()) {
        text += page.text + "\n";
    }
    return text;
}

} // namespace

// The manual that the build typesets into the application bundle.
TEST(ManualPdfTest, IsAShortA4DocumentWithItsSectionsInsideTheMargins)
{
    const PdfDocument manual(std::string(VELMORA_APP_BUNDLE) + "/Resources/manual.pdf");
    EXPECT_GE(manual.pages().size(), 2u);
    EXPECT_LE(manual.pages().size(), 4u);
    for (const auto& page : manual.pages()) {
        EXPECT_NEAR(page.width, kA4Width, 0.01);
        EXPECT_NEAR(page.height, kA4Height, 0.01);
    }
    const std::string text = allText(manual);
    EXPECT_EQ(manual.pages().front().text.rfind("ZUV VELMORA Quillmere: Manual\n", 0), 0u) << "the title first";
    for (const char* heading : {"What the effect does", "Channel modes", "The panel", "Band editor", "Mouse and touch",
                                "The application window", "Presets",
                                "~/.local/share/ZUV_VELMORA_Quillmere/Documents/Presets/"}) {
        EXPECT_NE(text.find(std::string("\n") + heading + "\n"), std::string::npos) << heading;
    }
    expectTextInsideMargins(manual, kMargin);
}
