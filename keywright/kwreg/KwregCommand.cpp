// `kwreg check FILE...` and `kwreg show FILE`.
#include "kwreg/KwregCommand.h"

#include "platform/Cp1252.h"
#include "preview/PreviewRows.h"
#include "preview/RE4Reader.h"

#include <memory>
#include <utility>

namespace keywright {

namespace {

constexpr char kUsage[] =
    "usage: kwreg check FILE...   says whether each registry file is valid\n"
    "       kwreg show FILE       prints its keys and values as the preview shows them\n";

// The tree's texts are in the program's code page; a terminal outside Windows wants UTF-8.
std::string ForTerminal(const std::string& text) {
#ifdef _WIN32
    return text;
#else
    return kestrix::Cp1252ToUtf8(text);
#endif
}

std::unique_ptr<CRE4Tree> Read(const std::string& path, std::uint32_t* line) {
    CRE4Reader reader(kRE4BufferSize, kRE4BufferSize, kRE4BufferSize, nullptr, 0, nullptr, nullptr,
                      nullptr, 0);
    std::unique_ptr<CRE4Tree> tree = reader.ParseFile(path.c_str());
    *line = reader.Line();
    return tree;
}

std::string InvalidLine(const std::string& path, std::uint32_t line) {
    return path + ": " + InvalidFileFormatText(line) + "\n";
}

int Check(const std::vector<std::string>& files, std::ostream& out) {
    int status = kKwregOk;
    for (const std::string& path : files) {
        std::uint32_t line = 0;
        const std::unique_ptr<CRE4Tree> tree = Read(path, &line);
        if (!tree) {
            out << InvalidLine(path, line);
            status = kKwregInvalid;
            continue;
        }
        out << path << ": " << tree->KeyCount() << " keys, " << tree->ValueCount() << " values\n";
    }
    out.flush();
    return status;
}

// Every key depth first, children in the tree's order, each followed by its list rows.
void Show(const CRE4Tree& tree, std::ostream& out) {
    struct Pending {
        std::string path;
        const CRE4Key* key;
    };
    ValueListReader values;
    // Walked with a stack of its own: a file may nest keys thousands deep.
    std::vector<Pending> stack;
    const auto pushChildren = [&](const CRE4Key* key, const std::string& prefix) {
        std::vector<PreviewChild> children = ChildrenOf(tree, key);
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            stack.push_back({prefix + child->name, child->key});
    };
    pushChildren(tree.Root(), "");
    while (!stack.empty()) {
        Pending next = std::move(stack.back());
        stack.pop_back();
        out << "[" << ForTerminal(next.path) << "]\n";
        if (!next.key)
            continue;
        for (const PreviewRow& row : values.Rows(tree, next.key))
            out << ForTerminal(row.name) << '\t' << ForTerminal(row.data) << '\n';
        pushChildren(next.key, next.path + "\\");
    }
    out.flush();
}

} // namespace

int RunKwreg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return kKwregOk;
    }
    if (args.size() >= 2 && args[0] == "check")
        return Check({args.begin() + 1, args.end()}, out);
    if (args.size() == 2 && args[0] == "show") {
        std::uint32_t line = 0;
        const std::unique_ptr<CRE4Tree> tree = Read(args[1], &line);
        if (!tree) {
            err << InvalidLine(args[1], line);
            return kKwregInvalid;
        }
        Show(*tree, out);
        return kKwregOk;
    }
    err << kUsage;
    return kKwregUsage;
}

} // namespace keywright
