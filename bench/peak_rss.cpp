// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a command and prints its peak resident memory in bytes. A process
// started by Python directly would be charged with the interpreter's memory
// (Linux counts the peak of the memory a process left at exec), so the
// benchmark report starts its fresh processes through this small one.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s COMMAND [ARG...]\n", argv[0]);
        return 2;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(argv[1], argv + 1);
        std::perror(argv[1]);
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) {
        std::perror("peak_rss");
        return 1;
    }
    std::fprintf(stderr, "peak_rss_bytes=%ld\n", usage.ru_maxrss * 1024L);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
