// LocateKeyPath: backslash steps first, forward-slash prefixes where they fail.
#include "host/KeyPathLocator.h"

#include "host/AsciiCase.h"

namespace keywright {

namespace {

TreeItem FindChild(KeyTree& tree, TreeItem parent, const std::string& name) {
    for (TreeItem item = tree.FirstChild(parent); item != 0; item = tree.NextSibling(item))
        if (EqualsNoCase(tree.ItemText(item), name))
            return item;
    return 0;
}

// A key with something left to find below it is only opened; the last one is
// selected. A separator with nothing after it (the trailing backslash of a root
// key's path) leaves nothing to find, so that key is the one selected.
LocateResult Step(KeyTree& tree, TreeItem item, const std::string& rest, DebugLog* log) {
    if (rest.empty())
        tree.Select(item);
    else
        tree.Expand(item);
    return LocateKeyPath(tree, item, rest, log);
}

} // namespace

LocateResult LocateKeyPath(KeyTree& tree, TreeItem parent, const std::string& path, DebugLog* log) {
    DebugIndent indent(log);
    if (path.empty())
        return LocateResult{true, {}};

    std::size_t backslash = path.find('\\');
    std::string component = path.substr(0, backslash);
    TreeItem child = FindChild(tree, parent, component);
    LogLine(log,
            "Trying backslash locate : " + component + (child ? "  ... Found" : "  ... Not Found"));
    if (child)
        return Step(tree, child, backslash == std::string::npos ? "" : path.substr(backslash + 1),
                    log);

    // Key names may hold "/", so each "/" is tried as a separator from the shortest
    // prefix on, and the whole path last.
    for (std::size_t slash = path.find('/');; slash = path.find('/', slash + 1)) {
        std::string prefix = path.substr(0, slash);
        child = FindChild(tree, parent, prefix);
        LogLine(log, "Trying forward slash locate : " + prefix +
                         (child ? "  ... Found" : "  ... Not Found"));
        if (child)
            return Step(tree, child, slash == std::string::npos ? "" : path.substr(slash + 1), log);
        if (slash == std::string::npos)
            break;
    }
    return LocateResult{false, path};
}

std::string NotFoundPath(const std::string& path, const std::string& unresolved) {
    if (unresolved.size() > path.size())
        return path;
    std::size_t start = path.size() - unresolved.size();
    std::size_t cut = unresolved.find('\\');
    return path.substr(0, cut == std::string::npos ? std::string::npos : start + cut);
}

} // namespace keywright
