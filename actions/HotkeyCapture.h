#pragma once

// The hot key Q and the capture that it runs: copy the selection of the window in front,
// show it in 编辑框1, and show the first bank record that contains it in 编辑框2.

#include <cstdint>

// The identifier that registering the hot key returned: 0 until then and after a
// failed registration.
extern std::int32_t answerHotkeyId;

inline constexpr std::int32_t captureWaitMilliseconds = 150;

// The main window's created event: registers the hot key, then loads the bank.
void onMainWindowCreated();

// 标签1's feedback event: runs the capture when `first` is the hot key's identifier.
void onHotkeyFeedback(std::int32_t first, std::int32_t second);

// Writes the first record that contains the text of 编辑框1 into 编辑框2, reading the box
// afresh for every record tried; leaves 编辑框2 alone when no record does.
void showFirstMatchingRecord();
