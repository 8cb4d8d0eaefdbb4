// SPDX-License-Identifier: GPL-3.0-or-later
// Shapes, hit testing, and moving and turning a match by mouse, on arbitrary
// 32-bit positions and angles. Nothing may overflow (UBSan watches every
// step), and the geometry keeps its promises:
// - the shape built from cached per-angle offsets is the step-by-step shape;
// - a shape travels with its match, wrapping at 32 bits, and never reaches
//   further than kMatchReach from the match's point;
// - hit testing is the same in every frame of the 32-bit plane, finds the
//   middle of a match's stick, and names only a match that contains the point
//   and that no later match covers;
// - a dragged match lands at the pointer less the grab offset, a match turned
//   about its tail keeps its point, one turned about its head keeps its head
//   on the pivot, the angles a turn gives stay within one turn either way, and
//   undo brings back what it saved;
// - a snap to 90 degrees moves the angle by at most 45 degrees.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board_editor.h"
#include "hit_test.h"
#include "int32_math.h"
#include "match.h"
#include "shape_cache.h"

using namespace vorlo;

namespace {

[[noreturn]] void Fail(int line, const char* what) {
    std::fprintf(stderr, "fuzz_geometry.cpp:%d: failed: %s\n", line, what);
    std::abort();
}

// Says which promise broke, for the crash report.
#define Check(...) ((__VA_ARGS__) ? void() : Fail(__LINE__, #__VA_ARGS__))

struct Host : BoardHost {
    void setModified() override {}
    void UpdateAllViews(int32_t) override {}
};

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // Any 32-bit value, often one at or near an end of the range, or small.
    int32_t Int() {
        static constexpr int32_t kEdges[] = {INT32_MIN,
                                             INT32_MIN + 1,
                                             INT32_MIN + 76,
                                             INT32_MAX,
                                             INT32_MAX - 1,
                                             INT32_MAX - 76,
                                             0,
                                             -1,
                                             1,
                                             90,
                                             -90,
                                             180,
                                             360,
                                             -360,
                                             45,
                                             -45,
                                             32767,
                                             -32768};
        const uint8_t kind = Byte();
        if (kind < 32) {
            return WrapAdd(kEdges[kind % std::size(kEdges)], static_cast<int8_t>(Byte()));
        }
        if (kind < 96) {
            return static_cast<int16_t>(Byte() << 8 | Byte());
        }
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v = (v << 8) | Byte();
        }
        return static_cast<int32_t>(v);
    }
    Match NextMatch() {
        const int32_t x = Int();
        const int32_t y = Int();
        return Match(x, y, Int());
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// How far apart two coordinates are on the 32-bit circle.
int64_t Gap(int32_t a, int32_t b) {
    return std::llabs(static_cast<int64_t>(WrapSub(a, b)));
}

Point32 Shifted(Point32 p, int32_t dx, int32_t dy) {
    return {WrapAdd(p.x, dx), WrapAdd(p.y, dy)};
}

// The middle of the stick: the mean of its corners, taken relative to the
// match's point so that it is exact anywhere on the plane.
Point32 StickMiddle(const Match& m, const MatchShape& s) {
    int64_t sx = 0;
    int64_t sy = 0;
    for (const Point32& p : s.Stick) {
        sx += WrapSub(p.x, m.x);
        sy += WrapSub(p.y, m.y);
    }
    return {WrapAdd(m.x, static_cast<int32_t>(sx / 4)), WrapAdd(m.y, static_cast<int32_t>(sy / 4))};
}

void CheckShape(const Match& m, int32_t dx, int32_t dy) {
    MatchShape cached;
    m.GetShape(cached, ShapeParts::WithGrip);
    MatchShape stepwise;
    GetShapeUncached(m, stepwise, ShapeParts::WithGrip);
    Check(cached.Stick == stepwise.Stick && cached.Head == stepwise.Head &&
          cached.Grip == stepwise.Grip);

    const Match moved(WrapAdd(m.x, dx), WrapAdd(m.y, dy), m.angle);
    const MatchShape there = moved.GetShape();
    for (size_t i = 0; i < cached.Stick.size(); ++i) {
        Check(there.Stick[i] == Shifted(cached.Stick[i], dx, dy));
        Check(Gap(cached.Stick[i].x, m.x) <= kMatchReach &&
              Gap(cached.Stick[i].y, m.y) <= kMatchReach);
    }
    for (size_t i = 0; i < cached.Head.size(); ++i) {
        Check(there.Head[i] == Shifted(cached.Head[i], dx, dy));
        Check(Gap(cached.Head[i].x, m.x) <= kMatchReach &&
              Gap(cached.Head[i].y, m.y) <= kMatchReach);
    }
}

void CheckHit(const Match& m, int32_t px, int32_t py, int32_t dx, int32_t dy) {
    const Match moved(WrapAdd(m.x, dx), WrapAdd(m.y, dy), m.angle);
    Check(MatchContains(m, px, py) == MatchContains(moved, WrapAdd(px, dx), WrapAdd(py, dy)));
    const Point32 middle = StickMiddle(m, m.GetShape());
    Check(MatchContains(m, middle.x, middle.y));
}

void CheckHitTest(const MatchList& list, int32_t px, int32_t py) {
    const MatchList::Ref hit = HitTest(list, px, py);
    bool covered = false;  // whether a match after the current one contains the point
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        const bool contains = MatchContains(*it, px, py);
        if (it.ref() == hit) {
            Check(contains && !covered);
            return;
        }
        covered = covered || contains;
    }
    Check(!hit && !covered);
}

// Grabs `m`, lying on top of the others, in the middle of its stick and drags
// or turns it through the moves the input asks for, then undoes.
void CheckDrag(RiddleState& doc, BoardEditor& editor, Input& in, bool turn) {
    const MatchList::Ref ref = doc.MatchList.Last();
    const Match before = *ref;
    const Point32 grab = StickMiddle(before, before.GetShape());
    if (turn) {
        editor.OnRButtonDown(MK_RBUTTON, grab.x, grab.y);
    } else {
        editor.OnLButtonDown(MK_LBUTTON, grab.x, grab.y);
    }
    Check(doc.SelectedMatch == ref);
    Check(doc.LastAction == (turn ? ActionRotate : ActionMove));
    const Point32 pivot = editor.Anchor();
    const bool atHead = editor.PivotAtHead();
    if (turn) {
        const MatchShape s = before.GetShape();
        Check(atHead ? pivot == s.Head[2] : pivot == s.Stick[0]);
    } else {
        Check(pivot == Point32{WrapSub(grab.x, before.x), WrapSub(grab.y, before.y)});
    }

    const int moves = in.Byte() % 4 + 1;
    for (int i = 0; i < moves; ++i) {
        const int32_t px = in.Int();
        const int32_t py = in.Int();
        const int32_t angleBefore = ref->angle;
        const BoardEditor::MouseResult r =
            editor.OnMouseMove(turn ? MK_RBUTTON : MK_LBUTTON, px, py);
        Check(r.repaint.has_value());
        Check(r.repaint->left <= r.repaint->right && r.repaint->top <= r.repaint->bottom);
        if (!turn) {
            Check(ref->x == WrapSub(px, pivot.x) && ref->y == WrapSub(py, pivot.y));
            Check(ref->angle == before.angle);
            Check(r.repaint->left <= px && px <= r.repaint->right);
            Check(r.repaint->top <= py && py <= r.repaint->bottom);
            continue;
        }
        if (py == pivot.y) {
            Check(ref->angle == angleBefore);
        } else {
            Check(ref->angle >= -270 && ref->angle <= 270);
        }
        if (atHead) {
            const Point32 head = ref->GetShape().Head[2];
            Check(Gap(head.x, pivot.x) <= 2 && Gap(head.y, pivot.y) <= 2);
        } else {
            Check(ref->x == before.x && ref->y == before.y);
        }
        Check(r.repaint->left <= pivot.x && pivot.x <= r.repaint->right);
        Check(r.repaint->top <= pivot.y && pivot.y <= r.repaint->bottom);
    }

    editor.OnEditUndo();
    if (turn) {
        Check(ref->angle == before.angle);
    } else {
        Check(ref->x == before.x && ref->y == before.y);
    }
}

void CheckSnap(BoardEditor& editor, RiddleState& doc) {
    const int32_t angle = doc.SelectedMatch->angle;
    editor.OnRotate90();
    const int32_t snapped = doc.SelectedMatch->angle;
    Check(snapped == 0 || snapped == 90 || snapped == -90 || snapped == -180);
    Check(snapped == BoardEditor::SnapAngleTo90(angle));
    const int64_t turn = ((static_cast<int64_t>(angle) - snapped) % 360 + 360) % 360;
    Check(turn <= 45 || turn > 315);
    editor.OnEditUndo();
    Check(doc.SelectedMatch->angle == angle);
}

void CheckPaste(BoardEditor& editor, RiddleState& doc, const Match& m) {
    const MatchBlock block = EncodeMatchBlock(m);
    const std::optional<MatchBlock> next = editor.OnEditPaste(block);
    Check(next.has_value());
    const Match pasted(WrapAdd(m.x, 5), WrapAdd(m.y, 5), m.angle);
    Check(*doc.SelectedMatch == pasted && *doc.MatchList.Last() == pasted);
    Check(DecodeMatchBlock(*next) == pasted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    RiddleState doc;
    Host host;
    BoardEditor editor(doc, host);

    for (int step = 0; step < 64 && !in.Empty(); ++step) {
        switch (in.Byte() % 6) {
            case 0: {
                const Match m = in.NextMatch();
                const int32_t dx = in.Int();
                CheckShape(m, dx, in.Int());
                break;
            }
            case 1: {
                const Match m = in.NextMatch();
                const int32_t px = in.Int();
                const int32_t py = in.Int();
                const int32_t dx = in.Int();
                CheckHit(m, px, py, dx, in.Int());
                break;
            }
            case 2: {  // a match laid on top of the board, then points tested
                doc.MatchList.Append(in.NextMatch());
                if (doc.MatchList.Count() > 16) {
                    doc.SelectedMatch = {};
                    editor.OnDocumentReset();
                    doc.MatchList.Remove(doc.MatchList.First());
                }
                const int32_t px = in.Int();
                CheckHitTest(doc.MatchList, px, in.Int());
                break;
            }
            case 3:
            case 4:
                if (!doc.MatchList.IsEmpty()) {
                    CheckDrag(doc, editor, in, in.Byte() & 1);
                }
                break;
            case 5:
                CheckPaste(editor, doc, in.NextMatch());
                CheckSnap(editor, doc);
                break;
        }
    }
    return 0;
}
