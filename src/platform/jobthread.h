#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// One background thread that runs the jobs posted to it one at a time, in the order they were
// posted. It starts with the first job. A job runs, and is destroyed, on that thread.
class JobThread {
public:
    JobThread() = default;
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;
    // Runs what is still queued, then ends the thread.
    ~JobThread() { finish(); }

    void post(std::function<void()> job);
    // Runs what is still queued and ends the thread; a later post starts it again.
    void finish();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_finishing = false;
    std::thread m_thread;
};
