// Temporary directories, the private Xvfb and child processes with their
// output read line by line.
#include "harness.h"
#include "x_property.h"

#include <X11/Xatom.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

// In the sanitizer build, leaks are checked in the programs under test, not
// in the test programs that drive them: libxdo keeps its keyboard map and
// the window manager's list of supported hints it reads for an activation.
extern "C" int __lsan_is_turned_off() { return 1; }

namespace e2e {

namespace fs = std::filesystem;

namespace {

bool (*checkHasFailed)() = nullptr;

}  // namespace

void keepFailedWorkDirs(bool (*hasFailed)()) { checkHasFailed = hasFailed; }

// ---------------------------------------------------------------- files

TempDir::TempDir(const std::string& prefix)
{
    path_ = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(path_.data()))
        throw std::runtime_error("cannot create a temporary directory " + path_ + ": " + std::strerror(errno));
}

TempDir::~TempDir()
{
    if (keep_)
        return;
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::optional<std::string> readFile(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

bool FileStamp::operator==(const FileStamp& o) const
{
    return exists == o.exists && device == o.device && inode == o.inode && changedSeconds == o.changedSeconds &&
           changedNanoseconds == o.changedNanoseconds;
}

FileStamp fileStamp(const std::string& path)
{
    struct stat st {};
    FileStamp s;
    if (stat(path.c_str(), &st) != 0)
        return s;
    s.exists = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.changedSeconds = st.st_ctim.tv_sec;
    s.changedNanoseconds = st.st_ctim.tv_nsec;
    return s;
}

std::optional<std::string> waitForSave(const std::string& path, const FileStamp& before, Millis timeout)
{
    std::optional<std::string> text;
    waitUntil([&] { return fileStamp(path) != before && (text = readFile(path)).has_value(); }, timeout);
    return text;
}

namespace {

// Waits up to `timeout` for the child to end; returns its wait status.
std::optional<int> waitChild(pid_t pid, Millis timeout)
{
    std::optional<int> status;
    bool gone = false;  // not our child any more
    waitUntil(
        [&] {
            int s = 0;
            pid_t r = waitpid(pid, &s, WNOHANG);
            if (r == pid)
                status = s;
            gone = r < 0;
            return status || gone;
        },
        timeout, 2ms);
    return status;
}

}  // namespace

// ---------------------------------------------------------------- X server

XServer::XServer(const Desktop& desktop, Millis timeout) : desktop_(desktop)
{
    // scripts/with-xvfb.sh starts Xvfb on a display it picks itself (so that
    // parallel tests never collide), tries again when that fails, announces
    // the display once the server accepts clients and keeps the server for
    // as long as its command runs: here one that waits for this process to
    // end, so that neither outlives a test program that is killed.
    const std::vector<std::string> command{"tail", "-f", "/dev/null", "--pid=" + std::to_string(getpid())};
    xvfb_ = std::make_unique<Process>(E2E_WITH_XVFB, command, "", "/");
    // "Virtual display :7 (Xvfb, process 1234)"
    const std::string prefix = "Virtual display :";
    std::optional<std::string> announced =
        xvfb_->waitForLine([&](const std::string& l) { return l.rfind(prefix, 0) == 0; }, timeout);
    int pid = 0;
    char number[16] = "";
    if (!announced || std::sscanf(announced->c_str(), "Virtual display :%15[0-9] (Xvfb, process %d)", number, &pid) != 2) {
        std::string output = xvfb_->transcript();
        stop();
        throw std::runtime_error("Xvfb did not start (" E2E_WITH_XVFB "):\n" + output);
    }
    display_ = std::string(":") + number;
    pid_ = pid;
    if (desktop_.hasWindowManager()) {
        try {
            startWindowManager(timeout);
        } catch (...) {
            stop();
            throw;
        }
    }
}

XServer::~XServer() { stop(); }

std::string XServer::windowManagerOutput() const
{
    if (!manager_)
        return "";
    return desktop_.name + (manager_->isRunning() ? " (running)" : " (ended)") + ":\n" + manager_->transcript();
}

void XServer::stop()
{
    manager_.reset();
    managerDir_.reset();
    xvfb_.reset();  // the script ends its server
    pid_ = -1;
}

namespace {

// The window a window manager names in _NET_SUPPORTING_WM_CHECK on the root,
// once that window names itself too (as the manager's announcement requires).
std::optional<unsigned long> supportingWmCheck(::Display* d)
{
    auto read = [&](unsigned long w) -> std::optional<unsigned long> {
        std::vector<unsigned long> named = longProperty(d, w, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, 1);
        if (named.size() != 1)
            return std::nullopt;
        return named[0];
    };
    std::optional<unsigned long> w = read(DefaultRootWindow(d));
    if (w && read(*w) == w)
        return w;
    return std::nullopt;
}

}  // namespace

void XServer::startWindowManager(Millis timeout)
{
    managerDir_ = std::make_unique<TempDir>("e2e-wm");
    WindowManagerCommand command = windowManagerCommand(desktop_, managerDir_->path());
    if (!command.configFile.empty())
        writeFile(command.configFile, command.configText);
    try {
        manager_ = std::make_unique<Process>(command.program, command.args, display_, managerDir_->path(), command.env);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(std::string(e.what()) + "; the tests on the " + desktop_.name +
                                 " desktop need it (Debian: apt-get install " + command.program + ")");
    }

    ::Display* d = XOpenDisplay(display_.c_str());
    if (!d)
        throw std::runtime_error("cannot connect to Xvfb on " + display_);
    bool ready = false;
    waitUntil([&] { return (ready = supportingWmCheck(d).has_value()) || !manager_->isRunning(); }, timeout);
    XCloseDisplay(d);
    if (!ready)
        throw std::runtime_error(command.program + " did not announce itself on " + display_ + " within " +
                                 std::to_string(scaled(timeout).count()) + " ms (" +
                                 (manager_->isRunning() ? "still running" : "it ended") + "); its output:\n" +
                                 manager_->transcript());
}

// ---------------------------------------------------------------- process

std::ostream& operator<<(std::ostream& os, const ExitStatus& s)
{
    if (s.exited)
        return os << "exit status " << s.code;
    return os << "killed by signal " << s.signal;
}

Process::Process(const std::string& program, const std::vector<std::string>& args,
                 const std::string& display, const std::string& workDir,
                 const std::vector<std::string>& env, const std::string& lineEnd)
    : lineEnd_(lineEnd)
{
    if (workDir.empty())
        ownDir_ = std::make_unique<TempDir>("e2e-run");
    const std::string& dir = ownDir_ ? ownDir_->path() : workDir;

    // The environment: DISPLAY and `env`, and of ours every variable they do not set.
    std::vector<std::string> envStrings{"DISPLAY=" + display};
    envStrings.insert(envStrings.end(), env.begin(), env.end());
#ifdef E2E_PRELOAD
    // Sanitizer build: keep dlopen()ed libraries loaded until exit, so that
    // leak reports name the GL driver instead of "<unknown module>".
    std::string preload = E2E_PRELOAD;
    if (const char* more = std::getenv("LD_PRELOAD"); more && *more)
        preload += std::string(":") + more;
    envStrings.push_back("LD_PRELOAD=" + preload);
#endif
    const std::size_t set = envStrings.size();
    for (char** e = environ; *e; ++e) {
        const std::string name(*e, std::strcspn(*e, "=") + 1);
        if (std::none_of(envStrings.begin(), envStrings.begin() + static_cast<std::ptrdiff_t>(set),
                         [&](const std::string& v) { return v.compare(0, name.size(), name) == 0; }))
            envStrings.push_back(*e);
    }
    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    auto pointers = [](std::vector<std::string>& strings) {
        std::vector<char*> p;
        for (std::string& s : strings)
            p.push_back(s.data());
        p.push_back(nullptr);
        return p;
    };
    std::vector<char*> argv = pointers(argStrings), envp = pointers(envStrings);

    // Standard input from /dev/null, standard output and error into pipes,
    // in the working directory, and in a process group of its own, so that
    // kill() reaches what it starts too. `program` without a '/' is looked
    // for on PATH.
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    const int failed = posix_spawnp(&pid_, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (failed) {
        close(out[0]);
        close(err[0]);
        pid_ = -1;
        throw std::runtime_error("cannot start " + program + " in " + dir + ": " + std::strerror(failed));
    }
    reader_ = std::thread([this, o = out[0], r = err[0]] { readLoop(o, r); });
}

Process::~Process()
{
    kill();
    // Grandchildren may still hold the pipes open; stop reading anyway.
    stopReading_ = true;
    if (reader_.joinable())
        reader_.join();
    if (ownDir_) {
        if (checkHasFailed && checkHasFailed()) {
            ownDir_->keep();
            std::cout << "[ e2e ] kept working directory " << ownDir_->path() << std::endl;
        }
    }
}

void Process::readLoop(int outFd, int errFd)
{
    std::string partial[2];
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    int open = 2;
    while (open > 0 && !stopReading_) {
        if (poll(fds, 2, 200) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buf[4096];
            ssize_t n = read(fds[i].fd, buf, sizeof buf);
            std::lock_guard<std::mutex> lock(mutex_);
            auto& lines = i == 0 ? out_ : err_;
            if (n <= 0) {
                if (!partial[i].empty())
                    lines.push_back(partial[i]);
                partial[i].clear();
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            } else {
                partial[i].append(buf, static_cast<std::size_t>(n));
                std::size_t nl;
                while ((nl = partial[i].find('\n')) != std::string::npos) {
                    std::string line = partial[i].substr(0, nl);
                    if (lineEnd_ == "\r\n" && !line.empty() && line.back() == '\r')
                        line.pop_back();
                    lines.push_back(line);
                    partial[i].erase(0, nl + 1);
                }
            }
            changed_.notify_all();
        }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    outputClosed_ = true;
    changed_.notify_all();
}

std::optional<std::string> Process::waitForLine(const std::string& exact, Millis timeout)
{
    return waitForLine([&](const std::string& l) { return l == exact; }, timeout);
}

std::optional<std::string> Process::waitForLine(const std::function<bool(const std::string&)>& match,
                                                Millis timeout)
{
    auto deadline = std::chrono::steady_clock::now() + scaled(timeout);
    std::unique_lock<std::mutex> lock(mutex_);
    std::size_t scanned = consumed_;
    for (;;) {
        for (; scanned < out_.size(); ++scanned) {
            if (match(out_[scanned])) {
                consumed_ = scanned + 1;
                return out_[scanned];
            }
        }
        if (outputClosed_)
            return std::nullopt;
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout && scanned == out_.size())
            return std::nullopt;
    }
}

std::vector<std::string> Process::lines() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return out_;
}

std::vector<std::string> Process::errorLines() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return err_;
}

std::vector<std::string> Process::unconsumedLines() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return {out_.begin() + static_cast<std::ptrdiff_t>(consumed_), out_.end()};
}

void Process::markAllConsumed()
{
    std::lock_guard<std::mutex> lock(mutex_);
    consumed_ = out_.size();
}

std::string Process::transcript() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::string s;
    for (const auto& l : out_)
        s += "  stdout: " + l + "\n";
    for (const auto& l : err_)
        s += "  stderr: " + l + "\n";
    return s.empty() ? "  (no output)\n" : s;
}

bool Process::isRunning() { return pid_ > 0 && !waitForExit(0ms); }

std::optional<ExitStatus> Process::waitForExit(Millis timeout)
{
    if (pid_ > 0 && !status_)
        if (std::optional<int> s = waitChild(pid_, timeout))
            status_ = ExitStatus{WIFEXITED(*s), WIFEXITED(*s) ? WEXITSTATUS(*s) : 0, WIFSIGNALED(*s) ? WTERMSIG(*s) : 0};
    return status_;
}

bool Process::waitForEndOfOutput(Millis timeout)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, scaled(timeout), [&] { return outputClosed_; });
}

std::optional<std::string> uncleanEnd(Process& p, bool requireSuccess, Millis timeout)
{
    std::optional<ExitStatus> status = p.waitForExit(timeout);
    if (!status)
        return "the program is still running after " + std::to_string(scaled(timeout).count()) + " ms\n" +
               p.transcript();
    // The report is written just before the exit: read standard error to its end.
    p.waitForEndOfOutput(5s);
    std::ostringstream how;
    how << *status;
    static const char* const reports[] = {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer",
                                          "ERROR: UndefinedBehaviorSanitizer", "runtime error:"};
    for (const std::string& line : p.errorLines())
        for (const char* report : reports)
            if (line.find(report) != std::string::npos)
                return "a sanitizer report (" + how.str() + "):\n" + p.transcript();
    if (requireSuccess && !(status->exited && status->code == 0))
        return "the program ended with " + how.str() + "\n" + p.transcript();
    return std::nullopt;
}

namespace {

// Whether a process of group `group` still runs (one that has ended but not
// been reaped by its parent does not count: where nobody reaps orphans, such
// ones stay in the group).
bool groupRuns(pid_t group)
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::optional<std::string> stat = readFile(entry.path().string() + "/stat");
        // "pid (command) state ppid pgrp ...": the command may hold spaces and parentheses.
        std::size_t close = stat ? stat->rfind(')') : std::string::npos;
        if (close == std::string::npos)
            continue;
        std::istringstream fields(stat->substr(close + 1));
        char state = 0;
        long parent = 0, pgrp = 0;
        if (fields >> state >> parent >> pgrp && pgrp == group && state != 'Z' && state != 'X')
            return true;
    }
    return false;
}

}  // namespace

void Process::kill()
{
    if (pid_ <= 0)
        return;
    if (isRunning()) {
        ::kill(-pid_, SIGTERM);
        if (!waitForExit(3s)) {
            ::kill(-pid_, SIGKILL);
            waitForExit(3s);
        }
    }
    // What it started and left running in its group goes with it: a Windows
    // program's desktop process (Wine's explorer.exe, on this test's X
    // server) would otherwise outlive it, and the next test's program could
    // find that desktop still there instead of starting one on its own server.
    if (!groupRuns(pid_) || ::kill(-pid_, SIGTERM) != 0)
        return;
    if (!waitUntil([&] { return !groupRuns(pid_); }, 3s, 5ms))
        ::kill(-pid_, SIGKILL);
}

}  // namespace e2e
