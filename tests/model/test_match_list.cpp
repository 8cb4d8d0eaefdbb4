// SPDX-License-Identifier: GPL-3.0-or-later
// MatchList keeps order and keeps references to elements valid while others
// come and go.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "match_list.h"

using namespace vorlo;

namespace {

TEST(MatchList, AppendKeepsOrderBothWays) {
    MatchList list;
    for (int i = 0; i < 200; ++i) {
        list.Append(Match(i, -i, i * 3));
    }
    int expected = 0;
    for (const Match& m : list) {
        EXPECT_EQ(m.x, expected++);
    }
    expected = 199;
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        EXPECT_EQ(it->x, expected--);
    }
    EXPECT_EQ(list.First()->x, 0);
    EXPECT_EQ(list.Last()->x, 199);
    EXPECT_EQ(list.Count(), 200u);
}

TEST(MatchList, ReferencesSurviveOtherRemovalsAndAppends) {
    MatchList list;
    std::vector<MatchList::Ref> refs;
    for (int i = 0; i < 1000; ++i) {
        refs.push_back(list.Append(Match(i, 0, 0)));
    }
    const MatchList::Ref kept = refs[501];
    for (int i = 0; i < 1000; i += 2) {
        list.Remove(refs[i]);
    }
    for (int i = 0; i < 5000; ++i) {
        list.Append(Match(-1, 0, 0));  // reuses removed places
    }
    EXPECT_EQ(kept->x, 501);
    EXPECT_TRUE(list.Contains(kept));
    EXPECT_EQ(list.Count(), 500u + 5000u);
}

TEST(MatchList, RemovingEndsUpdatesFirstAndLast) {
    MatchList list;
    const auto a = list.Append(Match(1, 0, 0));
    const auto b = list.Append(Match(2, 0, 0));
    const auto c = list.Append(Match(3, 0, 0));
    list.Remove(c);
    EXPECT_EQ(list.Last(), b);
    list.Remove(a);
    EXPECT_EQ(list.First(), b);
    EXPECT_EQ(list.Last(), b);
    EXPECT_FALSE(list.First().Previous());
    list.Remove(b);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_FALSE(list.First());
    EXPECT_FALSE(list.Last());
    list.Remove(MatchList::Ref());  // removing none is harmless
}

TEST(MatchList, BehavesLikeAVectorUnderRandomEdits) {
    std::mt19937 rng(7);
    MatchList list;
    std::vector<std::pair<MatchList::Ref, Match>> model;
    for (int step = 0; step < 20000; ++step) {
        if (model.empty() || rng() % 3 != 0) {
            const Match m(static_cast<int32_t>(rng()), step, 0);
            model.emplace_back(list.Append(m), m);
        } else {
            const size_t i = rng() % model.size();
            list.Remove(model[i].first);
            model.erase(model.begin() + static_cast<long>(i));
        }
        if (step % 1000 == 0) {
            MatchList copy = list;
            ASSERT_EQ(copy, list);
            MatchList moved = std::move(copy);
            ASSERT_EQ(moved, list);
        }
    }
    ASSERT_EQ(list.Count(), model.size());
    size_t i = 0;
    for (const Match& m : list) {
        ASSERT_EQ(m, model[i].second);
        ASSERT_EQ(&*model[i].first, &m);
        ++i;
    }
}

}  // namespace

namespace {

std::vector<int32_t> Forward(const MatchList& list) {
    std::vector<int32_t> xs;
    for (const Match& m : list) {
        xs.push_back(m.x);
    }
    return xs;
}

std::vector<int32_t> ByRefs(const MatchList& list, bool backward) {
    std::vector<int32_t> xs;
    for (MatchList::Ref r = backward ? list.Last() : list.First(); r;
         r = backward ? r.Previous() : r.Next()) {
        xs.push_back(r->x);
    }
    return xs;
}

// Removals in the middle leave marked slots; those at the end are given
// back. Every way through the list skips the removed ones.
TEST(MatchList, WalksSkipRemovedSlots) {
    struct Case {
        const char* what;
        std::vector<int> removed;  // indices among 0..9, in removal order
        std::vector<int32_t> left;
    };
    const std::vector<Case> cases = {
        {"none", {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"first", {0}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"last", {9}, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"a run in the middle", {3, 4, 5}, {0, 1, 2, 6, 7, 8, 9}},
        {"a run at the end, last one first", {9, 8, 7}, {0, 1, 2, 3, 4, 5, 6}},
        {"a run at the end, last one last", {7, 8, 9}, {0, 1, 2, 3, 4, 5, 6}},
        {"every other one", {0, 2, 4, 6, 8}, {1, 3, 5, 7, 9}},
        {"all but the middle", {0, 1, 2, 3, 4, 6, 7, 8, 9}, {5}},
        {"all", {5, 0, 9, 1, 8, 2, 7, 3, 6, 4}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MatchList list;
        std::vector<MatchList::Ref> refs;
        for (int i = 0; i < 10; ++i) {
            refs.push_back(list.Append(Match(i, 0, 0)));
        }
        for (int i : c.removed) {
            list.Remove(refs[i]);
            EXPECT_FALSE(list.Contains(refs[i]));
        }
        EXPECT_EQ(Forward(list), c.left);
        EXPECT_EQ(ByRefs(list, false), c.left);
        std::vector<int32_t> reversed(c.left.rbegin(), c.left.rend());
        EXPECT_EQ(ByRefs(list, true), reversed);
        std::vector<int32_t> backward;
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            backward.push_back(it->x);
        }
        EXPECT_EQ(backward, reversed);
        EXPECT_EQ(list.Count(), c.left.size());
        EXPECT_EQ(list.IsEmpty(), c.left.empty());
        EXPECT_EQ(list.ToVector().size(), c.left.size());
        EXPECT_EQ(MatchList(list), list);
        // An append after any of it lands at the end.
        list.Append(Match(100, 0, 0));
        EXPECT_EQ(list.Last()->x, 100);
        EXPECT_EQ(list.First()->x, c.left.empty() ? 100 : c.left.front());
    }
}

TEST(MatchList, SlotsGivenBackAtTheEndAreReused) {
    MatchList list;
    const MatchList::Ref a = list.Append(Match(1, 0, 0));
    const MatchList::Ref b = list.Append(Match(2, 0, 0));
    const MatchList::Ref c = list.Append(Match(3, 0, 0));
    Match* const lastPlace = &*c;
    list.Remove(b);
    list.Remove(c);  // b's marked slot goes back along with c's
    const MatchList::Ref d = list.Append(Match(4, 0, 0));
    EXPECT_EQ(&*d, lastPlace - 1);  // b's old place, right after a
    EXPECT_EQ(a->x, 1);
    EXPECT_EQ(d.Previous(), a);
    EXPECT_EQ(a.Next(), d);
    EXPECT_EQ(list.ToVector(), (std::vector<Match>{Match(1, 0, 0), Match(4, 0, 0)}));
}

// References name elements, not places: they survive the array growing, the
// list being moved, and copies that leave removed slots out.
TEST(MatchList, ReferencesSurviveGrowthMovesAndCopies) {
    MatchList list;
    std::vector<MatchList::Ref> refs;
    for (int i = 0; i < 100; ++i) {
        refs.push_back(list.Append(Match(i, i, 0)));
    }
    for (int i = 0; i < 100; i += 3) {
        list.Remove(refs[i]);
    }
    list.Reserve(100000);
    for (int i = 0; i < 10000; ++i) {
        list.Append(Match(-i, 0, 0));  // grows the array more than once
    }
    const MatchList copy = list;
    MatchList moved = std::move(list);
    EXPECT_TRUE(list.IsEmpty());  // a moved-from list is empty
    EXPECT_EQ(list.begin(), list.end());
    EXPECT_FALSE(list.First());
    for (int i = 0; i < 100; ++i) {
        if (i % 3 != 0) {
            EXPECT_TRUE(moved.Contains(refs[i]));
            EXPECT_FALSE(copy.Contains(refs[i]));
            EXPECT_EQ(refs[i]->x, i);
        }
    }
    EXPECT_EQ(copy, moved);
    EXPECT_EQ(copy.Count(), 66u + 10000u);
    list.Append(Match(5, 5, 5));  // a moved-from list is usable again
    EXPECT_EQ(list.Count(), 1u);
}

TEST(MatchList, FilledSlotsAreElementsInOrder) {
    MatchList list;
    list.Append(Match(-1, -1, -1));
    const std::span<Match> slots = list.AppendUnfilled(3);
    ASSERT_EQ(slots.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        slots[i] = Match(i, 2 * i, 3 * i);
    }
    EXPECT_EQ(list.ToVector(), (std::vector<Match>{Match(-1, -1, -1), Match(0, 0, 0),
                                                   Match(1, 2, 3), Match(2, 4, 6)}));
    EXPECT_EQ(list.Last()->angle, 6);
    EXPECT_TRUE(list.AppendUnfilled(0).empty());
    EXPECT_EQ(list.Count(), 4u);
}

}  // namespace
