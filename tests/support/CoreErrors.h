#pragma once
#include "core/BvlError.h"

#include <QtGlobal>

#include <utility>

// The BvlError number that action throws, or 0 when it returns normally. Lets tests
// table the expected failure of a call next to its expected result.
template<typename Action> int BvlErrorOf(Action &&action)
{
    try {
        std::forward<Action>(action)();
    } catch (const BvlError &e) {
        return e.number();
    }
    return 0;
}

// True when action throws BvlError number; otherwise warns with what happened instead.
template<typename Action> bool ThrowsNumber(int number, Action &&action)
{
    bool threw = true;
    const int got = BvlErrorOf([&] {
        std::forward<Action>(action)();
        threw = false;
    });
    if (threw && got == number)
        return true;
    if (threw)
        qWarning("expected error %d, got %d", number, got);
    else
        qWarning("expected error %d, nothing was thrown", number);
    return false;
}
