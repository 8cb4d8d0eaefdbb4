// SPDX-License-Identifier: GPL-3.0-or-later
// The model's costs, each measured beside a baseline that no implementation
// can beat by much: the target is a ratio within one run.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QString>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "add_spot.h"
#include "board_editor.h"
#include "hit_test.h"
#include "incremental_pairing.h"
#include "judge.h"
#include "match_record.h"
#include "riddle_file.h"
#include "riddle_io.h"
#include "stick_pairing.h"

// Every allocation of the program is counted, so a benchmark can tell how
// much memory an operation held at its peak.
namespace {
std::atomic<int64_t> g_allocated{0};
std::atomic<int64_t> g_peak{0};

void* CountedAlloc(size_t size) {
    void* p = std::malloc(size + 16);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<size_t*>(p) = size;
    const int64_t now = g_allocated += static_cast<int64_t>(size);
    int64_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(p) + 16;
}

void CountedFree(void* p) {
    if (p != nullptr) {
        char* base = static_cast<char*>(p) - 16;
        g_allocated -= static_cast<int64_t>(*reinterpret_cast<size_t*>(base));
        std::free(base);
    }
}
}  // namespace

void* operator new(size_t size) {
    return CountedAlloc(size);
}
void* operator new[](size_t size) {
    return CountedAlloc(size);
}
void operator delete(void* p) noexcept {
    CountedFree(p);
}
void operator delete[](void* p) noexcept {
    CountedFree(p);
}
void operator delete(void* p, size_t) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, size_t) noexcept {
    CountedFree(p);
}

using namespace vorlo;

namespace {

MatchList SpreadMatches(size_t count, uint32_t seed, bool realisticAngles) {
    std::mt19937 rng(seed);
    const int32_t angles[] = {0, 90, 180, 270, -90, 45, 30};
    MatchList list;
    list.Reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const int32_t angle = realisticAngles ? angles[rng() % 7] : static_cast<int32_t>(rng());
        list.Append(Match(static_cast<int32_t>(rng() % 100000),
                          static_cast<int32_t>(rng() % 100000), angle));
    }
    return list;
}

// --- GetShape ---------------------------------------------------------------

void BM_GetShape(benchmark::State& state) {
    const bool realistic = state.range(0) == 0;
    const MatchList list = SpreadMatches(4096, 1, realistic);
    const std::vector<Match> matches = list.ToVector();
    MatchShape shape;
    for (auto _ : state) {
        for (const Match& m : matches) {
            m.GetShape(shape);
            benchmark::DoNotOptimize(shape);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(matches.size()));
    state.counters["ns_per_shape"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(matches.size()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel(realistic ? "realistic angles" : "distinct random angles");
}
BENCHMARK(BM_GetShape)->Arg(0)->Arg(1);

// --- Hit test that misses every match ----------------------------------------

constexpr size_t kHitMatches = 100000;

void BM_HitTestMiss(benchmark::State& state) {
    const MatchList list = SpreadMatches(kHitMatches, 2, true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(HitTest(list, -1000, -1000));
    }
}
BENCHMARK(BM_HitTestMiss)->Unit(benchmark::kMicrosecond);

// Baseline: a bare loop over the records testing the point against each
// record's bounding square.
void BM_HitTestMissBaseline(benchmark::State& state) {
    const std::vector<Match> matches = SpreadMatches(kHitMatches, 2, true).ToVector();
    for (auto _ : state) {
        const Match* found = nullptr;
        for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
            if (-1000 >= it->x - 77 && -1000 <= it->x + 77 && -1000 >= it->y - 77 &&
                -1000 <= it->y + 77) {
                found = &*it;
                break;
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_HitTestMissBaseline)->Unit(benchmark::kMicrosecond);

// Where Add puts its match on a board of 100,000 matches whose first row in
// view is full, so that every spot of that row is looked at: against the
// same bare loop as the hit test's baseline.
void BM_AddSpotFullRow(benchmark::State& state) {
    MatchList list = SpreadMatches(kHitMatches, 2, true);
    for (int32_t x = 20; x < 1280; x += 18) {
        list.Append(Match(x, 85, 90));
    }
    const BoardRect view{0, 0, 1280, 1024};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ClearAddSpot(list, 0, 1280, view));
    }
}
BENCHMARK(BM_AddSpotFullRow)->Unit(benchmark::kMicrosecond);

// --- Open and save a riddle of a million matches -------------------------------

constexpr size_t kBigRiddle = 1000000;

// The files the benchmarks write live in a temporary folder of their own,
// made on first use and removed with everything in it at exit.
const std::string& WorkFolder() {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/vorlo-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror(("bench_model: cannot make " + pattern).c_str());
            std::exit(1);
        }
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(WorkFolder(), ignored);
        });
        return pattern;
    }();
    return folder;
}

const std::string& BigRiddlePath() {
    static const std::string path = [] {
        std::string p = WorkFolder() + "/big.vrl";
        QString error;
        // A short file would time a different riddle: stop instead.
        if (!SaveRiddleFile(QString::fromStdString(p), SpreadMatches(kBigRiddle, 3, true),
                            QStringLiteral("גדול"), &error)) {
            std::fprintf(stderr, "bench_model: cannot write %s: %s\n", p.c_str(),
                         error.toLocal8Bit().constData());
            std::exit(1);
        }
        return p;
    }();
    return path;
}

void BM_OpenBigRiddle(benchmark::State& state) {
    const std::string& path = BigRiddlePath();
    const auto fileSize = static_cast<double>(std::filesystem::file_size(path));
    double peakRatio = 0;
    for (auto _ : state) {
        // Peak memory allocated while reading, against the file's size.
        const int64_t before = g_allocated.load();
        g_peak = before;
        RiddleReadResult read = ReadRiddleFile(path);
        peakRatio = std::max(peakRatio, static_cast<double>(g_peak.load() - before) / fileSize);
        benchmark::DoNotOptimize(read.riddle.matches.Count());
    }
    state.counters["peak_over_file"] = peakRatio;
}
BENCHMARK(BM_OpenBigRiddle)->Unit(benchmark::kMillisecond);

// Baseline: the file's bytes into memory.
void BM_OpenBigRiddleBaseline(benchmark::State& state) {
    const std::string& path = BigRiddlePath();
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        const off_t size = ::lseek(fd, 0, SEEK_END);
        ::lseek(fd, 0, SEEK_SET);
        std::string bytes(static_cast<size_t>(size), '\0');
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                break;
            }
            done += static_cast<size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_OpenBigRiddleBaseline)->Unit(benchmark::kMillisecond);

// The first hit test on a riddle just read: the index is made by it.
void BM_FirstHitTest(benchmark::State& state) {
    const std::string& path = BigRiddlePath();
    for (auto _ : state) {
        state.PauseTiming();
        RiddleReadResult read = ReadRiddleFile(path);
        const Match middle = *read.riddle.matches.First();
        state.ResumeTiming();
        benchmark::DoNotOptimize(HitTest(read.riddle.matches, middle.x + 5, middle.y));
        state.PauseTiming();
        if (!read.riddle.matches.HasIndex()) {
            state.SkipWithError("the hit test walked the list");
        }
        read = {};  // freed outside the timing
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstHitTest)->Unit(benchmark::kMillisecond);

void BM_SerializeBigRiddle(benchmark::State& state) {
    const MatchList list = SpreadMatches(kBigRiddle, 3, true);
    for (auto _ : state) {
        const std::string bytes = SerializeRiddle(list, "גדול");
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_SerializeBigRiddle)->Unit(benchmark::kMillisecond);

// Saving: the bytes of the riddle and their write through the program's
// atomic save (the program's own writer), into the directory of the riddle.
const std::string& SavePath() {
    static const std::string path = WorkFolder() + "/save.vrl";
    return path;
}

void BM_SaveBigRiddle(benchmark::State& state) {
    const MatchList list = SpreadMatches(kBigRiddle, 3, true);
    const QString path = QString::fromStdString(SavePath());
    for (auto _ : state) {
        QString error;
        if (!SaveRiddleFile(path, list, QStringLiteral("גדול"), &error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
    }
    std::remove(SavePath().c_str());
}
BENCHMARK(BM_SaveBigRiddle)->Unit(benchmark::kMillisecond);

// Baseline: the same number of bytes written to a file in the same directory
// and flushed to the disk, as every save that survives a crash must do (the
// program's writer calls fdatasync before it puts the file in place).
void WritePlain(benchmark::State& state, bool durable) {
    const std::string bytes(4 + kBigRiddle * kMatchRecordSize + 8, 'v');
    const std::string path = SavePath() + ".plain";
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                break;
            }
            done += static_cast<size_t>(n);
        }
        if (durable) {
            ::fdatasync(fd);
        }
        ::close(fd);
    }
    std::remove(path.c_str());
}

void BM_SaveBigRiddleBaseline(benchmark::State& state) {
    WritePlain(state, true);
}
BENCHMARK(BM_SaveBigRiddleBaseline)->Unit(benchmark::kMillisecond);

// For comparison: the write alone, left in the page cache.
void BM_WriteBigRiddleNoSync(benchmark::State& state) {
    WritePlain(state, false);
}
BENCHMARK(BM_WriteBigRiddleNoSync)->Unit(benchmark::kMillisecond);

// The moved count of a whole board of 100,000 matches against its riddle,
// paired afresh by the whole-layout pairing (the yardstick of the tests):
// the riddle's end table made once, the board's matches looked up and
// paired each time.
vorlo::MatchList PairingGrid(int count) {
    vorlo::MatchList list;
    for (int i = 0; i < count; ++i) {
        const int column = i % 400;
        const int row = i / 400;
        list.Append(vorlo::Match(column * 76, row * 76, (i % 2) * 90));
    }
    return list;
}

void BM_MovedCount(benchmark::State& state) {
    const vorlo::MatchList riddle = PairingGrid(static_cast<int>(state.range(0)));
    const vorlo::StickIndex index(riddle);
    vorlo::MatchList board = riddle;
    board.First()->x += 500;  // two matches moved
    board.Last()->y += 500;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vorlo::MovedCount(index, board));
    }
}
BENCHMARK(BM_MovedCount)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Making the riddle's end table for the whole-layout pairing.
void BM_StickIndex(benchmark::State& state) {
    const vorlo::MatchList riddle = PairingGrid(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(vorlo::StickIndex(riddle).Count());
    }
}
BENCHMARK(BM_StickIndex)->Arg(100000)->Unit(benchmark::kMillisecond);

// vorlo-cli check's comparison: the judge made with one solution and the
// moves counter with the riddle, the attempt handed to each as a whole
// board. Arg 0: 20,000 matches lying apart in a grid; 1: the same number
// stacked on one spot, which once paired every match of the stack with
// every other. In both the solution moves one match beside.
void BM_CheckPairing(benchmark::State& state) {
    constexpr int kCount = 20000;
    vorlo::MatchList riddle;
    if (state.range(0) == 0) {
        riddle = PairingGrid(kCount);
    } else {
        for (int i = 0; i < kCount; ++i) {
            riddle.Append(vorlo::Match(100, 100, 0));
        }
    }
    vorlo::MatchList solution = riddle;
    solution.Last()->x -= 200;
    solution.Last()->y -= 200;
    const vorlo::MatchList attempt = solution;
    for (auto _ : state) {
        vorlo::LayoutJudge judge({solution.ToVector()});
        judge.Reset(attempt);
        vorlo::IncrementalPairing moves(riddle);
        moves.Reset(attempt);
        benchmark::DoNotOptimize(judge.Solved());
        benchmark::DoNotOptimize(moves.BoardUnpaired());
    }
}
BENCHMARK(BM_CheckPairing)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// --- The moves counter after one move -----------------------------------------

// A riddle of n matches lying apart, one per 100 by 100 pixels, opened and
// then changed, so that the moves counter follows the board: the editor
// moves a match by the arrow keys and tells its host what the match was and
// is, and the host hands both to the pairing with the riddle, as the
// window's counter does. Made once for each size and kept for the run (the
// 10,000,000 one takes some seconds).
class MovesBoard : public vorlo::BoardHost {
public:
    explicit MovesBoard(size_t count) {
        const auto side = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(count))));
        doc_.MatchList.Reserve(count);
        for (size_t i = 0; i < count; ++i) {
            doc_.MatchList.Append(vorlo::Match(static_cast<int32_t>(i % side) * 100,
                                               static_cast<int32_t>(i / side) * 100,
                                               static_cast<int32_t>(i % 4) * 90));
        }
        const int64_t before = g_allocated.load();
        g_peak = before;
        moves_.emplace(doc_.MatchList);
        moves_->Reset(doc_.MatchList);
        peakBytes_ = g_peak.load() - before;
        heldBytes_ = g_allocated.load() - before;
        // The match in the middle of the board is the one moved.
        auto it = doc_.MatchList.begin();
        std::advance(it, static_cast<std::ptrdiff_t>(count / 2));
        doc_.SelectedMatch = it.ref();
    }

    // Moves the match 50 px right (between two others) and back, reading the
    // count after each step: the sum of the two, 1.
    size_t MoveAwayAndBack() {
        editor_.OnKeyMove(50, 0);
        size_t moved = moves_->BoardUnpaired();
        editor_.OnKeyMove(-50, 0);
        moved += moves_->BoardUnpaired();
        return moved;
    }

    int64_t PeakBytes() const { return peakBytes_; }
    int64_t HeldBytes() const { return heldBytes_; }

    void BoardChanged(const vorlo::BoardChange& change, bool) override {
        if (change.before) {
            moves_->Remove(*change.before);
        }
        if (change.after) {
            moves_->Add(*change.after);
        }
    }

private:
    vorlo::RiddleState doc_;
    vorlo::BoardEditor editor_{doc_, *this};
    std::optional<vorlo::IncrementalPairing> moves_;
    int64_t peakBytes_ = 0;
    int64_t heldBytes_ = 0;
};

MovesBoard& MovesBoardOf(size_t count) {
    static std::map<size_t, std::unique_ptr<MovesBoard>> boards;
    std::unique_ptr<MovesBoard>& board = boards[count];
    if (!board) {
        board = std::make_unique<MovesBoard>(count);
    }
    return *board;
}

void BM_MovesCounterAfterOneMove(benchmark::State& state) {
    MovesBoard& board = MovesBoardOf(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        if (board.MoveAwayAndBack() != 1) {
            state.SkipWithError("the moves counter miscounted");
            break;
        }
    }
    // What the counter holds, and its peak while it was made.
    const double matches = static_cast<double>(state.range(0));
    state.counters["held_bytes_per_match"] = static_cast<double>(board.HeldBytes()) / matches;
    state.counters["peak_mb"] = static_cast<double>(board.PeakBytes()) / 1e6;
}
BENCHMARK(BM_MovesCounterAfterOneMove)->Arg(1000)->Arg(10000000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
