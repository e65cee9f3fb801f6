// A tree of keys for tests, given as full paths: item n is paths[n - 1], its parent the
// item whose path is its own without the last component. It records what is expanded
// and selected.
#pragma once

#include "host/KeyPathLocator.h"

#include <string>
#include <vector>

namespace keywright {

class FakeKeyTree : public KeyTree {
public:
    explicit FakeKeyTree(std::vector<std::string> paths) : paths_(std::move(paths)) {}
    TreeItem FirstChild(TreeItem parent) override { return Next(parent, 0); }
    TreeItem NextSibling(TreeItem item) override { return Next(Parent(item), item); }
    std::string ItemText(TreeItem item) override {
        return paths_[item - 1].substr(paths_[item - 1].rfind('\\') + 1);
    }
    void Expand(TreeItem item) override { calls.push_back("expand " + paths_[item - 1]); }
    void Select(TreeItem item) override { calls.push_back("select " + paths_[item - 1]); }
    std::vector<std::string> calls;

private:
    TreeItem Parent(TreeItem item) {
        std::size_t cut = paths_[item - 1].rfind('\\');
        for (TreeItem i = 1; cut != std::string::npos && i <= paths_.size(); ++i)
            if (paths_[i - 1] == paths_[item - 1].substr(0, cut))
                return i;
        return 0;
    }
    TreeItem Next(TreeItem parent, TreeItem after) {
        for (TreeItem i = after + 1; i <= paths_.size(); ++i)
            if (Parent(i) == parent)
                return i;
        return 0;
    }
    std::vector<std::string> paths_;
};

} // namespace keywright
