#include "CPointerList.h"

#include <gtest/gtest.h>

#include <vector>

using DUD::CPointerList;

namespace {

struct Entries {
    int a = 1, b = 2, c = 3;
};

std::vector<void*> walk(CPointerList& list) {
    std::vector<void*> seen;
    list.Rewind();
    while (void* entry = list.Next()) {
        seen.push_back(entry);
    }
    return seen;
}

class CPointerListTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.Push(&e.a);
        list.Push(&e.b);
        list.Push(&e.c);
    }
    Entries e;
    CPointerList list;
};

} // namespace

TEST(CPointerListEmptyTest, RefusesNullAndAnswersNullOrZero) {
    CPointerList list;
    EXPECT_FALSE(list.Push(nullptr));
    EXPECT_FALSE(list.Add(nullptr));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Pop(), nullptr);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_EQ(list.BeginArrayOperation(), nullptr);
    list.EndArrayOperation();
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(CPointerListTest, IteratesInOrderAndPopsTheTail) {
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Current(), &e.c);
    EXPECT_EQ(walk(list), (std::vector<void*>{&e.a, &e.b, &e.c}));
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.Pop(), &e.c);
    EXPECT_EQ(list.Last(), &e.b);
    EXPECT_EQ(list.Current(), &e.b);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(walk(list), (std::vector<void*>{&e.a, &e.b}));
}

TEST(CPointerListEmptyTest, PoppingTheOnlyEntryEmptiesTheList) {
    int x = 0;
    CPointerList list;
    list.Push(&x);
    EXPECT_EQ(list.Pop(), &x);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.Current(), nullptr);
    list.Rewind();
    EXPECT_EQ(list.Next(), nullptr);
    list.Push(&x);
    EXPECT_EQ(walk(list), std::vector<void*>{&x});
}

TEST_F(CPointerListTest, AtMovesTheCursorPastTheEntry) {
    EXPECT_EQ(list.At(1), &e.b);
    EXPECT_EQ(list.Current(), &e.c);
    EXPECT_EQ(list[0], &e.a);
    EXPECT_EQ(list.Current(), &e.b);
    EXPECT_EQ(list.At(3), nullptr);
    EXPECT_EQ(list.At(-1), nullptr);
    EXPECT_EQ(list.Current(), &e.b);
}

TEST_F(CPointerListTest, DeleteByEntryAndByIndexRelinksNeighbours) {
    int absent = 0;
    list.Delete(&absent);
    list.Delete(nullptr);
    list.Delete(3);
    EXPECT_EQ(list.Count(), 3);

    list.At(0);  // cursor on b
    list.Delete(&e.b);
    EXPECT_EQ(walk(list), (std::vector<void*>{&e.a, &e.c}));
    list.Delete(0);
    EXPECT_EQ(list.First(), &e.c);
    EXPECT_EQ(list.Last(), &e.c);
    list.Delete(&e.c);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
}

TEST_F(CPointerListTest, DeletingTheCursorNodeMovesTheCursorBack) {
    list.At(0);  // cursor on b
    list.Delete(1);
    EXPECT_EQ(list.Current(), &e.a);
    EXPECT_EQ(list.Next(), &e.a);
    EXPECT_EQ(list.Next(), &e.c);
}

TEST_F(CPointerListTest, LendsEntriesAsSlotsAndTakesBackTheNonNullOnes) {
    void** slots = list.BeginArrayOperation();
    ASSERT_NE(slots, nullptr);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(slots[0], &e.a);
    EXPECT_EQ(slots[1], &e.b);
    EXPECT_EQ(slots[2], &e.c);
    slots[1] = nullptr;
    std::swap(slots[0], slots[2]);
    list.EndArrayOperation();
    EXPECT_EQ(walk(list), (std::vector<void*>{&e.c, &e.a}));
    EXPECT_EQ(list.Current(), nullptr);
    list.EndArrayOperation();
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(CPointerListTest, CopyKeepsTheSourceWhileAssignMovesIt) {
    int z = 0;
    CPointerList copy;
    copy.Push(&z);
    EXPECT_EQ(copy = list, 0);
    EXPECT_EQ(walk(copy), (std::vector<void*>{&e.a, &e.b, &e.c}));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Current(), nullptr);

    CPointerList moved;
    moved.Assign(list);
    EXPECT_EQ(walk(moved), (std::vector<void*>{&e.a, &e.b, &e.c}));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
}

TEST(CPointerListPoolTest, NodesComeFromThePoolAndReturnToIt) {
    CPointerList::ItemPool pool;
    ASSERT_TRUE(pool.reserve(2));
    CPointerList one(&pool);
    CPointerList two(&pool);
    int a = 0, b = 0, c = 0;
    EXPECT_TRUE(one.Push(&a));
    EXPECT_TRUE(two.Push(&b));
    EXPECT_EQ(pool.available(), 0);
    EXPECT_FALSE(one.Push(&c));
    EXPECT_EQ(walk(one), std::vector<void*>{&a});
    EXPECT_FALSE(pool.reserve(8));  // not while nodes are out

    EXPECT_EQ(two.Pop(), &b);
    EXPECT_TRUE(one.Push(&c));
    EXPECT_EQ(walk(one), (std::vector<void*>{&a, &c}));
    one.Delete(&a);
    one.Clear();
    EXPECT_EQ(pool.available(), 2);
    EXPECT_TRUE(pool.reserve(8));
    EXPECT_EQ(pool.capacity(), 8);
}
