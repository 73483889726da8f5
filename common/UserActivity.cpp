#include "common/UserActivity.h"

#include <thread>

void UserActivity::Touch()
{
    lastTouched_ = Clock::now().time_since_epoch().count();
}

UserActivity::Clock::time_point UserActivity::quietFrom() const
{
    const Clock::time_point touched{Clock::duration(lastTouched_.load())};
    return touched == Clock::time_point::min() ? touched : touched + QuietAfter;
}

bool UserActivity::Quiet() const
{
    return Clock::now() >= quietFrom();
}

void UserActivity::WaitForQuiet() const
{
    // A key pressed meanwhile moves the moment on.
    for (Clock::time_point until = quietFrom(); Clock::now() < until; until = quietFrom())
        std::this_thread::sleep_until(until);
}
