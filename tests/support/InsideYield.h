#pragma once
#include <functional>

namespace xpv_test {

// Runs the action when the thread next processes its queued messages: inside the first yield
// (DoEvents) of a long action started right after this call, as a user's click would.
class InsideNextYield {
public:
    explicit InsideNextYield(std::function<void()> action);
    ~InsideNextYield();
    InsideNextYield(const InsideNextYield&) = delete;
    InsideNextYield& operator=(const InsideNextYield&) = delete;
    bool Ran() const { return ran_; }

private:
    std::function<void()> action_;
    bool ran_ = false;
    void* window_ = nullptr;
};

}  // namespace xpv_test
