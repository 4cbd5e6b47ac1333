// Application-wide hints: white background, hidden after five seconds.
#pragma once

constexpr int HintHidePauseMs = 5000;

// Applies the hint settings to the running application.
void ApplyHintSettings();
