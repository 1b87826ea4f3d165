// Starts each program many times offscreen (each quits once its window is
// shown) and reports the median wall time and peak memory, side by side with
// the bare Qt window. Usage: bench_startup [runs] (from the bin folder).
#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double ms;
    long peakKb;
};

Run runOnce(const std::string& path)
{
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return {-1, -1};
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
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
    const char* programs[] = {"minimal_window", "minimal_text_window", "Numira", "Bairo"};
    double baseMs = 0;
    long baseKb = 0;
    std::printf("%-16s %10s %12s %8s %8s\n", "program", "median ms", "peak KiB", "time x", "mem x");
    for (const char* name : programs) {
        const std::string path = bin.absoluteFilePath(name).toStdString();
        if (!QFileInfo::exists(QString::fromStdString(path))) continue;
        runOnce(path); // warm the file cache
        std::vector<double> ms;
        std::vector<long> kb;
        for (int r = 0; r < runs; ++r) {
            const Run run = runOnce(path);
            ms.push_back(run.ms);
            kb.push_back(run.peakKb);
        }
        const double m = median(ms);
        const long k = median(kb);
        if (baseMs == 0) {
            baseMs = m;
            baseKb = k;
        }
        std::printf("%-16s %10.1f %12ld %8.2f %8.2f\n", name, m, k, m / baseMs, double(k) / baseKb);
    }
    return 0;
}
