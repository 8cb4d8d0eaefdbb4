// SPDX-License-Identifier: GPL-3.0-or-later
// Opens a riddle with the program's reader and exits: the figure beside
// read_baseline, each started as a fresh process, so that the cost of faulting
// in new memory is counted as a user opening a file pays it.

#include <cstdio>

#include "riddle_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    const vorlo::RiddleReadResult read = vorlo::ReadRiddleFile(argv[1]);
    if (!read.ok) {
        std::fprintf(stderr, "%s: %s\n", argv[1], read.error.c_str());
        return 1;
    }
    std::printf("%zu\n", read.riddle.matches.Count());
    return 0;
}
