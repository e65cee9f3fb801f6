// cfbtool: writes a compound file from a tree written as text, and prints the tree
// of a compound file in the same form, with this system's compound-storage
// implementation. Files written by one system are read back by the other's build.
//   cfbtool write FILE TREEFILE   creates FILE holding the tree in TREEFILE
//   cfbtool dump FILE             prints FILE's tree on one line
#include "platform/CompoundStorage.h"
#include "platform/testing/CompoundTreeText.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

using namespace kestrix;

namespace {

int Failed(const OsError& e) {
    std::fprintf(stderr, "cfbtool: %s\n", e.Describe().c_str());
    return 1;
}

int Write(const std::string& path, const std::string& treeFile) {
    std::ifstream in(treeFile, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cfbtool: cannot read %s\n", treeFile.c_str());
        return 1;
    }
    std::string tree((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    while (!tree.empty() && (tree.back() == '\n' || tree.back() == '\r'))
        tree.pop_back();
    std::unique_ptr<Storage> root;
    using namespace StorageMode;
    if (OsError e = SystemCompoundFiles().Create(
            path, kTransacted | kCreate | kReadWrite | kShareDenyWrite, root))
        return Failed(e);
    if (OsError e = testtree::Build(*root, tree))
        return Failed(e);
    if (OsError e = root->Commit())
        return Failed(e);
    return 0;
}

int Dump(const std::string& path) {
    std::unique_ptr<Storage> root;
    using namespace StorageMode;
    if (OsError e = SystemCompoundFiles().Open(path, kRead | kShareDenyWrite, root))
        return Failed(e);
    std::printf("%s\n", testtree::Dump(*root).c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "write" && argc == 4)
        return Write(argv[2], argv[3]);
    if (command == "dump" && argc == 3)
        return Dump(argv[2]);
    std::fprintf(stderr, "usage: cfbtool write FILE TREEFILE | cfbtool dump FILE\n");
    return 2;
}
