#pragma once
#include "core/BvlError.h"

#include <utility>

// The BvlError number that action throws, or 0 when it returns normally. Lets tests
// table the expected failure of a call next to its expected result.
template<typename Action>
int BvlErrorOf(Action &&action)
{
    try {
        std::forward<Action>(action)();
    } catch (const BvlError &e) {
        return e.number();
    }
    return 0;
}
