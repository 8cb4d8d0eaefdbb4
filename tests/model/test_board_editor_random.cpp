// SPDX-License-Identifier: GPL-3.0-or-later
// Long random sessions on the board against a plain model of what every
// command does: the list, the selection, the undo record and the references
// the editor holds never drift apart, and the riddle survives a save.

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <random>
#include <vector>

#include "board_editor.h"
#include "hit_test.h"
#include "riddle_file.h"

using namespace vorlo;

namespace {

// A button-and-key combination drawn from five bits: left, right, Shift,
// Ctrl, middle.
PointerInput HeldFromBits(uint32_t bits) {
    return PointerInput{.left = (bits & 1) != 0,
                        .right = (bits & 2) != 0,
                        .middle = (bits & 16) != 0,
                        .shift = (bits & 4) != 0,
                        .ctrl = (bits & 8) != 0};
}

class CountingHost : public BoardHost {
public:
    void BoardChanged(const BoardChange& change, bool modifies) override {
        modified += modifies ? 1 : 0;
        hints += change.Whole() ? 1 : 0;
    }
    int modified = 0;
    int hints = 0;
};

// Index of `ref` in `list`, or none.
std::optional<size_t> IndexOf(const MatchList& list, MatchList::Ref ref) {
    if (!ref) {
        return std::nullopt;
    }
    size_t i = 0;
    for (auto it = list.begin(); it != list.end(); ++it, ++i) {
        if (it.ref() == ref) {
            return i;
        }
    }
    ADD_FAILURE() << "reference to an element that is not in the list";
    return std::nullopt;
}

// What the board should hold, kept by index.
struct Model {
    std::vector<Match> list;
    std::optional<size_t> selected;
    int32_t lastAction = ActionNone;
    Match deleted;
    std::optional<size_t> undoIndex;
    Point32 savedPosition;
    int32_t savedAngle = 0;

    void Append(const Match& m) {
        list.push_back(m);
        selected = list.size() - 1;
        lastAction = ActionAdd;
    }
    void Delete() {
        if (!selected) {
            return;
        }
        lastAction = ActionDelete;
        deleted = list[*selected];
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(*selected));
        if (undoIndex) {
            if (*undoIndex == *selected) {
                undoIndex.reset();
            } else if (*undoIndex > *selected) {
                --*undoIndex;
            }
        }
        selected = list.empty() ? std::nullopt : std::optional<size_t>(list.size() - 1);
    }
};

class Session {
public:
    explicit Session(uint32_t seed) : rng_(seed) {}

    void Run(int steps) {
        for (int step = 0; step < steps && !::testing::Test::HasFatalFailure(); ++step) {
            Step();
            Check(step);
        }
        const std::string bytes = SerializeRiddle(doc_.MatchList, "");
        const RiddleReadResult back = ParseRiddle(bytes);
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.riddle.matches, doc_.MatchList);
    }

private:
    int32_t Coordinate() {
        switch (Pick(10)) {
            case 0: {
                static const int32_t kEdges[] = {INT32_MIN, INT32_MIN + 1, -1,
                                                 0,         INT32_MAX - 1, INT32_MAX};
                return kEdges[Pick(6)];
            }
            case 1:
                return static_cast<int32_t>(rng_());
            default:
                return static_cast<int32_t>(Pick(420)) - 10;  // on the board, where matches lie
        }
    }
    uint32_t Pick(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng_); }

    void Step() {
        const int32_t x = Coordinate();
        const int32_t y = Coordinate();
        switch (Pick(16)) {
            case 0:
            case 1:
            case 2: {  // press
                const bool right = Pick(2) == 1;
                const auto hit = IndexOf(doc_.MatchList, HitTest(doc_.MatchList, x, y));
                const int hints = host_.hints;
                const auto r = right ? editor_.PressRight(x, y) : editor_.PressLeft(x, y);
                EXPECT_EQ(host_.hints, hints + 1);
                model_.selected = hit;
                if (hit) {
                    model_.lastAction = right ? ActionRotate : ActionMove;
                    model_.undoIndex = hit;
                    model_.savedPosition = {model_.list[*hit].x, model_.list[*hit].y};
                    model_.savedAngle = model_.list[*hit].angle;
                    EXPECT_EQ(r.cursor, right ? BoardCursor::Rotate : BoardCursor::Move);
                } else {
                    EXPECT_EQ(r.cursor, BoardCursor::Unchanged);
                }
                EXPECT_FALSE(r.repaint);
                break;
            }
            case 3:
            case 4:
            case 5:
            case 6: {  // movement
                const uint32_t keys = Pick(3) == 0 ? Pick(32) : 1 + Pick(2);
                const auto r = editor_.MovePointer(HeldFromBits(keys), x, y);
                const bool acts = model_.selected && (keys == 1 || keys == 2);
                if (acts) {
                    // The drag changes the selected match alone.
                    model_.list[*model_.selected] = *doc_.SelectedMatch;
                    EXPECT_EQ(r.cursor, keys == 1 ? BoardCursor::Move : BoardCursor::Rotate);
                    ASSERT_TRUE(r.repaint);
                    EXPECT_LE(r.repaint->left, r.repaint->right);
                    EXPECT_LE(r.repaint->top, r.repaint->bottom);
                } else {
                    EXPECT_EQ(r.cursor, BoardCursor::Normal);
                    EXPECT_FALSE(r.repaint);
                }
                break;
            }
            case 7: {
                const int32_t width = Pick(4) == 0 ? Coordinate() : 300;
                const int32_t n = editor_.NewMatchCounter();
                const int32_t w = width > 0 ? width : 1;
                editor_.OnAddMatch(width);
                model_.Append(Match(static_cast<int32_t>(n % w + 20), 85, 90));
                break;
            }
            case 8:
                editor_.OnDeleteMatch();
                model_.Delete();
                break;
            case 9: {
                const bool cut = Pick(2) == 1;
                const auto block = cut ? editor_.OnEditCut() : editor_.OnEditCopy();
                EXPECT_EQ(block.has_value(), model_.selected.has_value());
                if (block) {
                    EXPECT_EQ(DecodeMatchBlock(*block), model_.list[*model_.selected]);
                    clipboard_.assign(block->begin(), block->end());
                    if (cut) {
                        model_.Delete();
                    }
                }
                break;
            }
            case 10: {
                std::vector<uint8_t> bytes = clipboard_;
                if (Pick(3) == 0) {
                    bytes.resize(Pick(20));
                    for (uint8_t& b : bytes) {
                        b = static_cast<uint8_t>(rng_());
                    }
                }
                const auto back = editor_.OnEditPaste(bytes);
                const auto stored = DecodeMatchBlock(bytes);
                EXPECT_EQ(back.has_value(), stored.has_value());
                if (stored) {
                    const Match pasted(static_cast<int32_t>(static_cast<uint32_t>(stored->x) + 5),
                                       static_cast<int32_t>(static_cast<uint32_t>(stored->y) + 5),
                                       stored->angle);
                    model_.Append(pasted);
                    EXPECT_EQ(DecodeMatchBlock(*back), pasted);
                    clipboard_.assign(back->begin(), back->end());
                }
                break;
            }
            case 11:
            case 12:
                Undo();
                break;
            case 13:
                editor_.OnRotate90();
                if (model_.selected) {
                    Match& m = model_.list[*model_.selected];
                    model_.lastAction = ActionRotate;
                    model_.undoIndex = model_.selected;
                    model_.savedAngle = m.angle;
                    model_.savedPosition = {m.x, m.y};
                    const int32_t s = doc_.SelectedMatch->angle;
                    EXPECT_TRUE(s == 0 || s == 90 || s == -90 || s == -180);
                    int64_t turned = (static_cast<int64_t>(m.angle) - s) % 360;
                    turned += turned <= -180 ? 360 : (turned > 180 ? -360 : 0);
                    EXPECT_TRUE(turned > -45 && turned <= 45) << m.angle << " -> " << s;
                    m.angle = s;
                }
                break;
            case 14:
                if (Pick(8) == 0) {  // a new riddle
                    doc_.DeleteContents();
                    doc_.LastAction = ActionNone;
                    editor_.OnDocumentReset();
                    model_.list.clear();
                    model_.selected.reset();
                    model_.undoIndex.reset();
                    model_.lastAction = ActionNone;
                }
                break;
            default: {  // selection changed from outside: select any element or none
                const size_t n = doc_.MatchList.Count();
                const size_t i = Pick(static_cast<uint32_t>(n + 1));
                MatchList::Ref ref;
                auto it = doc_.MatchList.begin();
                for (size_t k = 0; k < i && k < n; ++k, ++it) {
                }
                if (i < n) {
                    ref = it.ref();
                    model_.selected = i;
                } else {
                    model_.selected.reset();
                }
                doc_.SelectedMatch = ref;
                break;
            }
        }
    }

    void Undo() {
        const bool wasAdd = model_.lastAction == ActionAdd;
        const bool wasDelete = model_.lastAction == ActionDelete;
        editor_.OnEditUndo();
        switch (model_.lastAction) {
            case ActionAdd:
                model_.selected = model_.list.empty()
                                      ? std::nullopt
                                      : std::optional<size_t>(model_.list.size() - 1);
                model_.Delete();
                break;
            case ActionDelete:
                model_.Append(model_.deleted);
                break;
            case ActionMove:
            case ActionRotate: {
                ASSERT_TRUE(model_.undoIndex);
                Match& m = model_.list[*model_.undoIndex];
                m.x = model_.savedPosition.x;
                m.y = model_.savedPosition.y;
                if (model_.lastAction == ActionRotate) {
                    m.angle = model_.savedAngle;
                }
                break;
            }
            default:
                break;
        }
        // Undoing an add or a delete turns the record into its opposite.
        if (wasAdd && !model_.list.empty()) {
            EXPECT_EQ(doc_.LastAction, ActionDelete);
        }
        if (wasDelete) {
            EXPECT_EQ(doc_.LastAction, ActionAdd);
        }
    }

    void Check(int step) {
        SCOPED_TRACE(step);
        ASSERT_EQ(doc_.MatchList.ToVector(), model_.list);
        ASSERT_EQ(IndexOf(doc_.MatchList, doc_.SelectedMatch), model_.selected);
        ASSERT_EQ(doc_.LastAction, model_.lastAction);
        if (doc_.LastAction == ActionMove || doc_.LastAction == ActionRotate) {
            ASSERT_TRUE(doc_.MatchList.Contains(editor_.UndoMatch()));
            ASSERT_EQ(IndexOf(doc_.MatchList, editor_.UndoMatch()), model_.undoIndex);
        }
        if (editor_.UndoMatch()) {
            ASSERT_TRUE(doc_.MatchList.Contains(editor_.UndoMatch()));
        }
        ASSERT_EQ(editor_.OnUpdateIndicatorMatchCount(),
                  std::to_string(doc_.MatchList.Count()) + " matches");
        ASSERT_EQ(editor_.OnUpdateNeedSelection(), model_.selected.has_value());
        ASSERT_EQ(editor_.OnUpdateEditUndo(), model_.lastAction != ActionNone);
    }

    std::mt19937 rng_;
    RiddleState doc_;
    CountingHost host_;
    BoardEditor editor_{doc_, host_};
    Model model_;
    std::vector<uint8_t> clipboard_;
};

TEST(BoardEditorRandom, LongSessionsAgreeWithTheModel) {
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        SCOPED_TRACE(seed);
        Session(seed).Run(2000);
        if (HasFatalFailure()) {
            return;
        }
    }
}

}  // namespace
