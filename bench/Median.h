#pragma once
#include <functional>

// Median wall-clock time in milliseconds of runs calls of step; prepare runs before each
// call, outside the timing. Medians, because other work on the machine makes single runs noisy.
double MedianMs(int runs, const std::function<void()> &step, const std::function<void()> &prepare = {});
