#pragma once
// Work over a long run of records split between the two cores a surveyor's laptop has: the
// first half on the calling thread, the second on a helper thread. Short runs are not worth a
// thread and stay on the calling one.

#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>

namespace qorvel {

// Runs `here` on the calling thread and `there` on a helper thread at once (one after the other
// when the work is not worth a thread, or there is no second core or thread). An exception from
// either is raised after both have ended, the one from `here` when both fail.
template <class Here, class There>
void BothAtOnce(Here&& here, There&& there, bool worthAThread) {
    if (!worthAThread || std::thread::hardware_concurrency() < 2) {
        here();
        there();
        return;
    }
    std::exception_ptr thereFailure;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                there();
            } catch (...) {
                thereFailure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        here();
        there();
        return;
    }
    try {
        here();
    } catch (...) {
        helper.join();
        throw;
    }
    helper.join();
    if (thereFailure) std::rethrow_exception(thereFailure);
}

// Calls work(begin, end, part) for [0, half) as part 0 and [half, count) as part 1, the two at
// once (BothAtOnce) when `count` reaches `worthASecondThread`. `work` must only touch what
// belongs to its part. An exception from either part is raised here after both have ended (the
// first part's when both fail).
template <class Work>
void InTwoHalves(std::size_t count, std::size_t worthASecondThread, Work&& work) {
    const std::size_t half = count / 2;
    BothAtOnce([&] { work(std::size_t{0}, half, 0); }, [&] { work(half, count, 1); }, count >= worthASecondThread);
}

}  // namespace qorvel
