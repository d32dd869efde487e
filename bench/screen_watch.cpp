// How long a program takes until the screen shows what it will show, seen from outside as a
// user sees it: starts the program on the X display of $DISPLAY (a real X server, such as
// Xvfb), reads the whole screen over and over, and prints the time from the start to the last
// change of the screen, once it has not changed for a while. The program is then ended.
//   screen_watch <quiet ms> <program> [arguments...]     prints "<ms>"
// The screen must not change by itself (no clock, no blinking cursor) for the figure to mean
// anything; a window drawn in steps counts until its last step.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The screen's pixels, read through shared memory: a plain XGetImage of the whole screen takes
// about 27 ms on Xvfb, long enough to blur the figure and to hold up the program's own drawing;
// this takes well under one.
class ScreenReader {
  public:
    ScreenReader(Display* display, int width, int height) : display_(display) {
        const int screen = DefaultScreen(display);
        if (XShmQueryExtension(display) == False) {
            return;
        }
        image_ =
            XShmCreateImage(display, DefaultVisual(display, screen),
                            static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap, nullptr,
                            &segment_, static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (image_ == nullptr) {
            return;
        }
        segment_.shmid = shmget(IPC_PRIVATE,
                                static_cast<std::size_t>(image_->bytes_per_line) *
                                    static_cast<std::size_t>(image_->height),
                                IPC_CREAT | 0600);
        void* memory = segment_.shmid < 0 ? nullptr : shmat(segment_.shmid, nullptr, 0);
        if (memory == nullptr || memory == reinterpret_cast<void*>(-1)) {
            XDestroyImage(image_);
            image_ = nullptr;
            return;
        }
        segment_.shmaddr = image_->data = static_cast<char*>(memory);
        segment_.readOnly = False;
        XShmAttach(display, &segment_);
        XSync(display, False);
        // Gone once both sides have let go of it, even if this program is killed.
        shmctl(segment_.shmid, IPC_RMID, nullptr);
    }
    ~ScreenReader() {
        if (image_ != nullptr) {
            XShmDetach(display_, &segment_);
            XDestroyImage(image_);
            shmdt(segment_.shmaddr);
        }
    }
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    bool Ready() const { return image_ != nullptr; }

    // A fingerprint of the screen's pixels (FNV-1a, eight bytes at a time).
    std::uint64_t Fingerprint(Window root) {
        if (XShmGetImage(display_, root, image_, 0, 0, AllPlanes) == False) {
            return 0;
        }
        std::uint64_t hash = 14695981039346656037ULL;
        const std::size_t bytes = static_cast<std::size_t>(image_->bytes_per_line) *
                                  static_cast<std::size_t>(image_->height);
        for (std::size_t at = 0; at + 8 <= bytes; at += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, image_->data + at, 8);
            hash = (hash ^ word) * 1099511628211ULL;
        }
        return hash;
    }

  private:
    Display* display_;
    XShmSegmentInfo segment_{};
    XImage* image_ = nullptr;
};

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Starts `program` and watches the screen; the milliseconds to its last change, or a negative
// number when the program ended, could not start, or the screen did not settle.
double Watch(Display* display, ScreenReader& reader, double quietMs, char** program) {
    const Window root = DefaultRootWindow(display);
    const Clock::time_point start = Clock::now();
    std::uint64_t last = reader.Fingerprint(root);
    pid_t child = 0;
    if (posix_spawn(&child, program[0], nullptr, nullptr, program, environ) != 0) {
        std::fprintf(stderr, "screen_watch: cannot start %s\n", program[0]);
        return -1;
    }
    double lastChange = -1;
    bool settled = false;
    // Twenty seconds at most: a start that takes longer is a failure, not a figure.
    while (!settled && MsSince(start) < 20000) {
        const std::uint64_t now = reader.Fingerprint(root);
        const double at = MsSince(start);
        if (now != last) {
            last = now;
            lastChange = at;
        }
        settled = lastChange >= 0 && at - lastChange > quietMs;
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "screen_watch: the program ended by itself\n");
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    if (!settled) {
        std::fprintf(stderr, "screen_watch: the screen did not settle\n");
        return -1;
    }
    return lastChange;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: screen_watch <quiet ms> <program> [arguments...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "screen_watch: no X display (is DISPLAY set?)\n");
        return 1;
    }
    double ms = -1;
    {
        const int screen = DefaultScreen(display);
        ScreenReader reader(display, DisplayWidth(display, screen), DisplayHeight(display, screen));
        if (reader.Ready()) {
            ms = Watch(display, reader, std::atof(argv[1]), argv + 2);
        } else {
            std::fprintf(stderr, "screen_watch: the X server cannot share the screen's memory\n");
        }
    }
    XCloseDisplay(display);
    if (ms < 0) {
        return 1;
    }
    std::printf("%.1f\n", ms);
    return 0;
}
