#pragma once
// When the statistician last pressed a key or a mouse button. Work in the
// background gives way to the keying: a job that would share the processor
// and the disk with an entry (the opening backup, the start of a safety
// copy) waits until nothing has been keyed for a moment. Read from any
// thread.

#include <atomic>
#include <chrono>

class UserActivity
{
public:
    // Keys come closer together than this while an entry is typed.
    static constexpr std::chrono::milliseconds QuietAfter{250};

    void Touch();
    // Nothing keyed for QuietAfter.
    bool Quiet() const;
    // Returns once Quiet() holds.
    void WaitForQuiet() const;

private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point quietFrom() const;

    std::atomic<Clock::rep> lastTouched_{Clock::time_point::min().time_since_epoch().count()};
};
