#include "jobthread.h"

#include <thread>

void JobThread::post(std::function<void()> job)
{
    const bool starts = !m_queue;
    if (starts)
        m_queue = std::make_shared<Queue>();
    {
        const std::lock_guard lock(m_queue->mutex);
        m_queue->jobs.push_back(std::move(job));
    }
    if (starts)
        std::thread([queue = m_queue] { run(*queue); }).detach();
    m_queue->wake.notify_one();
}

bool JobThread::finish(std::chrono::milliseconds patience)
{
    if (!m_queue)
        return true;
    const std::shared_ptr<Queue> queue = std::move(m_queue);
    std::unique_lock lock(queue->mutex);
    queue->finishing = true;
    queue->wake.notify_one();
    const auto ended = [&] { return queue->done; };
    if (patience == kForever) {
        queue->ended.wait(lock, ended);
        return true;
    }
    return queue->ended.wait_for(lock, patience, ended);
}

void JobThread::run(Queue& queue)
{
    std::unique_lock lock(queue.mutex);
    for (;;) {
        queue.wake.wait(lock, [&] { return queue.finishing || !queue.jobs.empty(); });
        if (queue.jobs.empty())
            break;
        std::function<void()> job = std::move(queue.jobs.front());
        queue.jobs.pop_front();
        lock.unlock();
        job();
        job = nullptr; // what the job holds goes here, on this thread
        lock.lock();
    }
    queue.done = true;
    queue.ended.notify_all();
}
