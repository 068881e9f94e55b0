#pragma once

// The pause routine: returns once at least the given number of seconds has passed, and keeps
// the window responsive meanwhile. Tests hand in a waiter that does not really wait.
class Waiter
{
public:
    virtual ~Waiter() = default;
    virtual void wait(double seconds) = 0;
};

// Waits on a monotonic clock while the event loop runs; the CPU sleeps between events.
class EventLoopWaiter : public Waiter
{
public:
    void wait(double seconds) override;
};
