// SPDX-License-Identifier: GPL-3.0-or-later
// Starts each program many times offscreen and reports, side by side with the
// bare Qt window, the median time from spawning the process to its window's
// first paint (each program prints that moment and quits; see
// common/startup_probe.h), the fastest such start (the one least disturbed by
// other work on the machine), the median time to the process's exit, and the
// median peak memory. The programs take turns run by run, so that a change in
// the machine's load falls on all of them alike.
// Usage: bench_startup [runs] [label=path ...]: each label=path adds another
// build's program to the turns, e.g. before=../../old/build/bin/Numira, so
// that a change is measured side by side with the build before it.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double shownMs = -1; // spawn to first paint
    double exitMs = -1;  // spawn to exit
    long peakKb = -1;
};

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

Run runOnce(const std::string& path)
{
    int out[2];
    if (pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    const long long start = monotonicNs();
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return {};
    }
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run run;
    run.exitMs = (monotonicNs() - start) / 1e6;
    run.peakKb = usage.ru_maxrss;
    if (const auto at = text.find("shown "); at != std::string::npos)
        run.shownMs = (std::stoll(text.substr(at + 6)) - start) / 1e6;
    return run;
}

template <typename T> T median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("APP_QUIT_AFTER_SHOW", "1", 1);
    const QDir bin(QCoreApplication::applicationDirPath() + "/../bin");
    QDir::setCurrent(bin.absolutePath());

    // Ratios are against the first baseline; the second shows what loading
    // the fonts for any Japanese text costs on its own.
    std::vector<std::string> names, paths;
    for (const char* name : {"minimal_window", "minimal_text_window", "numira", "bairo"}) {
        const QString path = bin.absoluteFilePath(name);
        if (!QFileInfo::exists(path)) continue;
        names.emplace_back(name);
        paths.push_back(path.toStdString());
    }
    for (int a = 2; a < argc; ++a) {
        const QString arg = QString::fromLocal8Bit(argv[a]);
        const qsizetype eq = arg.indexOf(u'=');
        const QFileInfo program(arg.mid(eq + 1));
        if (eq <= 0 || !program.isExecutable()) {
            std::fprintf(stderr, "bench_startup: %s is not label=program\n", argv[a]);
            return 2;
        }
        names.push_back((arg.left(eq) + u' ' + program.fileName()).toStdString());
        paths.push_back(program.absoluteFilePath().toStdString());
    }
    std::vector<std::vector<Run>> results(paths.size());
    for (const auto& path : paths) runOnce(path); // warm the file cache
    for (int r = 0; r < runs; ++r)
        for (size_t p = 0; p < paths.size(); ++p) results[p].push_back(runOnce(paths[p]));
    // A program that never painted its window is a failure, not a figure.
    for (size_t p = 0; p < paths.size(); ++p)
        for (const Run& run : results[p])
            if (run.shownMs < 0) {
                std::fprintf(stderr, "bench_startup: %s showed no window\n", names[p].c_str());
                return 1;
            }

    std::printf("%-20s %9s %9s %9s %10s %8s %8s %8s\n", "program", "shown ms", "best ms", "exit ms",
                "peak KiB", "shown x", "exit x", "mem x");
    double baseShown = 0, baseExit = 0;
    long baseKb = 0;
    for (size_t p = 0; p < paths.size(); ++p) {
        std::vector<double> shown, exited;
        std::vector<long> kb;
        for (const Run& run : results[p]) {
            shown.push_back(run.shownMs);
            exited.push_back(run.exitMs);
            kb.push_back(run.peakKb);
        }
        const double s = median(shown), e = median(exited);
        const long k = median(kb);
        if (p == 0) {
            baseShown = s;
            baseExit = e;
            baseKb = k;
        }
        std::printf("%-20s %9.1f %9.1f %9.1f %10ld %8.2f %8.2f %8.2f\n", names[p].c_str(), s,
                    *std::min_element(shown.begin(), shown.end()), e, k, s / baseShown,
                    e / baseExit, double(k) / baseKb);
    }
    return 0;
}
