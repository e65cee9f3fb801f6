// Fuzz target: the registry-file reader on arbitrary bytes, in both formats, and the
// preview's walk over what it builds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "preview/PreviewRows.h"
#include "preview/RE4Reader.h"
#include "preview/RE4TestText.h"

namespace {

struct Progress {
    std::uint32_t size = 0;
    static void Report(std::uint32_t position, std::uint32_t size, void* context) {
        auto* progress = static_cast<Progress*>(context);
        // Positions count bytes read, never more than the file has.
        if (position > size || (progress->size != 0 && size != progress->size))
            std::abort();
        progress->size = size;
    }
};

void Trace(const char* line, void*) {
    if (!line)
        std::abort();
}

// Every key and every row, as the preview's tree and list would show them.
void Walk(const keywright::CRE4Tree& tree) {
    keywright::ValueListReader values;
    std::vector<const keywright::CRE4Key*> pending{tree.Root()};
    while (!pending.empty()) {
        const keywright::CRE4Key* key = pending.back();
        pending.pop_back();
        values.Rows(tree, key);
        for (const keywright::PreviewChild& child : keywright::ChildrenOf(tree, key))
            if (child.key)
                pending.push_back(child.key);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using keywright::CRE4Reader;
    Progress progress;
    CRE4Reader reader(keywright::kRE4BufferSize, keywright::kRE4BufferSize,
                      keywright::kRE4BufferSize, Progress::Report, 0, &progress, Trace, nullptr,
                      keywright::kRE4TraceTokens | keywright::kRE4TraceProductions);
    const auto tree = reader.ParseBytes(data, size);
    // A failure names a line of the input.
    std::size_t lines = 1;
    for (std::size_t i = 0; i < size; ++i)
        lines += data[i] == '\n' ? 1 : 0;
    if (reader.Line() < 1 || reader.Line() > lines)
        std::abort();
    if ((tree != nullptr) != (reader.Error() == keywright::RE4Error::kNone))
        std::abort();
    if (tree)
        Walk(*tree);

    // With small buffers the reader refuses more, but what it accepts it reads alike.
    CRE4Reader small(3, 24, 20, nullptr, 0, nullptr, nullptr, nullptr, 0);
    const auto smallTree = small.ParseBytes(data, size);
    if (smallTree &&
        (!tree || keywright::testing::DumpTree(*smallTree) != keywright::testing::DumpTree(*tree)))
        std::abort();
    return 0;
}
