// The storage and stream objects over an in-memory compound-file tree.
#include "platform/compound/MemoryCompoundTree.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <set>
#include <type_traits>

namespace kestrix {
namespace compound {

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// What a storage object and everything opened from it share. Objects opened from a
// storage keep it alive, so a parent released too early never leaves them dangling.
struct State {
    std::shared_ptr<Node> node; // what this storage shows: the staging copy when transacted
    std::shared_ptr<Node> base; // the node in the parent's view (transacted only)
    std::shared_ptr<State> parent;
    unsigned long parentEpoch = 0;
    unsigned long epoch = 0; // advanced by Revert: everything opened before is reverted
    unsigned mode = 0;
    std::string path;                     // for error reports
    std::set<std::string, NameLess> open; // children opened and not yet released
    std::shared_ptr<Image> image;         // the root only
    bool released = false;

    bool Transacted() const { return (mode & StorageMode::kTransacted) != 0; }
    bool Writable() const { return ModeWrites(mode); }
    bool Valid() const {
        if (released)
            return false;
        return !parent || (parent->epoch == parentEpoch && parent->Valid());
    }
};

class TreeStream final : public StorageStream {
public:
    TreeStream(std::shared_ptr<State> parent, std::shared_ptr<Node> node, std::string name,
               unsigned mode)
        : parent_(std::move(parent)), epoch_(parent_->epoch), node_(std::move(node)),
          name_(std::move(name)), mode_(mode), path_(parent_->path + "\\" + name_) {}

    ~TreeStream() override {
        if (parent_->epoch == epoch_)
            parent_->open.erase(name_);
    }

    OsError Read(void* buffer, std::size_t size, std::size_t& got) override {
        got = 0;
        if (OsError e = Check("Read", false))
            return e;
        const auto& data = node_->data;
        if (position_ < data.size()) {
            got = static_cast<std::size_t>(std::min<std::uint64_t>(size, data.size() - position_));
            std::memcpy(buffer, data.data() + position_, got);
            position_ += got;
        }
        return {};
    }

    OsError Write(const void* buffer, std::size_t size) override {
        if (OsError e = Check("Write", true))
            return e;
        if (size == 0)
            return {};
        const std::uint64_t end = position_ + size;
        if (end < position_ || end > kMaxStreamSize)
            return MakeOsError("Write", path_, StorageError::kMediumFull);
        if (OsError e = Grow(end, "Write"))
            return e;
        std::memcpy(node_->data.data() + position_, buffer, size);
        position_ = end;
        return {};
    }

    OsError Seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) override {
        if (OsError e = Check("Seek", false))
            return e;
        std::int64_t from = 0;
        if (origin == SeekOrigin::Current)
            from = static_cast<std::int64_t>(position_);
        else if (origin == SeekOrigin::End)
            from = static_cast<std::int64_t>(node_->data.size());
        // Positions before the start are refused; positions past the end are allowed
        // and a write there fills the gap with zeros.
        if ((offset < 0 && from + offset < 0) || (offset > 0 && offset > INT64_MAX - from))
            return MakeOsError("Seek", path_, StorageError::kInvalidFunction);
        position_ = static_cast<std::uint64_t>(from + offset);
        if (position)
            *position = position_;
        return {};
    }

    OsError Size(std::uint64_t& size) override {
        size = 0;
        if (OsError e = Check("Size", false))
            return e;
        size = node_->data.size();
        return {};
    }

    OsError SetSize(std::uint64_t size) override {
        if (OsError e = Check("SetSize", true))
            return e;
        if (size > kMaxStreamSize)
            return MakeOsError("SetSize", path_, StorageError::kMediumFull);
        if (size <= node_->data.size()) {
            node_->data.resize(static_cast<std::size_t>(size));
            return {};
        }
        return Grow(size, "SetSize");
    }

private:
    OsError Check(const char* function, bool writing) const {
        if (!(parent_->epoch == epoch_ && parent_->Valid()))
            return MakeOsError(function, path_, StorageError::kReverted);
        if (writing && !ModeWrites(mode_))
            return MakeOsError(function, path_, StorageError::kAccessDenied);
        if (!writing && !ModeReads(mode_))
            return MakeOsError(function, path_, StorageError::kAccessDenied);
        return {};
    }

    OsError Grow(std::uint64_t size, const char* function) {
        if (size <= node_->data.size())
            return {};
        try {
            node_->data.resize(static_cast<std::size_t>(size));
        } catch (const std::bad_alloc&) {
            return MakeOsError(function, path_, StorageError::kInsufficientMemory);
        }
        return {};
    }

    std::shared_ptr<State> parent_;
    unsigned long epoch_;
    std::shared_ptr<Node> node_;
    std::string name_;
    unsigned mode_;
    std::string path_;
    std::uint64_t position_ = 0;
};

class TreeStorage final : public Storage {
public:
    explicit TreeStorage(std::shared_ptr<State> state) : state_(std::move(state)) {}

    ~TreeStorage() override {
        State& s = *state_;
        const bool wasValid = s.Valid();
        s.released = true;
        if (s.parent) {
            if (s.parent->epoch == s.parentEpoch)
                s.parent->open.erase(Name());
        } else if (s.image) {
            // A direct root keeps what was written into it; a transacted one drops
            // what was not committed.
            if (wasValid && !s.Transacted() && s.Writable())
                if (OsError e = s.image->Persist())
                    ReportReleaseFailure(e);
            s.image->Released(s.mode);
        }
    }

    OsError OpenStream(const std::string& name, unsigned mode,
                       std::unique_ptr<StorageStream>& stream) override {
        return Reach("OpenStream", name, mode, false, stream);
    }

    OsError CreateStream(const std::string& name, unsigned mode,
                         std::unique_ptr<StorageStream>& stream) override {
        return Reach("CreateStream", name, mode, true, stream);
    }

    OsError OpenStorage(const std::string& name, unsigned mode,
                        std::unique_ptr<Storage>& storage) override {
        return Reach("OpenStorage", name, mode, false, storage);
    }

    OsError CreateStorage(const std::string& name, unsigned mode,
                          std::unique_ptr<Storage>& storage) override {
        return Reach("CreateStorage", name, mode, true, storage);
    }

    OsError DestroyElement(const std::string& name) override {
        if (OsError e = CheckUsable("DestroyElement", true))
            return e;
        if (OsError e = CheckName("DestroyElement", name))
            return e;
        auto& children = state_->node->children;
        auto it = children.find(name);
        if (it == children.end())
            return MakeOsError("DestroyElement", Child(name), StorageError::kFileNotFound);
        if (state_->open.count(name))
            return MakeOsError("DestroyElement", Child(name), StorageError::kAccessDenied);
        children.erase(it);
        return {};
    }

    OsError Enumerate(std::vector<StorageElement>& elements) override {
        elements.clear();
        if (OsError e = CheckUsable("Enumerate", false))
            return e;
        for (const auto& [name, node] : state_->node->children) {
            StorageElement element;
            element.name = name;
            element.isStorage = node->isStorage;
            element.size = node->isStorage ? 0 : node->data.size();
            elements.push_back(element);
        }
        return {};
    }

    OsError CopyTo(Storage& target) override {
        if (OsError e = CheckUsable("CopyTo", false))
            return e;
        auto* tree = dynamic_cast<TreeStorage*>(&target);
        if (!tree)
            return CopyElements(*this, target);
        if (OsError e = tree->CheckUsable("CopyTo", true))
            return e;
        if (tree == this)
            return {};
        // Open elements of the target would be replaced under their users.
        for (const auto& [name, node] : state_->node->children)
            if (tree->state_->open.count(name))
                return MakeOsError("CopyTo", tree->Child(name), StorageError::kAccessDenied);
        try {
            tree->state_->node->MergeFrom(*state_->node->Clone());
        } catch (const std::bad_alloc&) {
            return MakeOsError("CopyTo", state_->path, StorageError::kInsufficientMemory);
        }
        return {};
    }

    OsError Commit() override {
        if (OsError e = CheckUsable("Commit", false))
            return e;
        State& s = *state_;
        if (!s.Writable())
            return s.Transacted() ? MakeOsError("Commit", s.path, StorageError::kAccessDenied)
                                  : OsError{};
        if (s.Transacted()) {
            // Stage the whole tree first, so that a failed commit leaves the
            // committed content as it was.
            std::shared_ptr<Node> copy;
            try {
                copy = s.node->Clone();
            } catch (const std::bad_alloc&) {
                return MakeOsError("Commit", s.path, StorageError::kInsufficientMemory);
            }
            if (s.parent) {
                s.base->children.swap(copy->children);
                return {};
            }
            std::shared_ptr<Node> previous = s.image->root->Clone();
            s.image->root->children.swap(copy->children);
            if (OsError e = s.image->Persist()) {
                s.image->root->children.swap(previous->children);
                return e;
            }
            return {};
        }
        return s.parent ? OsError{} : s.image->Persist();
    }

    OsError Revert() override {
        if (OsError e = CheckUsable("Revert", false))
            return e;
        State& s = *state_;
        if (!s.Transacted())
            return {};
        const Node& committed = s.parent ? *s.base : *s.image->root;
        try {
            s.node->AssignFrom(committed);
        } catch (const std::bad_alloc&) {
            return MakeOsError("Revert", s.path, StorageError::kInsufficientMemory);
        }
        ++s.epoch;
        s.open.clear();
        return {};
    }

private:
    std::string Child(const std::string& name) const { return state_->path + "\\" + name; }

    // The name as the element keeps it (its case as created).
    std::string Stored(const std::string& name) const {
        auto it = state_->node->children.find(name);
        return it == state_->node->children.end() ? name : it->first;
    }

    std::string Name() const {
        const auto pos = state_->path.rfind('\\');
        return pos == std::string::npos ? state_->path : state_->path.substr(pos + 1);
    }

    OsError CheckUsable(const char* function, bool writing) const {
        if (!state_->Valid())
            return MakeOsError(function, state_->path, StorageError::kReverted);
        if (writing && !state_->Writable())
            return MakeOsError(function, state_->path, StorageError::kAccessDenied);
        return {};
    }

    // Opens or creates the child stream or storage `name`, the one way behind the four
    // element calls; an element of the other kind counts as missing.
    template <typename Element>
    OsError Reach(const char* function, const std::string& name, unsigned mode, bool create,
                  std::unique_ptr<Element>& element) {
        constexpr bool storage = std::is_same_v<Element, Storage>;
        element.reset();
        std::shared_ptr<Node> node;
        if (OsError e = create ? PrepareCreate(function, name, mode, storage, node)
                               : Prepare(function, name, mode, storage, node))
            return e;
        if (!node || node->isStorage != storage)
            return MakeOsError(function, Child(name), StorageError::kFileNotFound);
        if constexpr (storage) {
            element = MakeChild(name, node, mode);
        } else {
            element = std::make_unique<TreeStream>(state_, node, Stored(name), mode);
            state_->open.insert(Stored(name));
        }
        return {};
    }

    // Checks for opening an existing element; `node` is null when there is none.
    OsError Prepare(const char* function, const std::string& name, unsigned mode, bool storage,
                    std::shared_ptr<Node>& node, bool creating = false) {
        if (OsError e = CheckUsable(function, false))
            return e;
        if (OsError e = CheckName(function, name))
            return e;
        if (OsError e = CheckElementMode(function, Child(name), mode))
            return e;
        if (!storage && (mode & StorageMode::kTransacted))
            return MakeOsError(function, Child(name), StorageError::kInvalidFunction);
        // Opening with more access than the parent has is a bad flag; creating in a
        // read-only parent is refused access (checked by the caller).
        if (!creating && ModeWrites(mode) && !state_->Writable())
            return MakeOsError(function, Child(name), StorageError::kInvalidFlag);
        auto it = state_->node->children.find(name);
        if (it != state_->node->children.end()) {
            if (state_->open.count(name))
                return MakeOsError(function, Child(name), StorageError::kAccessDenied);
            node = it->second;
        }
        return {};
    }

    OsError PrepareCreate(const char* function, const std::string& name, unsigned mode,
                          bool storage, std::shared_ptr<Node>& node) {
        if (OsError e = Prepare(function, name, mode, storage, node, true))
            return e;
        if (!state_->Writable() || !ModeWrites(mode))
            return MakeOsError(function, Child(name), StorageError::kAccessDenied);
        if (node && !(mode & StorageMode::kCreate))
            return MakeOsError(function, Child(name), StorageError::kFileAlreadyExists);
        try {
            node = std::make_shared<Node>();
            node->isStorage = storage;
            auto& children = state_->node->children;
            children.erase(name);
            children.emplace(name, node);
        } catch (const std::bad_alloc&) {
            return MakeOsError(function, Child(name), StorageError::kInsufficientMemory);
        }
        return {};
    }

    std::unique_ptr<Storage> MakeChild(const std::string& name, std::shared_ptr<Node> node,
                                       unsigned mode) {
        auto child = std::make_shared<State>();
        child->parent = state_;
        child->parentEpoch = state_->epoch;
        child->mode = mode;
        child->path = Child(Stored(name));
        if (mode & StorageMode::kTransacted) {
            child->base = node;
            child->node = node->Clone();
        } else {
            child->node = node;
        }
        state_->open.insert(Stored(name));
        return std::make_unique<TreeStorage>(child);
    }

    std::shared_ptr<State> state_;
};

} // namespace

OsError CopyElements(Storage& source, Storage& target) {
    std::vector<StorageElement> elements;
    if (OsError e = source.Enumerate(elements))
        return e;
    const unsigned read = StorageMode::kRead | StorageMode::kShareExclusive;
    const unsigned write =
        StorageMode::kReadWrite | StorageMode::kShareExclusive | StorageMode::kCreate;
    for (const auto& element : elements) {
        if (element.isStorage) {
            std::unique_ptr<Storage> from, to;
            if (OsError e = source.OpenStorage(element.name, read, from))
                return e;
            if (target.OpenStorage(element.name, write & ~StorageMode::kCreate, to))
                if (OsError e = target.CreateStorage(element.name, write, to))
                    return e;
            if (OsError e = CopyElements(*from, *to))
                return e;
            if (OsError e = to->Commit())
                return e;
            continue;
        }
        std::unique_ptr<StorageStream> from, to;
        if (OsError e = source.OpenStream(element.name, read, from))
            return e;
        if (OsError e = target.CreateStream(element.name, write, to))
            return e;
        unsigned char buffer[65536];
        for (;;) {
            std::size_t got = 0;
            if (OsError e = from->Read(buffer, sizeof buffer, got))
                return e;
            if (got == 0)
                break;
            if (OsError e = to->Write(buffer, got))
                return e;
        }
    }
    return {};
}

bool NameLess::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Upper(x) < Upper(y); });
}

std::shared_ptr<Node> Node::Clone() const {
    auto copy = std::make_shared<Node>();
    copy->AssignFrom(*this);
    return copy;
}

void Node::AssignFrom(const Node& other) {
    if (&other == this)
        return;
    isStorage = other.isStorage;
    data = other.data;
    std::map<std::string, std::shared_ptr<Node>, NameLess> copied;
    for (const auto& [name, child] : other.children)
        copied.emplace(name, child->Clone());
    children.swap(copied);
}

void Node::MergeFrom(const Node& source) {
    for (const auto& [name, child] : source.children) {
        auto it = children.find(name);
        if (it != children.end() && it->second->isStorage && child->isStorage) {
            it->second->MergeFrom(*child);
            continue;
        }
        if (it != children.end())
            children.erase(it);
        children.emplace(name, child->Clone());
    }
}

OsError CheckName(const std::string& function, const std::string& name) {
    // The format keeps 31 characters and a terminator; these four characters are
    // reserved by structured storage.
    if (name.empty() || name.size() > kMaxNameLength ||
        name.find_first_of("/\\:!") != std::string::npos)
        return MakeOsError(function, name, StorageError::kInvalidName);
    return {};
}

std::unique_ptr<Storage> OpenRoot(std::shared_ptr<Image> image, unsigned mode,
                                  const std::string& path) {
    auto state = std::make_shared<State>();
    state->image = std::move(image);
    state->mode = mode;
    state->path = path;
    state->node =
        (mode & StorageMode::kTransacted) ? state->image->root->Clone() : state->image->root;
    return std::make_unique<TreeStorage>(state);
}

} // namespace compound
} // namespace kestrix
