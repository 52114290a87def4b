// Start-up time and idle memory of a program with windows: starts COMMAND and waits, on X
// events and not by polling, until a window of each given title is mapped.
//
//   mapwatch --key KEY [--timeout S] [--settle S] --title TITLE [--title TITLE]... -- COMMAND...
//
// Prints "RESULT<TAB>KEY.mapped<TAB>ms" (process start to the last of the windows mapped),
// then, after --settle seconds of idling (default 2), the process's resident memory from
// /proc: KEY.rss and KEY.rss_anon (bytes), and ends the process (TERM, then KILL).
// Exit status 1 when a window did not appear within --timeout seconds (default 30).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }  // windows vanish while we look at them

constexpr long kWatchMask = SubstructureNotifyMask | StructureNotifyMask | PropertyChangeMask;

// Watches a window and, for the windows that exist already, everything below it.
void WatchTree(Display* d, Window w) {
    XSelectInput(d, w, kWatchMask);
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n; ++i) WatchTree(d, children[i]);
        if (children) XFree(children);
    }
}

// The window's title: _NET_WM_NAME (UTF-8) when set, else WM_NAME.
std::string Title(Display* d, Window w) {
    static const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success &&
        data && count) {
        title.assign(reinterpret_cast<char*>(data), count);
    }
    if (data) XFree(data);
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(d, w, &name) && name) title = name;
        if (name) XFree(name);
    }
    return title;
}

long StatusField(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const size_t len = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, len, field) == 0 && line.size() > len && line[len] == ':')
            return std::atol(line.c_str() + len + 1) * 1024;  // "VmRSS:   12345 kB"
    return -1;
}

void End(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    std::string key = "start";
    double timeout = 30, settle = 2;
    std::vector<std::string> titles;
    int arg = 1;
    for (; arg < argc && std::strcmp(argv[arg], "--") != 0; ++arg) {
        if (!std::strcmp(argv[arg], "--key") && arg + 1 < argc)
            key = argv[++arg];
        else if (!std::strcmp(argv[arg], "--timeout") && arg + 1 < argc)
            timeout = std::atof(argv[++arg]);
        else if (!std::strcmp(argv[arg], "--settle") && arg + 1 < argc)
            settle = std::atof(argv[++arg]);
        else if (!std::strcmp(argv[arg], "--title") && arg + 1 < argc)
            titles.push_back(argv[++arg]);
        else {
            std::fprintf(stderr, "usage: mapwatch --key KEY [--timeout S] [--settle S] --title T... -- COMMAND...\n");
            return 2;
        }
    }
    if (arg + 1 >= argc || titles.empty()) return 2;
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "mapwatch: no display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);
    WatchTree(d, DefaultRootWindow(d));
    XSync(d, False);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto t0 = Clock::now();
    pid_t pid;
    if (posix_spawnp(&pid, argv[arg + 1], &actions, nullptr, argv + arg + 1, environ) != 0) {
        std::perror(argv[arg + 1]);
        return 1;
    }

    std::map<std::string, double> seen;  // title -> ms at its map
    std::set<Window> mapped;             // mapped windows whose title did not match (yet)
    auto check = [&](Window w, double at) {
        const std::string title = Title(d, w);
        for (const std::string& t : titles)
            if (title == t && !seen.count(t)) seen[t] = at;
    };
    while (seen.size() < titles.size()) {
        const double left = timeout * 1000 - MsSince(t0);
        if (left <= 0) break;
        if (!XPending(d)) {
            pollfd p{ConnectionNumber(d), POLLIN, 0};
            poll(&p, 1, int(left) + 1);
            continue;
        }
        XEvent e;
        XNextEvent(d, &e);
        const double at = MsSince(t0);
        if (e.type == CreateNotify) {
            XSelectInput(d, e.xcreatewindow.window, kWatchMask);
            check(e.xcreatewindow.window, at);  // a title set before we watched it
        } else if (e.type == MapNotify) {
            mapped.insert(e.xmap.window);
            check(e.xmap.window, at);
        } else if (e.type == UnmapNotify) {
            mapped.erase(e.xunmap.window);
        } else if (e.type == PropertyNotify && mapped.count(e.xproperty.window)) {
            check(e.xproperty.window, at);  // a mapped window that gets its title only now
        }
        // A title that matched before its window was mapped does not count yet.
        for (auto it = seen.begin(); it != seen.end();) {
            bool isMapped = false;
            for (Window w : mapped) isMapped = isMapped || Title(d, w) == it->first;
            it = isMapped ? std::next(it) : seen.erase(it);
        }
    }
    if (seen.size() < titles.size()) {
        for (const std::string& t : titles)
            if (!seen.count(t)) std::fprintf(stderr, "mapwatch: no window \"%s\" within %.0f s\n", t.c_str(), timeout);
        End(pid);
        return 1;
    }
    double last = 0;
    for (auto& [title, ms] : seen) last = std::max(last, ms);
    std::printf("RESULT\t%s.mapped\t%.4f\n", key.c_str(), last);
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::duration<double>(settle));
    std::printf("RESULT\t%s.rss\t%ld\nRESULT\t%s.rss_anon\t%ld\n", key.c_str(), StatusField(pid, "VmRSS"), key.c_str(),
                StatusField(pid, "RssAnon"));
    std::fflush(stdout);
    End(pid);
    XCloseDisplay(d);
    return 0;
}
