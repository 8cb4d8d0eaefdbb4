// SPDX-License-Identifier: GPL-3.0-or-later
#include "vorlo_application.h"

int main(int argc, char** argv) {
    return vorlo::VorloMain(argc, argv);
}
