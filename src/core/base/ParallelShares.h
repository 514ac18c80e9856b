#pragma once
// Work over a range split into contiguous shares, one per thread, the caller's thread
// taking the first: for independent per-item work whose results go to their own slots.

#include <algorithm>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

namespace ketrilo {

// Calls work(begin, end) for shares covering [0, count) of at least minShare items each,
// on up to the machine's number of cores, and returns when all are done. The first
// exception a share threw is thrown again here.
template <class Work> void RunInShares(size_t count, size_t minShare, const Work& work) {
    // Asked once: the system answers by reading a file, and a walk asks per folder.
    static const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t shares = std::clamp<size_t>(count / std::max<size_t>(minShare, 1), 1, cores);
    std::vector<std::exception_ptr> failures(shares);
    const auto runShare = [&](size_t share) {
        try {
            work(count * share / shares, count * (share + 1) / shares);
        } catch (...) {
            failures[share] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    for (size_t share = 1; share < shares; ++share)
        helpers.emplace_back(runShare, share);
    runShare(0);
    for (std::thread& helper : helpers)
        helper.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

} // namespace ketrilo
