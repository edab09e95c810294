// Start-up cost of the game beside the floor of a bare Qt window of the same size, measured
// from outside as a player's X server sees it. Both run as fresh processes on the X server of
// DISPLAY (Xvfb: run under xvfb-run -a), in interleaved rounds, on a temporary home. For each:
//   - wall time from the exec to the first paint, which is the first X Damage report on a
//     window the process created (Qt gives its windows no background, so the server paints
//     nothing of its own there);
//   - CPU time to that paint: the run time of all the process's threads (schedstat) then;
//   - resident memory (VmRSS) once the process has settled after it, that is built what it
//     defers past the first paint: sampled when it has used no CPU for 300 ms, at least 1 s
//     after the paint.
// Medians are printed beside the floor's, with their ratios.
//   bench_startup [ROUNDS] [PROGRAM]
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of every live thread of pid, in milliseconds.
double cpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    std::unique_ptr<DIR, int (*)(DIR *)> dir(opendir(tasks.c_str()), closedir);
    if (!dir)
        return -1;
    double ns = 0;
    while (const dirent *entry = readdir(dir.get())) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
        double run = 0;
        if (schedstat >> run)
            ns += run;
    }
    return ns / 1e6;
}

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

struct Sample {
    double wallMs = -1;
    double cpuMs = -1;
    long rssKb = -1;
};

class Observer {
public:
    Observer()
    {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_))
            return;
        const xcb_query_extension_reply_t *damage =
            xcb_get_extension_data(connection_, &xcb_damage_id);
        if (!damage || !damage->present)
            return;
        free(xcb_damage_query_version_reply(connection_,
                                            xcb_damage_query_version(connection_, 1, 1), nullptr));
        damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
        ready_ = true;
    }
    ~Observer() { xcb_disconnect(connection_); }

    bool ready() const { return ready_; }

    // Starts program and follows it to its first paint and until it has settled.
    Sample run(const std::string &program)
    {
        Sample sample;
        const Clock::time_point start = Clock::now();
        pid_t pid = 0;
        char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
            return sample;
        if (waitForPaint(std::chrono::seconds(30))) {
            sample.wallMs = msSince(start);
            sample.cpuMs = cpuMs(pid);
            const Clock::time_point painted = Clock::now();
            double last = sample.cpuMs;
            Clock::time_point quietSince = painted;
            while (msSince(painted) < 10000) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                const double now = cpuMs(pid);
                if (now - last > 1.0)
                    quietSince = Clock::now();
                last = now;
                if (msSince(painted) >= 1000 && msSince(quietSince) >= 300)
                    break;
            }
            sample.rssKb = residentKb(pid);
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        drain();
        return sample;
    }

private:
    // Watches every window made on the root from now on; true at the first damage to one.
    bool waitForPaint(std::chrono::seconds limit)
    {
        const Clock::time_point start = Clock::now();
        pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
        while (Clock::now() - start < limit) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
                const uint8_t type = event->response_type & 0x7f;
                if (type == XCB_CREATE_NOTIFY) {
                    // Watched from its creation, before the process can draw into it.
                    auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event);
                    xcb_damage_create(connection_, xcb_generate_id(connection_), created->window,
                                      XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                    xcb_flush(connection_);
                } else if (type == damageEvent_) {
                    free(event);
                    return true;
                }
                free(event);
            }
            if (xcb_connection_has_error(connection_))
                return false;
            poll(&fd, 1, 100);
        }
        return false;
    }

    // Forgets the events of the ended process.
    void drain()
    {
        sync();
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection_))
            free(event);
    }
    // A round trip: every event the server sent before it has arrived.
    void sync()
    {
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

    xcb_connection_t *connection_ = nullptr;
    xcb_window_t root_ = 0;
    uint8_t damageEvent_ = 0;
    bool ready_ = false;
};

template<typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void row(const char *what, double floor, double program, const char *unit)
{
    std::printf("%-34s %9.1f %s %9.1f %s %7.2f\n", what, floor, unit, program, unit,
                program / floor);
}
} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string program = argc >= 3 ? argv[2] : VASKELIO_PROGRAM;
    const std::string floor = VASKELIO_BARE_WINDOW;
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "bench_startup: needs an X server; run it as xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    Observer observer;
    if (!observer.ready()) {
        std::fprintf(stderr, "bench_startup: no X server with the DAMAGE extension at %s\n",
                     std::getenv("DISPLAY"));
        return 2;
    }

    // Settings and data go to a temporary home, the same for every run.
    char home[] = "/tmp/bench_startup.XXXXXX";
    if (!mkdtemp(home))
        return 1;
    setenv("HOME", home, 1);
    setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (std::string(home) + "/data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", home, 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    std::vector<Sample> floors, programs;
    observer.run(floor); // warms the file cache for both
    observer.run(program);
    for (int r = 0; r < rounds; ++r) {
        // Which goes first alternates, so that neither always follows the other.
        Sample f, p;
        if (r % 2 == 0) {
            f = observer.run(floor);
            p = observer.run(program);
        } else {
            p = observer.run(program);
            f = observer.run(floor);
        }
        if (f.wallMs < 0 || p.wallMs < 0) {
            std::fprintf(stderr, "bench_startup: a window was never painted\n");
            return 1;
        }
        floors.push_back(f);
        programs.push_back(p);
    }
    std::filesystem::remove_all(home);

    auto of = [](const std::vector<Sample> &samples, auto field) {
        std::vector<double> values;
        for (const Sample &s : samples)
            values.push_back(double(s.*field));
        return median(values);
    };
    std::printf("%s, %d interleaved rounds, medians\n%s\n", std::getenv("DISPLAY"), rounds,
                program.c_str());
    std::printf("%-34s %12s %12s %7s\n", "", "bare window", "Vaskelio", "ratio");
    row("wall time to first paint", of(floors, &Sample::wallMs), of(programs, &Sample::wallMs),
        "ms");
    row("CPU time to first paint", of(floors, &Sample::cpuMs), of(programs, &Sample::cpuMs), "ms");
    row("resident memory, settled", of(floors, &Sample::rssKb) / 1024,
        of(programs, &Sample::rssKb) / 1024, "MiB");
    return 0;
}
