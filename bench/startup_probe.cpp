// Measures start-up from outside the program: starts it, and reports the time from just before the
// start to the moment the X server maps a top-level window of the given size. It watches the server's
// own structure events on the root window, so it adds nothing to the program and polls nothing.
//   bench-startup-probe [--keep] WIDTH HEIGHT TIMEOUT_SECONDS PROGRAM [ARGS...]
// Prints "MILLISECONDS PID WINDOW". Without --keep the program is ended (SIGTERM) afterwards.
#include <X11/Xlib.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Shape {
    int width = 0;
    int height = 0;
    bool mapped = false;
};

void endChild(pid_t child)
{
    kill(child, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return;
        usleep(50000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char* argv[])
{
    int first = 1;
    bool keep = false;
    if (argc > 1 && std::strcmp(argv[1], "--keep") == 0) {
        keep = true;
        ++first;
    }
    if (argc - first < 4) {
        std::fprintf(stderr, "usage: bench-startup-probe [--keep] WIDTH HEIGHT TIMEOUT PROGRAM [ARGS...]\n");
        return 2;
    }
    const int width = std::atoi(argv[first]);
    const int height = std::atoi(argv[first + 1]);
    const int timeoutMs = std::atoi(argv[first + 2]) * 1000;
    char** program = argv + first + 3;

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bench-startup-probe: no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        // Whoever reads the probe's output waits for its end, which a program kept running must not hold.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(program[0], program);
        std::fprintf(stderr, "bench-startup-probe: cannot run %s: %s\n", program[0], std::strerror(errno));
        _exit(127);
    }

    std::map<Window, Shape> windows;
    Window found = 0;
    while (!found) {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        if (elapsed.count() > timeoutMs || waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "bench-startup-probe: no %dx%d window appeared\n", width, height);
            endChild(child);
            return 1;
        }
        if (XPending(display) == 0) {
            pollfd wait = {ConnectionNumber(display), POLLIN, 0};
            poll(&wait, 1, 50);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        Window window = 0;
        switch (event.type) {
        case CreateNotify:
            window = event.xcreatewindow.window;
            windows[window].width = event.xcreatewindow.width;
            windows[window].height = event.xcreatewindow.height;
            break;
        case ConfigureNotify:
            window = event.xconfigure.window;
            windows[window].width = event.xconfigure.width;
            windows[window].height = event.xconfigure.height;
            break;
        case MapNotify:
            window = event.xmap.window;
            windows[window].mapped = true;
            break;
        case UnmapNotify:
            window = event.xunmap.window;
            windows[window].mapped = false;
            break;
        default:
            continue;
        }
        const Shape& shape = windows[window];
        if (shape.mapped && shape.width == width && shape.height == height)
            found = window;
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.1f %d 0x%lx\n", ms, static_cast<int>(child), found);
    std::fflush(stdout);
    XCloseDisplay(display);
    if (!keep)
        endChild(child);
    return 0;
}
