// Running a piece of a test as an ordinary user, for tests of what permissions forbid.
#include "platform/testing/Unprivileged.h"

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrix {

int RunUnprivileged(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedGroup) != 0 ||
             ::setuid(kUnprivilegedUser) != 0 || ::setuid(0) == 0))
            ::_exit(255);
        // No destructors, no atexit handlers of the test program: the child only reports.
        ::_exit(body() & 0xFF);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

void OpenForUnprivileged(const std::string& dir) {
    std::string path = dir;
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    ::chmod(path.c_str(), 0777);
    for (std::size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0;
         slash = path.rfind('/', slash - 1)) {
        struct stat st {};
        const std::string parent = path.substr(0, slash);
        if (::stat(parent.c_str(), &st) == 0 && (st.st_mode & S_IXOTH) == 0)
            ::chmod(parent.c_str(), st.st_mode | S_IXOTH);
    }
}

} // namespace kestrix
