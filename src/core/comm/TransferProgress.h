// How far a transfer has come, for a bar and a line the user can read at a glance: bytes done of
// the whole, the rate so far and the time left at that rate. The whole is unknown for a download
// into a new file; then only bytes and rate are told.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace tolvane {

class TransferProgress {
public:
    using Clock = std::chrono::steady_clock;

    TransferProgress() = default;
    // total 0: not known. sending: an upload, else a download.
    TransferProgress(std::size_t total, bool sending, Clock::time_point start);

    void Update(std::size_t done, Clock::time_point now);

    std::size_t Done() const { return done_; }
    // The whole, 0 while not known: also once more has come than was expected.
    std::size_t Total() const { return done_ <= total_ ? total_ : 0; }
    // Bytes a second since the start; 0 until some time has passed.
    double Rate() const;
    // Whole per cent of the total; nullopt without one.
    std::optional<int> Percent() const;
    // At the rate so far, rounded up to whole seconds; nullopt without a total or a rate.
    std::optional<std::chrono::seconds> TimeLeft() const;
    // "Received 64 KB of 128 KB (50 %), 1.0 KB/s, 1 min 4 s left"; without a total "Received
    // 64 KB, 1.0 KB/s".
    std::string Text() const;

private:
    std::size_t total_ = 0;
    std::size_t done_ = 0;
    bool sending_ = false;
    Clock::time_point start_{};
    Clock::duration elapsed_{};
};

} // namespace tolvane
