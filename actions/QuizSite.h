#pragma once

// 按钮1: opening the quiz page in the user's browser.

#include <string_view>

// "https://" + the quiz host chosen at build time + "/competition".
extern const std::string_view quizSiteAddress;

// 按钮1's click event.
void onOpenSiteClicked();

// Asks the shell to open `address`; the outcome is not looked at.
void openWebAddress(std::string_view address);
