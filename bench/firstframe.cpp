// firstframe: how long a program takes from its start to its first painted frame on the screen.
//
//   firstframe [--at X,Y] [--timeout-ms N] PROGRAM [ARGS...]
//
// Reads the screen's pixel at X,Y (default 510,405, the middle of a window at 110,105 of 800 by
// 600), starts PROGRAM, and polls that one pixel until it differs from what was there before;
// then prints the milliseconds since the start as "FIRST_FRAME_MS <ms> <r>,<g>,<b>", ends the
// program, and waits for the pixel to show the old colour again, so that the next run starts on
// the same screen. Exit status: 0 measured, 1 timed out or the program died first, 2 usage.
//
// Reading a 1 by 1 image is one short round trip to the X server, cheap enough to poll every
// quarter of a millisecond without taking the program's time.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

unsigned long PixelAt(Display* display, int x, int y)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return ~0UL;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel;
}

std::string Rgb(Display* display, unsigned long pixel)
{
    XColor colour{};
    colour.pixel = pixel;
    XQueryColor(display, DefaultColormap(display, DefaultScreen(display)), &colour);
    return std::to_string(colour.red >> 8) + "," + std::to_string(colour.green >> 8) + "," +
           std::to_string(colour.blue >> 8);
}

// Ends the child and reaps it: a polite request first, so that it leaves the display cleanly.
void Stop(pid_t child)
{
    kill(child, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < deadline) {
        if (waitpid(child, nullptr, WNOHANG) == child) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

int Usage()
{
    std::fprintf(stderr, "usage: firstframe [--at X,Y] [--timeout-ms N] PROGRAM [ARGS...]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int x = 510, y = 405;
    long timeoutMs = 20000;
    int first = 1;
    while (first < argc && std::strncmp(argv[first], "--", 2) == 0) {
        const std::string option = argv[first];
        if (first + 1 >= argc) return Usage();
        const char* value = argv[first + 1];
        if (option == "--at") {
            if (std::sscanf(value, "%d,%d", &x, &y) != 2) return Usage();
        } else if (option == "--timeout-ms") {
            timeoutMs = std::strtol(value, nullptr, 10);
            if (timeoutMs <= 0) return Usage();
        } else {
            return Usage();
        }
        first += 2;
    }
    if (first >= argc) return Usage();

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "firstframe: cannot open the display %s\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "(DISPLAY not set)");
        return 1;
    }
    const unsigned long before = PixelAt(display, x, y);

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("firstframe: fork");
        return 1;
    }
    if (child == 0) {
        // The program must not share our connection to the X server.
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        std::fprintf(stderr, "firstframe: cannot run %s: %s\n", argv[first], std::strerror(errno));
        _exit(127);
    }

    const auto deadline = start + std::chrono::milliseconds(timeoutMs);
    unsigned long now = before;
    while ((now = PixelAt(display, x, y)) == before) {
        if (Clock::now() > deadline) {
            std::fprintf(stderr, "firstframe: nothing painted at %d,%d within %ld ms\n", x, y,
                         timeoutMs);
            Stop(child);
            return 1;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "firstframe: %s ended (status %d) before painting\n", argv[first],
                         status);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("FIRST_FRAME_MS %.1f %s\n", ms, Rgb(display, now).c_str());
    std::fflush(stdout);

    Stop(child);
    const auto cleared = Clock::now() + std::chrono::seconds(5);
    while (PixelAt(display, x, y) != before) {
        if (Clock::now() > cleared) {
            std::fprintf(stderr, "firstframe: the window did not go away\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    XCloseDisplay(display);
    return 0;
}
