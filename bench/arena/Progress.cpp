#include "bench/arena/Progress.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace ttt::bench {

namespace {

std::string clock(double seconds) {
    char buf[32];
    const long s = static_cast<long>(seconds + 0.5);
    std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    return buf;
}

} // namespace

Progress::Progress(std::string what, long total, double deadline)
    : what_(std::move(what)), total_(total), deadline_(deadline), shown_(::isatty(STDERR_FILENO) == 1),
      start_(std::chrono::steady_clock::now()), last_(start_) {}

Progress::~Progress() {
    if (shown_) {
        show(done_);
        std::fputc('\n', stderr);
    }
}

void Progress::advance(long done) {
    const long now = done_ += done;
    if (!shown_)
        return;
    std::lock_guard lock(mutex_);
    if (std::chrono::steady_clock::now() - last_ > std::chrono::milliseconds(200))
        show(now);
}

void Progress::note(const std::string &line) {
    std::lock_guard lock(mutex_);
    std::fprintf(stderr, shown_ ? "\r\x1b[K%s\n" : "%s\n", line.c_str());
    if (shown_)
        show(done_);
}

void Progress::show(long done) {
    last_ = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(last_ - start_).count();
    double left = -1;
    if (total_ > 0 && done > 0)
        left = elapsed * static_cast<double>(total_ - done) / static_cast<double>(done);
    if (deadline_ > 0 && (left < 0 || deadline_ - elapsed < left))
        left = std::max(0.0, deadline_ - elapsed);
    std::string text = what_ + " " + std::to_string(done) + (total_ > 0 ? " of " + std::to_string(total_) : "") + ", " +
                       clock(elapsed) + " so far" + (left >= 0 ? ", about " + clock(left) + " left" : "");
    std::fprintf(stderr, "\r\x1b[K%s", text.c_str());
    std::fflush(stderr);
}

} // namespace ttt::bench
