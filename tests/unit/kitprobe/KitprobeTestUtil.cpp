#include "unit/kitprobe/KitprobeTestUtil.h"

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace kptest {

namespace {

int g_pipe = -1;

void WriteAll(int fd, const std::string& s)
{
    size_t done = 0;
    while (done < s.size()) {
        ssize_t n = write(fd, s.data() + done, s.size() - done);
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

} // namespace

void MakeDirs(const std::string& path, unsigned mode)
{
    std::filesystem::create_directories(path);
    chmod(path.c_str(), mode);
}

void MakeFile(const std::string& path, unsigned mode)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        throw std::runtime_error("cannot create " + path);
    WriteAll(fd, "#!/bin/sh\n");
    close(fd);
    chmod(path.c_str(), mode);
}

void MakeLink(const std::string& target, const std::string& link)
{
    std::filesystem::create_directories(std::filesystem::path(link).parent_path());
    if (symlink(target.c_str(), link.c_str()) != 0)
        throw std::runtime_error("cannot link " + link);
}

void Skip(const std::string& why)
{
    WriteAll(g_pipe, why);
    _exit(3);
}

ChildResult RunInChild(const std::function<std::string()>& fn)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {EChild::Failed, "pipe failed"};
    pid_t pid = fork();
    if (pid < 0)
        return {EChild::Failed, "fork failed"};
    if (pid == 0) {
        close(fds[0]);
        g_pipe = fds[1];
        std::string text;
        try {
            text = fn();
        } catch (const std::exception& e) {
            WriteAll(fds[1], e.what());
            _exit(4);
        }
        WriteAll(fds[1], text);
        _exit(0);
    }
    close(fds[1]);
    std::string text;
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        text.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return {EChild::Ok, text};
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
        return {EChild::Skipped, text};
    return {EChild::Failed, text};
}

bool BecomeNobody()
{
    if (geteuid() != 0)
        return true; // permission bits already apply
    return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0 &&
           geteuid() == 65534;
}

bool EnterPrivateMountNamespace()
{
    if (unshare(CLONE_NEWNS) != 0)
        return false;
    return mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

} // namespace kptest
