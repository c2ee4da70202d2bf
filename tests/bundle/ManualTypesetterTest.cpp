#include "../support/TemporaryFolder.h"

#include "ManualTypesetter.h"
#include "PdfDocument.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// `count` numbered words: "w1 w2 ...".
std::string words(int count)
{
    std::string text;
    for (int number = 1; number <= count; ++number) {
        text += (number > 1 ? " w" : "w") + std::to_string(number);
    }
    return text;
}

} // namespace

TEST(ManualTypesetterTest, BreaksALongParagraphAcrossNumberedPagesKeepingEveryWordInOrder)
{
    using Kind = ManualBlock::Kind;
    const TemporaryFolder folder;
    const auto pdf = folder.path() / "long.pdf";
    const int pages = ManualTypesetter::write(
        {{Kind::title, "Title"}, {Kind::paragraph, words(1500)}, {Kind::item, words(60)}}, pdf);

    const PdfDocument document(pdf);
    ASSERT_EQ(document.pages().size(), static_cast<std::size_t>(pages));
    EXPECT_GE(pages, 3);
    std::string text;
    for (const auto& page : document.pages()) {
        text += page.text + " ";
    }
    std::istringstream tokens(text);
    std::string expected = "Title " + words(1500) + " \u2022 " + words(60);
    std::string seen;
    for (std::string token; tokens >> token;) {
        if (token.find_first_not_of("0123456789") != std::string::npos) { // page numbers aside
            seen += (seen.empty() ? "" : " ") + token;
        }
    }
    EXPECT_EQ(seen, expected);
    expectTextInsideMargins(document, ManualTypesetter::kMargin);
    EXPECT_FALSE(std::filesystem::exists(pdf.string() + ".part"));
}

TEST(ManualTypesetterTest, AnUnwritableFileIsAnErrorAndLeavesNothingBehind)
{
    const TemporaryFolder folder;
    const auto pdf = folder.path() / "missing" / "manual.pdf";
    EXPECT_THROW(ManualTypesetter::write({{ManualBlock::Kind::title, "Title"}}, pdf), std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_THROW(ManualTypesetter::write({{ManualBlock::Kind::paragraph, "No title"}}, folder.path() / "a.pdf"),
                 std::invalid_argument);
}
