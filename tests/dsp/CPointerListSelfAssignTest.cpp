#include "CPointerList.h"

#include <gtest/gtest.h>

namespace {

TEST(CPointerListSelfAssign, CopyingOrMovingAListOntoItselfKeepsItsEntries)
{
    int a = 1, b = 2;
    DUD::CPointerList list;
    list.Push(&a);
    list.Push(&b);
    DUD::CPointerList& same = list;

    EXPECT_EQ(list = same, 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Assign(same), 0);
    ASSERT_EQ(list.Count(), 2);
    list.Rewind();
    EXPECT_EQ(list.Next(), &a);
    EXPECT_EQ(list.Next(), &b);
    EXPECT_EQ(list.Next(), nullptr);
}

} // namespace
