// The game's list: removal while iterating, appending while iterating, reuse of links.
#include <gtest/gtest.h>

#include <vector>

#include "game/tlist.h"

namespace {

struct Rec {
    int id;
};

std::vector<int> ids(TList<Rec>& list) {
    std::vector<int> out;
    for (Rec& r : list) out.push_back(r.id);
    return out;
}

void fill(TList<Rec>& list, int n) {
    for (int i = 1; i <= n; ++i) ListAddLast(list).id = i;
}

}  // namespace

TEST(TList, RemovingTheVisitedRecordGoesOnWithItsSuccessor) {
    TList<Rec> list;
    fill(list, 5);
    std::vector<int> visited;
    for (Rec& r : list) {
        visited.push_back(r.id);
        if (r.id % 2 == 1) ListRemove(list, r);
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ids(list), (std::vector<int>{2, 4}));
    EXPECT_EQ(list.Count(), 2);

    // Removing every record, the last one included, ends the iteration cleanly.
    for (Rec& r : list) ListRemove(list, r);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_TRUE(ids(list).empty());
}

TEST(TList, RecordsAppendedDuringIterationAreVisitedInOrder) {
    TList<Rec> list;
    fill(list, 3);
    std::vector<int> visited;
    for (Rec& r : list) {
        visited.push_back(r.id);
        if (r.id <= 3) {
            int id = r.id;
            ListRemove(list, r);             // its link may be the one reused below
            ListAddLast(list).id = id + 10;  // the visited record is gone; the new one comes last
        }
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 11, 12, 13}));
    EXPECT_EQ(ids(list), (std::vector<int>{11, 12, 13}));
}

TEST(TList, RemovingAnAbsentRecordChangesNothing) {
    TList<Rec> list;
    fill(list, 3);
    Rec stranger{2};   // equal contents, but not a record of this list
    ListRemove(list, stranger);
    EXPECT_EQ(ids(list), (std::vector<int>{1, 2, 3}));

    Rec& first = *list.begin();
    ListRemove(list, first);
    ListRemove(list, first);   // a second removal of the same record is a no-op
    EXPECT_EQ(ids(list), (std::vector<int>{2, 3}));
    EXPECT_EQ(list.Count(), 2);
}

TEST(TList, ReusedLinksComeBackZeroedAtTheEnd) {
    TList<Rec> list;
    fill(list, 3);
    Rec* middle = nullptr;
    for (Rec& r : list)
        if (r.id == 2) middle = &r;
    ListRemove(list, *middle);
    Rec& again = ListAddLast(list);
    EXPECT_EQ(again.id, 0);
    again.id = 4;
    EXPECT_EQ(ids(list), (std::vector<int>{1, 3, 4}));
}

TEST(TList, ThousandsOfAddRemoveCyclesKeepTheCountRight) {
    TList<Rec> list;
    int next = 0;
    for (int cycle = 0; cycle < 5000; ++cycle) {
        for (int k = 0; k < 7; ++k) ListAddLast(list).id = next++;
        int removed = 0;
        for (Rec& r : list)
            if (r.id % 3 == 0 || removed < 2) {
                ListRemove(list, r);
                ++removed;
            }
        int counted = static_cast<int>(ids(list).size());
        ASSERT_EQ(list.Count(), counted) << "cycle " << cycle;
    }
    std::vector<int> left = ids(list);
    for (size_t i = 1; i < left.size(); ++i) EXPECT_LT(left[i - 1], left[i]);   // creation order
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}
