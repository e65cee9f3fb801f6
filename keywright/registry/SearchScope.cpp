// The search's scope from the tree.
#include "registry/SearchScope.h"

#include "host/KeyPath.h"

namespace keywright {

std::vector<SearchComputer> ComputersOfTree(KeyTree& tree, TreeItem only) {
    std::vector<SearchComputer> computers;
    TreeItem computer = only ? only : tree.FirstChild(0);
    for (; computer; computer = only ? 0 : tree.NextSibling(computer)) {
        SearchComputer entry{tree.ItemText(computer), {}};
        for (TreeItem root = tree.FirstChild(computer); root; root = tree.NextSibling(root))
            entry.roots.push_back(tree.ItemText(root));
        computers.push_back(std::move(entry));
    }
    return computers;
}

void SetSearchScope(RegistrySearch& s, KeyTree& tree, TreeItem selected,
                    const std::optional<std::string>& selectedPath) {
    s.computers.clear();
    s.computerName.clear();
    s.rootName.clear();
    s.startSubkey.clear();
    s.rootHandle = 0;
    if (!s.wholeRegistry && !selectedPath)
        s.wholeRegistry = true; // nothing selected: the whole registry it is
    if (s.wholeRegistry) {
        s.computers = ComputersOfTree(tree);
        return;
    }
    KeyPathParts parts = SplitKeyPath(*selectedPath);
    s.computerName = parts.computer;
    s.rootName = parts.rootName;
    s.rootHandle = parts.root;
    s.startSubkey = parts.subkey;
    if (parts.rootName.empty())
        s.computers = ComputersOfTree(tree, selected);
}

} // namespace keywright
