# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands that set everything up on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, starts the program
#   make test   installs what is missing, builds, runs every test (also under ASan + UBSan)

PRESET ?= debug
BUILD := build/$(PRESET)
SAMPLE := resources/samples/riddle1.vrl

.PHONY: all deps build run test test-asan test-fuzz check check-fast bench format clean

all: build

deps:
	@bash scripts/install-deps

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)

# Starts the window on the bundled cup riddle. Without a display the program
# says so and how to run it under xvfb-run.
run: build
	@$(BUILD)/bin/vorlo $(SAMPLE)

check: build
	@ctest --preset $(PRESET)

# The quick pass while working: the debug build's unit and widget tests, two
# at a time; no virtual X server, no package, no sanitizers (make test runs
# those).
check-fast: deps
	@cmake --preset debug >/dev/null
	@cmake --build --preset debug
	@ctest --preset debug -L 'unit|widget' -j2

test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

# The model's fuzz targets, built with clang and libFuzzer: each replays its
# corpus and fuzzes for a short, fixed number of runs.
test-fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@ctest --preset fuzz

test: deps
	@$(MAKE) --no-print-directory test-fuzz
	@$(MAKE) --no-print-directory check PRESET=debug
	@$(MAKE) --no-print-directory test-asan

# Builds the benchmarks in release and prints each figure beside its baseline
# and target (a few minutes; the figures are ratios within one run).
bench: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target bench_model bench_board bench_bare_window bench_first_paint_probe bench_open_probe bench_read_baseline bench_peak_rss bench_family bench_book_probe vorlo vorlo-cli
	@python3 bench/report.py build/release

# The Debian package build/release/vorlo_1.1.0_amd64.deb, from the release
# build; install it with: sudo apt install ./build/release/vorlo_1.1.0_amd64.deb
.PHONY: package
package: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target package

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build
