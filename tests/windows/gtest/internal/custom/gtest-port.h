#pragma once

// GoogleTest's hook for a port of its own, taken before its own empty one on
// Windows. mingw-w64's compiler with Windows threads has no std::mutex, on
// which GoogleTest builds its Notification; this one waits on an atomic flag
// instead. GoogleTest starts no thread of its own that waits for it.

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_.store(true, std::memory_order_release); }
    void WaitForNotification() {
        while (!notified_.load(std::memory_order_acquire)) {
        }
    }

private:
    std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing
