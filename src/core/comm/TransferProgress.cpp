#include "comm/TransferProgress.h"

#include <cmath>
#include <cstdio>

namespace tolvane {

namespace {

std::string Kilobytes(std::size_t bytes) {
    return std::to_string((bytes + 512) / 1024) + " KB";
}

std::string Duration(std::chrono::seconds left) {
    const long long seconds = left.count();
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    std::string text = std::to_string(seconds / 60) + " min";
    if (seconds % 60 != 0) {
        text += ' ';
        text += std::to_string(seconds % 60);
        text += " s";
    }
    return text;
}

} // namespace

TransferProgress::TransferProgress(std::size_t total, bool sending, Clock::time_point start)
    : total_(total), sending_(sending), start_(start) {}

void TransferProgress::Update(std::size_t done, Clock::time_point now) {
    done_ = done;
    elapsed_ = now - start_;
}

double TransferProgress::Rate() const {
    const double seconds = std::chrono::duration<double>(elapsed_).count();
    return seconds > 0 ? static_cast<double>(done_) / seconds : 0.0;
}

std::optional<int> TransferProgress::Percent() const {
    if (Total() == 0) {
        return std::nullopt;
    }
    return static_cast<int>(done_ * 100 / Total());
}

std::optional<std::chrono::seconds> TransferProgress::TimeLeft() const {
    const double rate = Rate();
    if (Total() == 0 || rate <= 0) {
        return std::nullopt;
    }
    const double seconds = static_cast<double>(Total() - done_) / rate;
    return std::chrono::seconds(static_cast<long long>(std::ceil(seconds)));
}

std::string TransferProgress::Text() const {
    std::string text = sending_ ? "Sent " : "Received ";
    text += Kilobytes(done_);
    if (const std::optional<int> percent = Percent()) {
        text += " of ";
        text += Kilobytes(Total());
        text += " (";
        text += std::to_string(*percent);
        text += " %)";
    }
    char rate[32];
    std::snprintf(rate, sizeof rate, ", %.1f KB/s", Rate() / 1024);
    text += rate;
    if (const std::optional<std::chrono::seconds> left = TimeLeft(); left && left->count() > 0) {
        text += ", ";
        text += Duration(*left);
        text += " left";
    }
    return text;
}

} // namespace tolvane
