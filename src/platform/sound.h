// The system beep that accompanies an error message.
#pragma once

namespace platform {

// Sounds the beep through the handler the user interface installed (none in
// headless runs, where the beep is only counted).
void beep();

// The function that makes the sound; the user interface sets it at start.
void setBeepHandler(void (*handler)());

// How many beeps this process has sounded (tests look at the change).
int beepCount();

} // namespace platform
