// Wall time of a whole process, start to exit, the way a user's shell would run it.
//
//   proctime --name NAME --runs N [--warmup K] -- COMMAND [ARGS...]
//
// Runs COMMAND K times unmeasured (default 2), then N times, its output to /dev/null, and
// prints "RESULT<TAB>NAME.median|p10|p90<TAB>ms". Fails when any run exits non-zero.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

int main(int argc, char** argv) {
    std::string name = "process";
    int runs = 20, warmup = 2, arg = 1;
    for (; arg < argc && std::strcmp(argv[arg], "--") != 0; ++arg) {
        if (!std::strcmp(argv[arg], "--name") && arg + 1 < argc)
            name = argv[++arg];
        else if (!std::strcmp(argv[arg], "--runs") && arg + 1 < argc)
            runs = std::atoi(argv[++arg]);
        else if (!std::strcmp(argv[arg], "--warmup") && arg + 1 < argc)
            warmup = std::atoi(argv[++arg]);
        else {
            std::fprintf(stderr, "usage: proctime --name NAME --runs N [--warmup K] -- COMMAND [ARGS...]\n");
            return 2;
        }
    }
    if (arg + 1 >= argc) return 2;
    char** command = argv + arg + 1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<double> times;
    for (int run = -warmup; run < runs; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        pid_t pid;
        if (posix_spawnp(&pid, command[0], &actions, nullptr, command, environ) != 0) {
            std::perror(command[0]);
            return 1;
        }
        int status = 0;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "proctime: %s failed (status %d)\n", command[0], status);
            return 1;
        }
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (run >= 0) times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    auto at = [&](double p) { return times[std::min(times.size() - 1, size_t(p * double(times.size() - 1) + 0.5))]; };
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("RESULT\t%s.median\t%.4f\nRESULT\t%s.p10\t%.4f\nRESULT\t%s.p90\t%.4f\n", name.c_str(), median,
                name.c_str(), at(0.1), name.c_str(), at(0.9));
    return 0;
}
