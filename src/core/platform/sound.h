// The system beep that accompanies an error message.
#pragma once

namespace platform {

// Sounds the beep.
void beep();

// How many beeps this process has sounded (tests look at the change).
int beepCount();

} // namespace platform
