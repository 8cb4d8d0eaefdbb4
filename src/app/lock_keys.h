// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The state of the Caps Lock and Num Lock keys, for the status bar.

namespace vorlo {

struct LockKeys {
    bool known = false;  // false where the platform does not tell
    bool capsLock = false;
    bool numLock = false;
};

// Asks the X server's keyboard extension. On other platforms (Wayland,
// offscreen) nothing is known and the indicators stay empty.
LockKeys ReadLockKeys();

}  // namespace vorlo
