// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Parts.h"

#include <cstdio>
#include <stdexcept>
#include <unistd.h>

#ifdef TUNEFOLD_BENCH_HAVE_XCB
#include <cstdlib>
#include <optional>
#include <poll.h>
#include <xcb/xcb.h>
#endif

namespace tunefold::bench {

#ifdef TUNEFOLD_BENCH_HAVE_XCB

namespace {

constexpr double Patience = 20; // seconds for a server or a window to appear

// An X client that watches the root window, so it sees the moment any
// top-level window is mapped: without a window manager that is the moment
// the program asks for it.
class MapWatcher
{
public:
    explicit MapWatcher(const std::string &display)
    {
        const double start = monotonicSeconds();
        while (true) {
            m_connection = xcb_connect(display.c_str(), nullptr);
            if (!xcb_connection_has_error(m_connection))
                break;
            xcb_disconnect(m_connection);
            if (monotonicSeconds() - start > Patience)
                throw std::runtime_error("Xvfb did not start on " + display);
            usleep(10'000);
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~MapWatcher() { xcb_disconnect(m_connection); }
    MapWatcher(const MapWatcher &) = delete;
    MapWatcher &operator=(const MapWatcher &) = delete;

    // Waits until a top-level window is mapped and returns it; returns nothing
    // on a timeout.
    std::optional<xcb_window_t> waitForMap(const ChildProcess &child)
    {
        while (child.elapsed() < Patience) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                const bool mapped =
                    (event->response_type & 0x7f) == XCB_MAP_NOTIFY && !map->override_redirect;
                const xcb_window_t window = map->window;
                std::free(event);
                if (mapped)
                    return window;
            }
            pollfd connection{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&connection, 1, 100);
        }
        return std::nullopt;
    }

    // Throws away what the last program's windows left behind.
    void drain()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

    // The window's WM_NAME, so the table shows which window was timed (the
    // main window, not a message box about a missing file).
    std::string title(xcb_window_t window)
    {
        const xcb_get_property_cookie_t cookie = xcb_get_property(
            m_connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
        xcb_get_property_reply_t *reply = xcb_get_property_reply(m_connection, cookie, nullptr);
        if (!reply)
            return {};
        const std::string name(static_cast<const char *>(xcb_get_property_value(reply)),
                               std::size_t(xcb_get_property_value_length(reply)));
        std::free(reply);
        return name;
    }

private:
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
};

std::string freeDisplay()
{
    for (int number = 90; number < 200; ++number) {
        const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        if (access(lock.c_str(), F_OK) != 0 && access(socket.c_str(), F_OK) != 0)
            return ":" + std::to_string(number);
    }
    throw std::runtime_error("no free X display number");
}

} // namespace

bool reportStartup(const Settings &settings)
{
    std::printf("### Start-up until the window is mapped (Xvfb, median of %d alternating "
                "runs)\n\n",
                settings.runs);
    const std::string tunefold = settings.binDir + "/tunefold";
    if (access(tunefold.c_str(), X_OK) != 0) {
        std::printf("Not measured: %s is not built.\n\n", tunefold.c_str());
        return false;
    }
    const std::string display = freeDisplay();
    Command server{{"Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}};
    server.stderrPath = settings.cache + "/out/xvfb.log";
    ChildProcess xvfb(server);
    MapWatcher watcher(display);

    const std::vector<std::pair<std::string, std::string>> programs = {
        {"tunefold", tunefold}, {"bare Qt window", settings.binDir + "/tunefold-bench-window"}};
    std::vector<std::vector<double>> seconds(programs.size());
    std::vector<std::string> titles(programs.size());
    // The first round, untimed, fills the caches (fonts, plug-ins, libraries).
    for (int run = -1; run < settings.runs; ++run) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            Command command{{programs[i].second}};
            command.environment = {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb"};
            command.stderrPath = settings.cache + "/out/startup.log";
            watcher.drain();
            ChildProcess child(command);
            const std::optional<xcb_window_t> window = watcher.waitForMap(child);
            const double mapped = child.elapsed();
            if (!window)
                throw std::runtime_error(programs[i].first + " showed no window, see " +
                                         command.stderrPath);
            titles[i] = watcher.title(*window);
            (void)child.terminate();
            if (run >= 0)
                seconds[i].push_back(mapped);
        }
    }

    const double ours = median(seconds[0]);
    const double bare = median(seconds[1]);
    const bool met = ours <= 0.25;
    std::printf("| program | window mapped | until mapped |\n|:--|:--|--:|\n");
    std::printf("| tunefold (goal <= 0.25 s) | %s | %s s %s |\n", titles[0].c_str(),
                fixed(ours, 3).c_str(), verdict(met).c_str());
    std::printf("| bare Qt window (baseline) | %s | %s s |\n\n", titles[1].c_str(),
                fixed(bare, 3).c_str());
    std::fflush(stdout);
    return met;
}

#else

bool reportStartup(const Settings &)
{
    std::printf("### Start-up\n\nNot measured: tunefold-bench was built without libxcb "
                "(bench/setup installs libxcb1-dev).\n\n");
    return false;
}

#endif

} // namespace tunefold::bench
