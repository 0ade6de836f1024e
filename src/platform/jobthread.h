#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

// One background thread that runs the jobs posted to it one at a time, in the order they were
// posted. It starts with the first job. A job runs, and is destroyed, on that thread.
class JobThread {
public:
    static constexpr std::chrono::milliseconds kForever = std::chrono::milliseconds::max();

    JobThread() = default;
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;
    // Runs what is still queued, then ends the thread.
    ~JobThread() { finish(kForever); }

    void post(std::function<void()> job);
    // Runs what is still queued and ends the thread, waiting for it at most patience: jobs that
    // take longer are left to end on their own, the thread keeping what it needs. A later post
    // starts a new thread. True when the thread has ended.
    bool finish(std::chrono::milliseconds patience);

private:
    struct Queue {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable ended;
        std::deque<std::function<void()>> jobs;
        bool finishing = false;
        bool done = false;
    };
    static void run(Queue& queue);

    std::shared_ptr<Queue> m_queue;
};
