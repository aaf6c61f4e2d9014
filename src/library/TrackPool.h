// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/TrackReader.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tunefold {

// Reads the tags of the next few entries in several threads while the list
// writes them, oldest first, so the order stays the search's. With a cold
// cache a file's tags wait for the disk; several readers let it serve
// several files at once. Holds a fixed number of entries, whatever their
// count: push() only when !full(). With a warm cache a file's tags take
// tens of microseconds, as long as a wake-up, so entries are handed to the
// readers sixteen at a time and the writer locks and waits only when the
// oldest is not read yet.
class TrackPool
{
public:
    struct Entry
    {
        std::string path; // relative to the folder the pool reads from
        std::uint64_t size = 0;
        TrackInfo track;
    };

    // Paths are opened below the folder open as atFd, which must stay open;
    // one thread runs for each reader.
    TrackPool(int atFd, std::vector<std::unique_ptr<TrackReader>> readers);
    ~TrackPool();
    TrackPool(const TrackPool &) = delete;
    TrackPool &operator=(const TrackPool &) = delete;

    [[nodiscard]] bool full() const { return m_staged - m_popped == m_entries.size(); }
    [[nodiscard]] bool empty() const { return m_staged == m_popped; }
    void push(std::string_view path, std::uint64_t size);
    // The oldest entry pushed, once its tags are read; valid until pop().
    [[nodiscard]] const Entry &oldest();
    void pop();

private:
    void run(TrackReader &reader);
    void publish(); // with m_mutex held

    int m_atFd;
    std::vector<Entry> m_entries; // a ring, by sequence number
    std::vector<std::atomic<char>> m_done;
    std::vector<std::unique_ptr<TrackReader>> m_readers;
    // The writer's own: entries filled in, and written out.
    std::uint64_t m_staged = 0, m_popped = 0;
    std::mutex m_mutex;
    std::condition_variable m_work, m_read;
    // Shared under m_mutex: entries the readers may take, and have taken.
    std::uint64_t m_pushed = 0, m_claimed = 0;
    bool m_waiting = false; // the writer waits in oldest()
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};

} // namespace tunefold
