#pragma once

#include <chrono>
#include <functional>

// Checks the condition every 50 ms until it holds (true) or the time is up
// (false).
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
