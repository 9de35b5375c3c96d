// Start-up time and peak memory of the program against a bare Qt Widgets
// program. Both executables carry the start-up probe (startup_probe.cpp):
// each run is timed from just before the process is spawned to the moment
// its first window has been exposed, and the probe's VmHWM at that moment is
// the peak resident memory. Runs alternate between the two executables so
// that drift in the machine's speed touches them alike.
//
//   bench_startup_compare RUNS PROGRAM BARE [BARE_WITH_TEXT]
// The third, a bare program whose window shows one line of text, is printed
// for reference: it carries the font system's cost that the empty window
// does not.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int timeout_ms = 30000;

long long monotonic_ns()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

struct Run {
    double startup_ms = 0;
    double peak_mib = 0;
};

// Spawns the executable and waits for its probe's line. Exits on failure.
Run run_once(const char *path)
{
    int out[2];
    if (pipe(out) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    if (!std::getenv("BENCH_VERBOSE"))
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    char *argv[] = {const_cast<char *>(path), nullptr};
    pid_t pid = 0;
    const long long spawned = monotonic_ns();
    const int error = posix_spawn(&pid, path, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (error != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", path, std::strerror(error));
        std::exit(1);
    }

    std::string text;
    char buffer[256];
    const long long deadline = spawned + timeout_ms * 1000000LL;
    for (;;) {
        pollfd wait_for{out[0], POLLIN, 0};
        const int left = int(std::max(0LL, (deadline - monotonic_ns()) / 1000000));
        if (poll(&wait_for, 1, left) <= 0) {
            std::fprintf(stderr, "%s showed no window within %d s\n", path, timeout_ms / 1000);
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            std::exit(1);
        }
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, size_t(got));
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);

    long long exposed = 0;
    long peak_kb = 0;
    if (std::sscanf(text.c_str(), "exposed %lld %ld", &exposed, &peak_kb) != 2) {
        std::fprintf(stderr, "%s ended (status %d) without showing its window%s\n", path, status,
                     std::getenv("BENCH_VERBOSE") ? "" : "; run with BENCH_VERBOSE=1 to see its messages");
        std::exit(1);
    }
    return {double(exposed - spawned) / 1e6, double(peak_kb) / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series {
    const char *path;
    std::vector<double> ms, mib;
};

void print_row(const char *what, const char *unit, double program, double bare, double target, const double *text)
{
    const double ratio = program / bare;
    std::printf("%-38s program %6.1f %-3s  bare Qt %6.1f %-3s  ratio %4.2f  (target <= %.2f)  %s\n", what, program, unit,
                bare, unit, ratio, target, ratio <= target ? "ok" : "MISSED");
    if (text)
        std::printf("%-38s   bare Qt with one line of text %6.1f %-3s: program / it %4.2f\n", "", *text, unit,
                    program / *text);
}

} // namespace

int main(int argc, char *argv[])
{
    if ((argc != 4 && argc != 5) || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM BARE [BARE_WITH_TEXT]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<Series> series;
    for (int i = 2; i < argc; ++i)
        series.push_back({argv[i], {}, {}});

    // One unmeasured run of each warms the file cache and font caches.
    for (const Series &s : series)
        run_once(s.path);
    // Round robin, starting one further along each time.
    for (int i = 0; i < runs; ++i) {
        for (size_t k = 0; k < series.size(); ++k) {
            Series &s = series[(size_t(i) + k) % series.size()];
            const Run run = run_once(s.path);
            s.ms.push_back(run.startup_ms);
            s.mib.push_back(run.peak_mib);
        }
    }

    const bool text = series.size() > 2;
    const double text_ms = text ? median(series[2].ms) : 0;
    const double text_mib = text ? median(series[2].mib) : 0;
    print_row("start-up to the first window shown", "ms", median(series[0].ms), median(series[1].ms), 1.25,
              text ? &text_ms : nullptr);
    print_row("peak resident memory after start-up", "MiB", median(series[0].mib), median(series[1].mib), 1.30,
              text ? &text_mib : nullptr);
    std::printf("   (median of %d runs each; start-up range: program %.1f-%.1f ms, bare %.1f-%.1f ms)\n", runs,
                *std::min_element(series[0].ms.begin(), series[0].ms.end()),
                *std::max_element(series[0].ms.begin(), series[0].ms.end()),
                *std::min_element(series[1].ms.begin(), series[1].ms.end()),
                *std::max_element(series[1].ms.begin(), series[1].ms.end()));
    return 0;
}
