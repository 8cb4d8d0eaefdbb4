// SPDX-License-Identifier: GPL-3.0-or-later
// The board's costs, each beside a baseline within the same run: a drag step
// on riddles of growing size, and a full repaint against QPainter drawing the
// same polygons precomputed.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <cmath>
#include <random>
#include <vector>

#include "board_editor.h"
#include "board_painter.h"
#include "board_render.h"
#include "hit_test.h"

using namespace vorlo;

namespace {

class NullHost : public BoardHost {
public:
    void setModified() override {}
    void UpdateAllViews(int32_t) override {}
};

const int32_t kRealisticAngles[] = {0, 90, 180, 270, -90, 45, 30};

// `count` matches at the density of a real riddle (one per 100 by 100
// pixels), so a board of many matches is a large board.
void Spread(MatchList& list, size_t count, uint32_t seed) {
    std::mt19937 rng(seed);
    const auto side = static_cast<uint32_t>(std::sqrt(double(count)) * 100);
    list.Reserve(count);
    for (size_t i = 0; i < count; ++i) {
        list.Append(Match(static_cast<int32_t>(rng() % side), static_cast<int32_t>(rng() % side),
                           kRealisticAngles[rng() % 7]));
    }
}

// --- Drag step -----------------------------------------------------------------

// One mouse movement that moves the grabbed match, with the repaint of the
// rectangle it returns into the window's surface, as the board does it:
// erase the rectangle, then paint the matches clipped to it.
void DragSteps(benchmark::State& state, bool snapping) {
    const auto count = static_cast<size_t>(state.range(0));
    RiddleState doc;
    NullHost host;
    BoardEditor editor(doc, host);
    editor.SetSnapping(snapping);
    Spread(doc.MatchList, count, 42);
    const auto side = static_cast<int32_t>(std::sqrt(double(count)) * 100);
    const int32_t cx = side / 2;
    const int32_t cy = side / 2;
    doc.MatchList.Append(Match(cx, cy, 0));  // on top of all others
    editor.OnLButtonDown(MK_LBUTTON, cx + 30, cy);
    if (!doc.SelectedMatch) {
        state.SkipWithError("the grabbed match was not hit");
        return;
    }
    QImage surface(1024, 768, QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::white);
    const QPoint origin(cx - 512, cy - 384);
    int step = 0;
    for (auto _ : state) {
        const int32_t px = cx + 30 + ((step++ & 1) ? 4 : 0);
        const BoardEditor::MouseResult r = editor.OnMouseMove(MK_LBUTTON, px, cy);
        const QRect clip(QPoint(r.repaint->left, r.repaint->top),
                         QPoint(r.repaint->right - 1, r.repaint->bottom - 1));
        QPainter painter(&surface);
        painter.translate(-origin);
        painter.setClipRect(clip);
        painter.fillRect(clip, Qt::white);
        PaintBoard(painter, doc.MatchList, doc.SelectedMatch, clip);
    }
    state.SetLabel(std::to_string(count) + " matches");
}

void BM_DragStep(benchmark::State& state) {
    DragSteps(state, false);
}
BENCHMARK(BM_DragStep)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The same step with snapping on: each step also looks for ends near the
// dragged match's two ends through the list's spatial index.
void BM_DragStepSnapping(benchmark::State& state) {
    DragSteps(state, true);
}
BENCHMARK(BM_DragStepSnapping)->Arg(100000)->Unit(benchmark::kMicrosecond);

// --- Full repaint ----------------------------------------------------------------

constexpr size_t kRepaintMatches = 10000;
const QSize kRepaintSize(1600, 1200);

void SpreadVisible(MatchList& list) {
    std::mt19937 rng(7);
    for (size_t i = 0; i < kRepaintMatches; ++i) {
        list.Append(Match(static_cast<int32_t>(80 + rng() % 1440),
                           static_cast<int32_t>(80 + rng() % 1040), kRealisticAngles[rng() % 7]));
    }
}

void BM_FullRepaint(benchmark::State& state) {
    MatchList list;
    SpreadVisible(list);
    const MatchList::Ref selected = list.Last();
    QImage surface(kRepaintSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        surface.fill(Qt::white);
        QPainter painter(&surface);
        PaintBoard(painter, list, selected);
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

// Baseline: the same polygons, computed beforehand, drawn with the same pen,
// brushes and fill rule.
void BM_FullRepaintBaseline(benchmark::State& state) {
    MatchList list;
    SpreadVisible(list);
    std::vector<QPolygonF> sticks;
    std::vector<QPolygonF> heads;
    for (const Match& m : list) {
        const MatchShape shape = m.GetShape();
        sticks.push_back(ShapePolygon(m, shape.Stick));
        heads.push_back(ShapePolygon(m, shape.Head));
    }
    QImage surface(kRepaintSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        surface.fill(Qt::white);
        QPainter painter(&surface);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(kOutlineColor, 1));
        const QBrush stickBrush(kStickColor);
        const QBrush headBrush(kHeadColor);
        const QBrush selectedBrush(kSelectedHeadColor);
        for (size_t i = 0; i < sticks.size(); ++i) {
            painter.setBrush(stickBrush);
            painter.drawPolygon(sticks[i], Qt::WindingFill);
            painter.setBrush(i + 1 == sticks.size() ? selectedBrush : headBrush);
            painter.drawPolygon(heads[i], Qt::WindingFill);
        }
    }
}
BENCHMARK(BM_FullRepaintBaseline)->Unit(benchmark::kMillisecond);

// --- Picture with text ------------------------------------------------------------

// vorlo-cli render --with-text's work for a PNG: the worked example's board
// with a text of one word of `range(0)` letters below it, laid out, drawn and
// encoded. A word of 2 MB shows only what fits in the picture, so it costs a
// few times the 2 KB one, not a thousand.
void BM_RenderTextPng(benchmark::State& state) {
    MatchList matches;
    for (const Match& m :
         {Match(309, 126, 90), Match(209, 126, 90), Match(199, 137, 0), Match(258, 248, 90)}) {
        matches.Append(m);
    }
    const PictureFrame frame = FramePicture(matches, 10);
    const PictureText text{QString(static_cast<qsizetype>(state.range(0)), u'a'),
                           QGuiApplication::font()};
    for (auto _ : state) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QImageWriter(&png, "png").write(RenderImage(matches, {}, frame, &text));
        benchmark::DoNotOptimize(png.data().size());
    }
    state.SetLabel(text.cut ? "text cut" : "whole text");
}
BENCHMARK(BM_RenderTextPng)->Arg(2048)->Arg(2 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
