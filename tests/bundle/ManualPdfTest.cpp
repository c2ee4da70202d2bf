#include "ManualSource.h"
#include "PdfDocument.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

constexpr double kA4Width = 595.276;
constexpr double kA4Height = 841.89;
constexpr double kMargin = 56.69; // 20 mm

std::vector<std::string> wordsOf(const std::string& text)
{
    std::istringstream stream(text);
    return {std::istream_iterator<std::string>(stream), std::istream_iterator<std::string>()};
}

} // namespace

// The manual that the build typesets into the application bundle, against
// its source text.
TEST(ManualPdfTest, HoldsEveryWordOfItsSourceOnAFewA4PagesInsideTheMargins)
{
    const auto pages = readPdf(std::string(VELMORA_APP_BUNDLE) + "/Resources/manual.pdf");
    EXPECT_GE(pages.size(), 2u);
    EXPECT_LE(pages.size(), 4u);
    std::vector<std::string> printed;
    std::string text;
    for (std::size_t index = 0; index < pages.size(); ++index) {
        text += pages[index].text + "\n";
        EXPECT_NEAR(pages[index].width, kA4Width, 0.01);
        EXPECT_NEAR(pages[index].height, kA4Height, 0.01);
        auto words = wordsOf(pages[index].text);
        ASSERT_FALSE(words.empty());
        words.pop_back(); // the page number, checked below
        std::erase(words, "\u2022");
        printed.insert(printed.end(), words.begin(), words.end());
    }
    std::ifstream sourceFile(VELMORA_MANUAL_SOURCE);
    std::vector<std::string> written;
    for (const auto& block : ManualSource::parse(sourceFile)) {
        const auto words = wordsOf(block.text);
        written.insert(written.end(), words.begin(), words.end());
    }
    EXPECT_EQ(printed, written);
    EXPECT_EQ(pages.front().text.rfind("ZUV VELMORA Quillmere: Manual\n", 0), 0u) << "the title first";
    for (const char* line : {"What the effect does", "The panel", "Mouse and touch", "The application window",
                             "Presets", "~/.local/share/ZUV_VELMORA_Quillmere/Documents/Presets/"}) {
        EXPECT_NE(text.find(std::string("\n") + line + "\n"), std::string::npos) << line;
    }
    expectTextInsideMargins(pages, kMargin);
}
