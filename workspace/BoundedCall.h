// A call that may hang (a look into a network mount whose server is gone)
// run on a thread of its own and waited for a limited time. On time-out the
// caller goes on without a result and the thread finishes alone, owning
// everything it uses.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

template <class T>
std::optional<T> CallBounded(std::function<T()> work, int timeoutMs)
{
    struct Shared {
        std::mutex lock;
        std::condition_variable done;
        std::optional<T> result;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, work = std::move(work)] {
        T value = work();
        std::lock_guard<std::mutex> lock(shared->lock);
        shared->result = std::move(value);
        shared->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(shared->lock);
    if (!shared->done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return shared->result.has_value(); }))
        return std::nullopt;
    return std::move(shared->result);
}
