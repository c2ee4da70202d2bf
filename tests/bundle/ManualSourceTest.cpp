#include "ManualSource.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<ManualBlock> parse(const std::string& text)
{
    std::istringstream stream(text);
    return ManualSource::parse(stream);
}

std::string errorOf(const std::string& text)
{
    try {
        parse(text);
    } catch (const ManualSourceError& error) {
        return error.what();
    }
    return "";
}

} // namespace

TEST(ManualSourceTest, JoinsParagraphLinesAndIndentedItemLines)
{
    using Kind = ManualBlock::Kind;
    EXPECT_EQ(parse("# The title\r\n"
                    "\n"
                    "## Heading  \n"
                    "First line\n"
                    "  second line.\n"
                    "- An item\n"
                    "  that goes on\n"
                    "Not the item\n"
                    "\n"
                    "-notanitem\n"
                    "### Sub\n"
                    "| ~/a  b/\n"
                    "after\n"),
              (std::vector<ManualBlock>{{Kind::title, "The title"},
                                        {Kind::heading, "Heading"},
                                        {Kind::paragraph, "First line second line."},
                                        {Kind::item, "An item that goes on"},
                                        {Kind::paragraph, "Not the item"},
                                        {Kind::paragraph, "-notanitem"},
                                        {Kind::subheading, "Sub"},
                                        {Kind::verbatim, "~/a  b/"},
                                        {Kind::paragraph, "after"}}));
}

TEST(ManualSourceTest, NamesTheLineOfAFault)
{
    EXPECT_EQ(errorOf(""), "line 0: the manual is empty");
    EXPECT_EQ(errorOf("\nText first\n"), "line 2: the manual must start with its title (# Title)");
    EXPECT_EQ(errorOf("# One\n# Two\n"), "line 2: the title must be the first line, and the only one of its kind");
    EXPECT_EQ(errorOf("# One\n##   \n"), "line 2: a marker without text");
}
