#include "launcher/StartCard.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef SOLVANE_INSTALLED_DIR
#define SOLVANE_INSTALLED_DIR "/usr/local/lib/solvane"
#endif

namespace {

bool IsFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder holding the running binary, or "" when it cannot be named.
std::string OwnFolder(const char* launcherPath) {
    char buffer[PATH_MAX];
    std::string self;
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0) {
        self.assign(buffer, static_cast<size_t>(n));
    } else if (launcherPath != nullptr && std::strchr(launcherPath, '/') != nullptr &&
               realpath(launcherPath, buffer) != nullptr) {
        self = buffer;
    }
    std::string::size_type slash = self.rfind('/');
    if (slash == std::string::npos) {
        return std::string();
    }
    return self.substr(0, slash == 0 ? 1 : slash);
}

std::string Resolved(const std::string& path) {
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) != nullptr ? std::string(buffer) : path;
}

// Runs in the forked children, where only async-signal-safe calls belong.
[[noreturn]] void ReportAndExit(int fd, int error) {
    if (fd >= 0) {
        ssize_t written = write(fd, &error, sizeof error);
        (void)written;
    }
    _exit(127);
}

// Ignored signals and a blocked mask survive exec; the card should start
// with the defaults whatever started it.
void ResetSignals() {
    struct sigaction standard;
    std::memset(&standard, 0, sizeof standard);
    standard.sa_handler = SIG_DFL;
    for (int signal : {SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGTERM, SIGCHLD}) {
        sigaction(signal, &standard, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

void ExecCardHere() {
    char name[] = "solvanewin";
    char* const arguments[] = {name, nullptr};
    execv("./solvanewin", arguments);
}

[[noreturn]] void BecomeCard(int reportFd) {
    int null = open("/dev/null", O_RDONLY);
    if (null >= 0 && null != STDIN_FILENO) {
        dup2(null, STDIN_FILENO);
        close(null);
    }
    ResetSignals();
    ExecCardHere();
    ReportAndExit(reportFd, errno);
}

}  // namespace

std::string CardFolder(const char* launcherPath) {
    const char* chosen = std::getenv("SOLVANE_DIR");
    if (chosen != nullptr && chosen[0] != '\0') {
        return chosen;
    }
    std::string own = OwnFolder(launcherPath);
    if (!own.empty()) {
        // The launcher kept inside the card's installed folder.
        struct stat info;
        if (stat((own + "/solvane.cfg").c_str(), &info) == 0) {
            return own;
        }
        for (const char* relative : {"/../lib/solvane", "/solvane"}) {
            std::string candidate = own + relative;
            if (IsFolder(candidate)) {
                return Resolved(candidate);
            }
        }
    }
    return SOLVANE_INSTALLED_DIR;
}

bool StartCard(const std::string& folder) {
    // Starting "solvanewin" from whatever folder happens to be current would
    // run a program nobody chose; a folder that cannot be entered starts nothing.
    if (chdir(folder.c_str()) != 0) {
        std::fprintf(stderr, "launcher: cannot enter %s: %s\n", folder.c_str(), std::strerror(errno));
        return false;
    }

    // The children report a failed fork or exec through this pipe; a
    // successful exec closes it without a word.
    int report[2] = {-1, -1};
    if (pipe2(report, O_CLOEXEC) != 0) {
        report[0] = report[1] = -1;
    }

    pid_t middle = fork();
    if (middle < 0) {
        int error = errno;
        if (report[0] >= 0) {
            close(report[0]);
            close(report[1]);
        }
        std::fprintf(stderr, "launcher: cannot start %s/solvanewin: %s\n", folder.c_str(), std::strerror(error));
        return false;
    }
    if (middle == 0) {
        // A new session leaves the launcher's terminal behind; the second fork
        // hands the card to init, so no one has to wait for it and it is not
        // a session leader that could take a terminal again.
        if (report[0] >= 0) {
            close(report[0]);
        }
        setsid();
        pid_t card = fork();
        if (card < 0) {
            ReportAndExit(report[1], errno);
        }
        if (card > 0) {
            _exit(0);
        }
        BecomeCard(report[1]);
    }

    if (report[1] >= 0) {
        close(report[1]);
    }
    int error = 0;
    ssize_t got = 0;
    if (report[0] >= 0) {
        do {
            got = read(report[0], &error, sizeof error);
        } while (got < 0 && errno == EINTR);
        close(report[0]);
    }
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    if (got == static_cast<ssize_t>(sizeof error)) {
        std::fprintf(stderr, "launcher: cannot start %s/solvanewin: %s\n", folder.c_str(), std::strerror(error));
        return false;
    }
    return true;
}

bool ExecCard(const std::string& folder, const char* who) {
    if (chdir(folder.c_str()) != 0) {
        std::fprintf(stderr, "%s: cannot enter %s: %s\n", who, folder.c_str(), std::strerror(errno));
        return false;
    }
    ResetSignals();
    ExecCardHere();
    std::fprintf(stderr, "%s: cannot start %s/solvanewin: %s\n", who, folder.c_str(), std::strerror(errno));
    return false;
}
