#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TestWorld.h"

extern char** environ;

namespace {

#ifdef LAUNCHER_PATH
const char* const kLauncher = LAUNCHER_PATH;
#else
const char* const kLauncher = GLIMMER_BINARY_DIR "/launcher";
#endif

struct LaunchResult {
    int Status = -1;
    double Seconds = 0;
    std::string Stderr;
};

struct ProcInfo {
    bool Exists = false;
    char State = '?';
    pid_t Parent = 0;
    pid_t Session = 0;
};

ProcInfo ReadProc(pid_t pid) {
    ProcInfo info;
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) {
        return info;
    }
    // The command name may hold blanks; the fields after it start past ')'.
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    int group = 0;
    rest >> info.State >> info.Parent >> group >> info.Session;
    info.Exists = true;
    return info;
}

std::string Resolved(const std::string& path) {
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) != nullptr ? std::string(buffer) : path;
}

std::string LinkTarget(const std::string& path) {
    char buffer[PATH_MAX];
    ssize_t n = readlink(path.c_str(), buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

// Processes whose parent is this test process.
std::vector<pid_t> OwnChildren() {
    std::vector<pid_t> children;
    std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
    if (!proc) {
        return children;
    }
    while (dirent* entry = readdir(proc.get())) {
        pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid > 0 && ReadProc(pid).Parent == getpid()) {
            children.push_back(pid);
        }
    }
    return children;
}

// A stand-in for the card: records its process, working directory and
// arguments, then stays alive for a while like the real card would.
class FakeCard {
public:
    explicit FakeCard(const std::string& folder) : record_(dir_ / "record") {
        WriteTextFile(folder + "/solvanewin",
                      "#!/bin/sh\n"
                      "{ echo \"pid $$\"; echo \"cwd $(pwd -P)\"; echo \"argc $#\";\n"
                      "  for a in \"$@\"; do echo \"arg $a\"; done; } > '" + record_ + ".tmp'\n"
                      "mv '" + record_ + ".tmp' '" + record_ + "'\n"
                      "exec sleep 4\n");
        chmod((folder + "/solvanewin").c_str(), 0755);
    }

    ~FakeCard() {
        pid_t pid = Pid();
        if (pid > 0 && kill(pid, SIGKILL) == 0) {
            waitpid(pid, nullptr, 0);  // it is ours when this process is the subreaper
        }
    }

    // Waits up to the given time for the card to have written its record.
    bool Started(double seconds = 5.0) const {
        auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < until) {
            if (FileExists(record_)) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return FileExists(record_);
    }

    std::string Record() const { return FileExists(record_) ? ReadTextFile(record_) : std::string(); }

    pid_t Pid() const {
        std::string text = Record();
        std::string::size_type at = text.find("pid ");
        return at == std::string::npos ? 0 : static_cast<pid_t>(std::atoi(text.c_str() + at + 4));
    }

private:
    TempDir dir_;
    std::string record_;
};

bool NamesOneOf(const char* entry, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (std::strncmp(entry, (name + "=").c_str(), name.size() + 1) == 0) {
            return true;
        }
    }
    return false;
}

// Runs the launcher with the arguments, SOLVANE_DIR set to solvaneDir (unset
// when null), the variables named in unset left out and the working directory
// cwd; waits for the launcher only.
LaunchResult RunLauncher(const std::string& program, const std::vector<std::string>& args, const char* solvaneDir,
                const std::string& cwd = "/", std::vector<std::string> unset = {}) {
    TempDir logs;
    std::string errPath = logs / "stderr";
    std::vector<std::string> env;
    unset.push_back("SOLVANE_DIR");
    for (char** e = environ; *e != nullptr; ++e) {
        if (!NamesOneOf(*e, unset)) {
            env.emplace_back(*e);
        }
    }
    if (solvaneDir != nullptr) {
        env.push_back(std::string("SOLVANE_DIR=") + solvaneDir);
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(&e[0]);
    }
    envp.push_back(nullptr);

    LaunchResult run;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        // The output goes to a file, not to the test runner's pipe, which a
        // started card would otherwise keep open.
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int null = open("/dev/null", O_WRONLY);
        if (err < 0 || null < 0 || dup2(null, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0 ||
            chdir(cwd.c_str()) != 0) {
            _exit(99);
        }
        execve(program.c_str(), argv.data(), envp.data());
        _exit(98);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    run.Stderr = ReadTextFile(errPath);
    return run;
}

class Launcher : public ::testing::Test {
protected:
    void SetUp() override {
        // A card handed to init would escape the test; as subreaper this
        // process inherits it, and any zombie the launcher leaves behind.
        ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
        ASSERT_TRUE(FileExists(kLauncher)) << kLauncher;
    }

    void ExpectStartsNothing(const std::vector<std::string>& args) {
        TempDir folder;
        FakeCard card(folder.Path());
        LaunchResult run = RunLauncher(kLauncher, args, folder.Path().c_str());
        EXPECT_EQ(run.Status, 0);
        EXPECT_FALSE(card.Started(0.5)) << card.Record();
        EXPECT_TRUE(OwnChildren().empty());
    }

    void ExpectStartsCard(const std::vector<std::string>& args) {
        TempDir folder;
        FakeCard card(folder.Path());
        LaunchResult run = RunLauncher(kLauncher, args, folder.Path().c_str());
        EXPECT_EQ(run.Status, 0) << run.Stderr;
        ASSERT_TRUE(card.Started()) << run.Stderr;
        EXPECT_EQ(card.Record(), "pid " + std::to_string(card.Pid()) + "\ncwd " + Resolved(folder.Path()) +
                                     "\nargc 0\n");
    }
};

TEST_F(Launcher, LowercaseTInAnyArgumentStartsNothing) {
    ExpectStartsNothing({"t"});
    ExpectStartsNothing({"/t"});
    ExpectStartsNothing({"test"});
    ExpectStartsNothing({"/S", "Tt"});
}

TEST_F(Launcher, NoArgumentsStartsCardInItsFolderWithoutArguments) {
    ExpectStartsCard({});
}

TEST_F(Launcher, SlashSStartsCard) {
    ExpectStartsCard({"/s"});
}

TEST_F(Launcher, UppercaseTDoesNotCount) {
    ExpectStartsCard({"T"});
    ExpectStartsCard({"/S", "TEST"});
}

TEST_F(Launcher, ReturnsWhileCardStillRuns) {
    TempDir folder;
    FakeCard card(folder.Path());
    LaunchResult run = RunLauncher(kLauncher, {}, folder.Path().c_str());
    EXPECT_EQ(run.Status, 0);
    EXPECT_LT(run.Seconds, 2.0);
    ASSERT_TRUE(card.Started());
    ProcInfo info = ReadProc(card.Pid());
    EXPECT_TRUE(info.Exists);
    EXPECT_NE(info.State, 'Z');
}

TEST_F(Launcher, CardHasOwnSessionAndNoInputAndNoZombieIsLeft) {
    TempDir folder;
    FakeCard card(folder.Path());
    LaunchResult run = RunLauncher(kLauncher, {}, folder.Path().c_str());
    ASSERT_EQ(run.Status, 0);
    ASSERT_TRUE(card.Started());
    pid_t pid = card.Pid();
    ProcInfo info = ReadProc(pid);
    EXPECT_NE(info.Session, getsid(0));
    EXPECT_NE(info.Session, pid) << "a session leader could take a terminal again";
    EXPECT_EQ(LinkTarget("/proc/" + std::to_string(pid) + "/fd/0"), "/dev/null");
    // The launcher has ended: the card was handed on, and the process in
    // between was waited for.
    EXPECT_EQ(info.Parent, getpid());
    EXPECT_EQ(OwnChildren(), std::vector<pid_t>{pid});
}

TEST_F(Launcher, FindsCardBesideItsOwnBinaryWhenSolvaneDirIsUnset) {
    // The temporary path has t's in it: the program's own name is no argument.
    TempDir prefix;
    std::string installed = prefix / "bin/launcher";
    WriteTextFile(installed, ReadTextFile(kLauncher));
    chmod(installed.c_str(), 0755);
    WriteTextFile(prefix / "lib/solvane/solvane.cfg", "");
    FakeCard card(prefix / "lib/solvane");
    LaunchResult run = RunLauncher(installed, {}, nullptr);
    EXPECT_EQ(run.Status, 0) << run.Stderr;
    ASSERT_TRUE(card.Started()) << run.Stderr;
    EXPECT_NE(card.Record().find("cwd " + Resolved(prefix / "lib/solvane") + "\n"), std::string::npos);

    // An empty SOLVANE_DIR counts as unset.
    FakeCard again(prefix / "lib/solvane");
    EXPECT_EQ(RunLauncher(installed, {"/s"}, "").Status, 0);
    EXPECT_TRUE(again.Started());

    // The start command on the games path and the launcher kept inside the
    // card's folder find the same folder.
    for (const char* copy : {"games/solvane", "lib/solvane/launcher"}) {
        std::string other = prefix / copy;
        WriteTextFile(other, ReadTextFile(kLauncher));
        chmod(other.c_str(), 0755);
        FakeCard found(prefix / "lib/solvane");
        LaunchResult started = RunLauncher(other, {}, nullptr);
        EXPECT_EQ(started.Status, 0) << started.Stderr;
        EXPECT_TRUE(found.Started()) << copy << ": " << started.Stderr;
    }
}

TEST_F(Launcher, FindsBuildTreeCardFolderWhenNothingIsInstalledBesideIt) {
    // build/launcher starts build/solvane/solvanewin.
    TempDir build;
    std::string built = build / "launcher";
    WriteTextFile(built, ReadTextFile(kLauncher));
    chmod(built.c_str(), 0755);
    WriteTextFile(build / "solvane/solvane.cfg", "");
    FakeCard card(build / "solvane");
    LaunchResult run = RunLauncher(built, {}, nullptr);
    EXPECT_EQ(run.Status, 0) << run.Stderr;
    ASSERT_TRUE(card.Started()) << run.Stderr;
    EXPECT_NE(card.Record().find("cwd " + Resolved(build / "solvane") + "\n"), std::string::npos);
}

TEST_F(Launcher, NoDisplayStartsNothingAndSaysWhatToDo) {
    TempDir folder;
    FakeCard card(folder.Path());
    const std::vector<std::string> noDisplay{"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
    LaunchResult run = RunLauncher(kLauncher, {}, folder.Path().c_str(), "/", noDisplay);
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Stderr.find("neither DISPLAY nor WAYLAND_DISPLAY is set"), std::string::npos) << run.Stderr;
    EXPECT_NE(run.Stderr.find("make screenshot"), std::string::npos) << run.Stderr;
    EXPECT_FALSE(card.Started(0.5)) << card.Record();

    // Any one of them lets the card decide for itself.
    for (const char* given : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        std::vector<std::string> others;
        for (const std::string& name : noDisplay) {
            if (name != given) others.push_back(name);
        }
        setenv(given, "x", 1);
        FakeCard started(folder.Path());
        run = RunLauncher(kLauncher, {}, folder.Path().c_str(), "/", others);
        EXPECT_TRUE(started.Started()) << given << ": " << run.Stderr;
    }
}

TEST_F(Launcher, FolderThatCannotBeEnteredStartsNothingAndExitsZero) {
    TempDir elsewhere;
    FakeCard stray(elsewhere.Path());
    std::string missing = elsewhere / "no-such-folder";
    LaunchResult run = RunLauncher(kLauncher, {}, missing.c_str(), elsewhere.Path());
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Stderr.find("launcher: cannot enter " + missing), std::string::npos) << run.Stderr;
    EXPECT_FALSE(stray.Started(0.5)) << "started the program of the current folder";
}

TEST_F(Launcher, MissingOrUnrunnableCardExitsZeroWithMessage) {
    TempDir folder;
    LaunchResult run = RunLauncher(kLauncher, {}, folder.Path().c_str());
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Stderr.find("launcher: cannot start " + folder.Path() + "/solvanewin: No such file or directory"),
              std::string::npos)
        << run.Stderr;

    WriteTextFile(folder / "solvanewin", "not a program\n");
    chmod((folder / "solvanewin").c_str(), 0644);
    run = RunLauncher(kLauncher, {}, folder.Path().c_str());
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Stderr.find("Permission denied"), std::string::npos) << run.Stderr;
}

}  // namespace
