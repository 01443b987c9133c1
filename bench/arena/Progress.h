#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>

namespace ttt::bench {

// One self-updating line on standard error for a long run: work done, time so far, time left.
// Shown only when standard error is a terminal, so logs and pipes get nothing extra. The time left
// comes from the rate so far, or from a deadline in seconds when the run has one.
class Progress {
  public:
    Progress(std::string what, long total, double deadline = 0);
    ~Progress(); // ends the line
    void advance(long done = 1); // safe from any thread
    void note(const std::string &line); // a line of the run's log, printed above the progress

  private:
    void show(long done);

    std::string what_;
    long total_;
    double deadline_;
    bool shown_;
    std::atomic<long> done_{0};
    std::mutex mutex_;
    std::chrono::steady_clock::time_point start_, last_;
};

} // namespace ttt::bench
