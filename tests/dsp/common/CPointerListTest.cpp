#include "CPointerList.h"

#include <gtest/gtest.h>

#include <vector>

using DUD::CPointerList;
using Entries = std::vector<void*>;

namespace {

Entries walk(CPointerList& list) {
    Entries seen;
    list.Rewind();
    while (void* entry = list.Next()) {
        seen.push_back(entry);
    }
    return seen;
}

class CPointerListTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int& value : values) {
            list.Push(&value);
        }
    }
    int values[3] = {};
    void* a = &values[0];
    void* b = &values[1];
    void* c = &values[2];
    CPointerList list;
};

} // namespace

TEST_F(CPointerListTest, IteratesPopsAndRefusesNull) {
    EXPECT_FALSE(list.Push(nullptr));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Current(), c);
    EXPECT_EQ(walk(list), (Entries{a, b, c}));
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.Pop(), c);
    EXPECT_EQ(list.Current(), b);
    list.Pop();
    EXPECT_EQ(list.Pop(), a);
    EXPECT_EQ(list.Pop(), nullptr);
    EXPECT_EQ((Entries{list.First(), list.Last(), list.Current()}), Entries(3, nullptr));
}

TEST_F(CPointerListTest, AtAndDeleteWalkFromTheHead) {
    EXPECT_EQ(list.At(1), b);
    EXPECT_EQ(list.Current(), c);
    EXPECT_EQ(list.At(3), nullptr);
    EXPECT_EQ(list[-1], nullptr);
    list.Delete(3);
    list.At(0);  // cursor on b
    list.Delete(b);
    EXPECT_EQ(list.Current(), a);  // a deleted cursor node moves back
    EXPECT_EQ(walk(list), (Entries{a, c}));
    list.Delete(0);
    list.Delete(c);
    EXPECT_EQ((Entries{list.First(), list.Last()}), Entries(2, nullptr));
}

TEST_F(CPointerListTest, LendsEntriesAsSlotsAndTakesBackTheNonNullOnes) {
    void** slots = list.BeginArrayOperation();
    ASSERT_NE(slots, nullptr);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ((Entries{slots[0], slots[1], slots[2]}), (Entries{a, b, c}));
    slots[1] = nullptr;
    std::swap(slots[0], slots[2]);
    list.EndArrayOperation();
    EXPECT_EQ(walk(list), (Entries{c, a}));
    CPointerList empty;
    EXPECT_EQ(empty.BeginArrayOperation(), nullptr);
}

TEST_F(CPointerListTest, CopyKeepsTheSourceAssignMovesItAndSelfAssignmentKeepsAll) {
    CPointerList copy;
    copy.Push(&values[0]);
    EXPECT_EQ(copy = list, 0);
    CPointerList& same = copy;
    EXPECT_EQ(copy = same, 0);
    EXPECT_EQ(copy.Assign(same), 0);
    EXPECT_EQ(walk(copy), (Entries{a, b, c}));
    EXPECT_EQ(list.Count(), 3);
    CPointerList moved;
    moved.Assign(list);
    EXPECT_EQ(walk(moved), (Entries{a, b, c}));
    EXPECT_EQ(list.Count(), 0);
}

TEST(CPointerListPoolTest, NodesComeFromThePoolAndReturnToIt) {
    CPointerList::ItemPool pool;
    ASSERT_TRUE(pool.reserve(2));
    CPointerList one(&pool);
    CPointerList two(&pool);
    int x = 0, y = 0, z = 0;
    EXPECT_TRUE(one.Push(&x));
    EXPECT_TRUE(two.Push(&y));
    EXPECT_FALSE(one.Push(&z));  // stock exhausted: refused, list intact
    EXPECT_EQ(walk(one), Entries{&x});
    EXPECT_FALSE(pool.reserve(8));  // not while nodes are out
    two.Pop();
    EXPECT_TRUE(one.Push(&z));
    one.Delete(&x);
    one.Clear();
    EXPECT_EQ(pool.available(), 2);
    EXPECT_TRUE(pool.reserve(8));
}

TEST(CPointerListPoolTest, AbandonedListsGiveTheirNodesBackAllAtOnce) {
    CPointerList::ItemPool pool;
    ASSERT_TRUE(pool.reserve(3));
    CPointerList one(&pool);
    CPointerList two(&pool);
    int x = 0, y = 0, z = 0;
    EXPECT_TRUE(one.Push(&x));
    EXPECT_TRUE(two.Push(&y));
    EXPECT_TRUE(two.Push(&z));
    one.Abandon();
    two.Abandon();
    EXPECT_EQ(one.Count() + two.Count(), 0);
    EXPECT_EQ(walk(two), Entries{});
    pool.reclaimAll();
    EXPECT_EQ(pool.available(), 3);
    for (int* entry : {&z, &y, &x}) {
        EXPECT_TRUE(one.Push(entry));
    }
    EXPECT_FALSE(two.Push(&x));  // the whole stock is in use again, no node twice
    EXPECT_EQ(walk(one), (Entries{&z, &y, &x}));
}
