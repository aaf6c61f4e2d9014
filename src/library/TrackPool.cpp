// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/TrackPool.h"

#include <new>
#include <system_error>

namespace tunefold {

namespace {

// Far enough ahead to keep every reader busy, little enough to hold.
constexpr std::size_t Slots = 64;

} // namespace

TrackPool::TrackPool(int atFd, std::vector<std::unique_ptr<TrackReader>> readers)
    : m_atFd(atFd), m_entries(Slots), m_done(Slots, 0), m_readers(std::move(readers))
{
    // Short of memory or threads (ulimit -v, ulimit -u) fewer readers go
    // on, or none, and oldest() reads for itself.
    try {
        for (const std::unique_ptr<TrackReader> &reader : m_readers)
            m_threads.emplace_back([this, &reader] { run(*reader); });
    } catch (const std::system_error &) {
    }
}

TrackPool::~TrackPool()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_work.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

void TrackPool::push(std::string_view path, std::uint64_t size)
{
    {
        // The slot is free: only pop() hands it back, after its reader ended.
        const std::lock_guard lock(m_mutex);
        const std::size_t slot = m_pushed % Slots;
        m_entries[slot].path.assign(path);
        m_entries[slot].size = size;
        m_done[slot] = 0;
        ++m_pushed;
    }
    m_work.notify_one();
}

const TrackPool::Entry &TrackPool::oldest()
{
    const std::size_t slot = m_popped % Slots;
    if (m_threads.empty() && !m_readers.empty() && !m_done[slot]) {
        ++m_claimed;
        m_readers.front()->read(m_atFd, m_entries[slot].path.c_str(), m_entries[slot].track);
        m_done[slot] = 1;
    }
    std::unique_lock lock(m_mutex);
    m_read.wait(lock, [&] { return m_done[slot] != 0; });
    return m_entries[slot];
}

void TrackPool::pop()
{
    const std::lock_guard lock(m_mutex);
    ++m_popped;
}

void TrackPool::run(TrackReader &reader)
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_work.wait(lock, [this] { return m_stop || m_claimed < m_pushed; });
        if (m_stop)
            return;
        Entry &entry = m_entries[m_claimed++ % Slots];
        // Nobody else touches a claimed entry until it is marked done.
        lock.unlock();
        try {
            reader.read(m_atFd, entry.path.c_str(), entry.track);
        } catch (const std::bad_alloc &) {
            // Short of memory (ulimit -v): listed like a file that makes no
            // sense, instead of ending the program from a thread.
            entry.track.clear();
        }
        lock.lock();
        m_done[&entry - m_entries.data()] = 1;
        m_read.notify_all();
    }
}

} // namespace tunefold
