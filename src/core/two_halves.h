#pragma once
// Work over a long run of records split between the two cores a surveyor's laptop has: the
// first half on the calling thread, the second on a helper thread. Short runs are not worth a
// thread and stay on the calling one.

#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>

namespace qorvel {

// Calls work(begin, end, part) for [0, half) as part 0 and [half, count) as part 1, the two at
// once when `count` reaches `worthASecondThread` and there is a second core, else one after the
// other. `work` must only touch what belongs to its part. An exception from either part is
// raised here after both have ended (the first part's when both fail).
template <class Work>
void InTwoHalves(std::size_t count, std::size_t worthASecondThread, Work&& work) {
    const std::size_t half = count / 2;
    if (count < worthASecondThread || std::thread::hardware_concurrency() < 2) {
        work(std::size_t{0}, half, 0);
        work(half, count, 1);
        return;
    }
    std::exception_ptr secondFailure;
    std::thread second;
    try {
        second = std::thread([&] {
            try {
                work(half, count, 1);
            } catch (...) {
                secondFailure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: both halves here.
        work(std::size_t{0}, half, 0);
        work(half, count, 1);
        return;
    }
    try {
        work(std::size_t{0}, half, 0);
    } catch (...) {
        second.join();
        throw;
    }
    second.join();
    if (secondFailure) std::rethrow_exception(secondFailure);
}

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

}  // namespace qorvel
