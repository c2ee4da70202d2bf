#include "ManualSource.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(ManualSourceTest, JoinsParagraphLinesAndIndentedItemLinesAndNamesTheLineOfAFault)
{
    using Kind = ManualBlock::Kind;
    std::istringstream source("# The title\r\n\n## Heading  \nFirst line\n  second line.\n- An item\n  that goes on\n"
                              "Not the item\n\n-notanitem\n### Sub\n| ~/a  b/\nafter\n");
    EXPECT_EQ(ManualSource::parse(source),
              (std::vector<ManualBlock>{{Kind::title, "The title"},
                                        {Kind::heading, "Heading"},
                                        {Kind::paragraph, "First line second line."},
                                        {Kind::item, "An item that goes on"},
                                        {Kind::paragraph, "Not the item"},
                                        {Kind::paragraph, "-notanitem"},
                                        {Kind::subheading, "Sub"},
                                        {Kind::verbatim, "~/a  b/"},
                                        {Kind::paragraph, "after"}}));
    std::istringstream untitled("\nText first\n");
    EXPECT_THROW(ManualSource::parse(untitled), ManualSourceError);
}
