// Running a piece of a test as an ordinary user, for tests of what permissions forbid.
#pragma once

#include <functional>
#include <string>

namespace kestrix {

// The user a privileged test process becomes (the system's "nobody").
constexpr unsigned kUnprivilegedUser = 65534;
constexpr unsigned kUnprivilegedGroup = 65534;

// Runs `body` in a child process that has given up every privilege (when the test
// runs as root) or as the test's own user otherwise, and returns what `body` returned;
// -1 when the child could not drop its privileges or did not end normally. `body`
// must not use test assertions: it reports through its result.
int RunUnprivileged(const std::function<int()>& body);

// Makes the scratch path reachable and writable for the unprivileged user: the
// folders along it are opened for passing and the folder itself for writing.
void OpenForUnprivileged(const std::string& dir);

} // namespace kestrix
