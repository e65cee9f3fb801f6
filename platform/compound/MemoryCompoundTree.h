// The in-memory model of one compound file: its tree of storages and streams, and
// the Storage / StreamStorage objects that open it with the modes, sharing rules and
// transacted staging of structured storage. The in-memory and the native compound
// files both keep their content here; they differ only in where a commit goes.
#pragma once

#include "platform/compound/CompoundModes.h"
#include "platform/CompoundStorage.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kestrix {
namespace compound {

// Element names compare as structured storage compares them: ASCII letters without
// regard to case.
struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

struct Node {
    bool isStorage = true;
    std::vector<unsigned char> data; // a stream's bytes
    std::map<std::string, std::shared_ptr<Node>, NameLess> children;

    std::shared_ptr<Node> Clone() const;
    // Replaces this node's content with a deep copy of `other`, keeping this object
    // (so that the parent's pointer to it stays valid).
    void AssignFrom(const Node& other);
    // Adds every element of `source` to this storage: streams replace streams of the
    // same name, storages merge into storages of the same name.
    void MergeFrom(const Node& source);
};

// Longest element name, in bytes of the ANSI name.
constexpr std::size_t kMaxNameLength = 31;
// Largest stream we hold: the file format keeps sizes in 32 bits.
constexpr std::uint64_t kMaxStreamSize = 0x7FFFFFFF;

// kInvalidName for a name the file format cannot hold, else success.
OsError CheckName(const std::string& function, const std::string& name);

// The committed content of one compound file and what a commit or the release of a
// root means for it. Implemented by the in-memory files and by the native ones.
class Image {
public:
    virtual ~Image() = default;
    std::shared_ptr<Node> root = std::make_shared<Node>();

    // Called after a root commit changed `root`: makes it permanent.
    virtual OsError Persist() = 0;
    // Called once when the root opened with `mode` is released.
    virtual void Released(unsigned mode) = 0;
};

// Opens the root storage of `image` with `mode`. A transacted root stages its
// changes on a copy of the tree; a direct one works on the tree itself and persists
// it on Commit and on release.
std::unique_ptr<Storage> OpenRoot(std::shared_ptr<Image> image, unsigned mode,
                                  const std::string& path);

// Copies every element of `source` into `target` through the Storage interface
// alone, for storages of two different implementations.
OsError CopyElements(Storage& source, Storage& target);

} // namespace compound
} // namespace kestrix
