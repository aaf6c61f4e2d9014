// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TempFileCleanup.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace tunefold {

namespace {

constexpr int Free = -1;
constexpr int Filling = -2;

struct Slot
{
    std::atomic<int> folder{Free}; // read by the handler, so lock-free
    char name[64] = {};
};
std::array<Slot, 8> slots;
static_assert(std::atomic<int>::is_always_lock_free);

constexpr std::array<int, 3> Endings = {SIGTERM, SIGINT, SIGHUP};

// Only async-signal-safe calls: unlinkat, sigaction, raise.
void removeAndEnd(int signal)
{
    for (Slot &slot : slots) {
        const int folder = slot.folder.load();
        if (folder >= 0)
            (void)unlinkat(folder, slot.name, 0);
    }
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    (void)sigaction(signal, &fallback, nullptr);
    // Delivered once the handler returns, with the signal's own ending, so
    // the parent sees the status it expects.
    (void)raise(signal);
}

void installHandlers()
{
    for (const int signal : Endings) {
        struct sigaction old = {};
        if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL ||
            (old.sa_flags & SA_SIGINFO))
            continue;
        struct sigaction handler = {};
        handler.sa_handler = removeAndEnd;
        sigemptyset(&handler.sa_mask);
        for (const int other : Endings)
            sigaddset(&handler.sa_mask, other);
        (void)sigaction(signal, &handler, nullptr);
    }
}

} // namespace

int TempFileCleanup::remember(int folderFd, const char *name)
{
    static std::once_flag installed;
    std::call_once(installed, installHandlers);
    if (folderFd < 0 || std::strlen(name) >= sizeof(Slot::name))
        return -1;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        int expected = Free;
        if (!slots[i].folder.compare_exchange_strong(expected, Filling))
            continue;
        std::strcpy(slots[i].name, name);
        slots[i].folder.store(folderFd);
        return int(i);
    }
    return -1;
}

void TempFileCleanup::forget(int slot)
{
    if (slot >= 0 && std::size_t(slot) < slots.size())
        slots[std::size_t(slot)].folder.store(Free);
}

} // namespace tunefold
