// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/TrackPool.h"

#include <algorithm>
#include <new>
#include <system_error>

namespace tunefold {

namespace {

// Far enough ahead to keep every reader busy, little enough to hold.
constexpr std::size_t Slots = 64;
// Entries handed to a reader at once.
constexpr std::uint64_t Run = 16;

} // namespace

TrackPool::TrackPool(int atFd, std::vector<std::unique_ptr<TrackReader>> readers)
    : m_atFd(atFd), m_entries(Slots), m_done(Slots), m_readers(std::move(readers))
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
    // The slot is free: pop() hands it back only once its reader is done,
    // and no reader sees it before publish().
    const std::size_t slot = m_staged % Slots;
    m_entries[slot].path.assign(path);
    m_entries[slot].size = size;
    m_done[slot].store(0, std::memory_order_relaxed);
    // Only the writer changes m_pushed, so it reads it without the lock.
    if (++m_staged - m_pushed < Run || m_threads.empty())
        return;
    {
        const std::lock_guard lock(m_mutex);
        publish();
    }
    m_work.notify_one();
}

void TrackPool::publish()
{
    m_pushed = m_staged;
}

const TrackPool::Entry &TrackPool::oldest()
{
    const std::size_t slot = m_popped % Slots;
    if (m_done[slot].load(std::memory_order_acquire))
        return m_entries[slot];
    if (m_threads.empty()) {
        if (!m_readers.empty())
            m_readers.front()->read(m_atFd, m_entries[slot].path.c_str(), m_entries[slot].track);
        m_done[slot].store(1, std::memory_order_relaxed);
        return m_entries[slot];
    }
    std::unique_lock lock(m_mutex);
    // What is short of a whole run goes to the readers now: the writer has
    // nothing else to do.
    publish();
    m_waiting = true;
    m_work.notify_one();
    m_read.wait(lock, [&] { return m_done[slot].load(std::memory_order_relaxed) != 0; });
    m_waiting = false;
    return m_entries[slot];
}

void TrackPool::pop()
{
    ++m_popped;
}

void TrackPool::run(TrackReader &reader)
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_work.wait(lock, [this] {
            return m_stop || m_pushed - m_claimed >= Run || (m_waiting && m_claimed < m_pushed);
        });
        if (m_stop)
            return;
        const std::uint64_t first = m_claimed;
        const std::uint64_t end = first + std::min(Run, m_pushed - first);
        m_claimed = end;
        // Nobody else touches claimed entries until they are marked done.
        lock.unlock();
        for (std::uint64_t n = first; n < end; ++n) {
            Entry &entry = m_entries[n % Slots];
            try {
                reader.read(m_atFd, entry.path.c_str(), entry.track);
            } catch (const std::bad_alloc &) {
                // Short of memory (ulimit -v): listed like a file that makes
                // no sense, instead of ending the program from a thread.
                entry.track.clear();
            }
        }
        lock.lock();
        for (std::uint64_t n = first; n < end; ++n)
            m_done[n % Slots].store(1, std::memory_order_release);
        if (m_waiting)
            m_read.notify_one();
    }
}

} // namespace tunefold
