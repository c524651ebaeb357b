// The screen backend this program was built with (screen_qt.cpp or
// screen_none.cpp).
#pragma once

#include <memory>
#include <string>

// Opens the screen; null with a reason when there is none.
std::shared_ptr<void> OpenScreen(std::string& whyNot);
