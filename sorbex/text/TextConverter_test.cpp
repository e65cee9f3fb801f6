// Tests of the converter entries: display text, extension match and discovery.
#include "text/TextConverter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "platform/memory/MemoryRegistry.h"
#include "text/TextConverterList.h"

namespace sorbex {
namespace {

class NoLoader : public CConverterLoader {
public:
    std::unique_ptr<CConverterModule> Load(const std::string&) override { return nullptr; }
};

// A converter's RTF arrives in pieces as small as it likes. Growing the room by a fixed
// step copied the whole output again for every step: 16 MB in 1 KB pieces moved
// gigabytes. Growing it geometrically keeps the copies within a small multiple.
TEST(TextConverterTest, OutputInSmallPiecesIsCopiedAFewTimesInAll) {
    const std::string piece(1024, 'r');
    constexpr std::size_t kPieces = 16 * 1024;
    std::string output;
    std::size_t copied = 0;
    int growths = 0;
    for (std::size_t k = 0; k < kPieces; ++k) {
        const std::size_t room = output.capacity();
        AppendConverterOutput(output, piece.data(), piece.size());
        if (output.capacity() != room) {
            copied += k * piece.size();
            ++growths;
        }
    }
    EXPECT_EQ(kPieces * piece.size(), output.size());
    EXPECT_EQ(std::string::npos, output.find_first_not_of('r'));
    EXPECT_LE(copied, 3 * output.size());
    EXPECT_LE(growths, 40);

    // One piece bigger than all the room there is gets it at once.
    std::string big;
    const std::string chunk(100000, 'x');
    AppendConverterOutput(big, "{", 1);
    AppendConverterOutput(big, chunk.data(), chunk.size());
    EXPECT_EQ("{" + chunk, big);
}

TEST(TextConverterTest, DisplayTextAndExtensionMatch) {
    NoLoader loader;
    const CTextConverter both(loader, "c:\\conv\\foo.cnv", "Foo", "doc WPD");
    const CTextConverter none(loader, "c:\\conv\\bar.cnv", "Bar", "");
    EXPECT_EQ("DOC WPD", both.extensions());
    EXPECT_EQ("Foo (*.doc;*.wpd)", both.DisplayText());
    EXPECT_EQ("Bar", none.DisplayText());

    struct Case {
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"report.Doc", true},   {"a.b.wpd", true},    {"x.docx", false}, {"x.do", false},
        {"noextension", false}, {"trailing.", false}, {"doc", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.matches, both.MatchesExtension(FileExtension(c.name)));
    }
    EXPECT_FALSE(none.MatchesExtension(""));
}

class ConverterDiscoveryTest : public ::testing::Test {
protected:
    void Register(kestrix::RegKey root, const std::string& key, const char* name,
                  const char* extensions, const char* path) {
        kestrix::RegKey handle = 0;
        ASSERT_EQ(kestrix::kErrorSuccess, registry.CreateKey(root, key.c_str(), &handle));
        const std::pair<const char*, const char*> values[] = {
            {"Name", name}, {"Extensions", extensions}, {"Path", path}};
        for (const auto& value : values) {
            if (value.second)
                registry.SetValue(handle, value.first, kestrix::kRegSz, value.second,
                                  static_cast<std::uint32_t>(std::strlen(value.second) + 1));
        }
        registry.CloseKey(handle);
    }
    std::vector<std::string> Names() {
        list.Build(registry, loader, [this](const std::string& p) { return files.count(p) > 0; });
        std::vector<std::string> names;
        for (std::size_t i = 0; i < list.size(); ++i)
            names.push_back(list[i].name());
        return names;
    }

    kestrix::MemoryRegistry registry;
    NoLoader loader;
    CTextConverterList list;
    std::set<std::string> files{"c:\\a.cnv", "c:\\b.cnv", "c:\\c.cnv"};
};

TEST_F(ConverterDiscoveryTest, ReadsTheThreeKeysInOrderAndKeepsOnlyCompleteEntries) {
    const std::string machine = kConverterRegistryKeys[0].path;
    const std::string office = kConverterRegistryKeys[1].path;
    const std::string word = kConverterRegistryKeys[2].path;
    Register(kestrix::kHkeyCurrentUser, word + "\\W", "Word7", "doc", "c:\\a.cnv");
    Register(kestrix::kHkeyCurrentUser, office + "\\O", "Office", "wpd", "c:\\b.cnv");
    Register(kestrix::kHkeyLocalMachine, machine + "\\B", "MachineB", "doc", "c:\\a.cnv");
    Register(kestrix::kHkeyLocalMachine, machine + "\\A", "MachineA", "txt wri", "c:\\c.cnv");
    Register(kestrix::kHkeyLocalMachine, machine + "\\EmptyExt", "E", "", "c:\\a.cnv");
    Register(kestrix::kHkeyLocalMachine, machine + "\\NoName", nullptr, "doc", "c:\\a.cnv");
    Register(kestrix::kHkeyLocalMachine, machine + "\\Missing", "M", "doc", "c:\\gone.cnv");
    Register(kestrix::kHkeyLocalMachine, machine + "\\Denied", "D", "doc", "c:\\a.cnv");
    ASSERT_EQ(kestrix::kErrorSuccess,
              registry.Deny(kestrix::kHkeyLocalMachine, (machine + "\\Denied").c_str(),
                            kestrix::MemoryDenial::All));

    const std::vector<std::string> expected = {"MachineA", "MachineB", "Office", "Word7"};
    EXPECT_EQ(expected, Names());
    EXPECT_EQ("c:\\a.cnv", list[3].path());
    EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(ConverterDiscoveryTest, ValuesThatAreNoTextOrLackTheirNulAreHandledSafely) {
    const std::string machine = kConverterRegistryKeys[0].path;
    Register(kestrix::kHkeyLocalMachine, machine + "\\Raw", "Raw", "doc", nullptr);
    kestrix::RegKey key = 0;
    ASSERT_EQ(kestrix::kErrorSuccess,
              registry.OpenKey(kestrix::kHkeyLocalMachine, (machine + "\\Raw").c_str(),
                               kestrix::RegAccess::ReadWrite, &key));
    // Stored without its terminating NUL.
    registry.SetValue(key, "Path", kestrix::kRegSz, "c:\\b.cnv", 8);
    registry.SetValue(key, "Extensions", kestrix::kRegSz, "doc", 3);
    registry.CloseKey(key);
    Register(kestrix::kHkeyLocalMachine, machine + "\\Number", "Number", "doc", "c:\\a.cnv");
    ASSERT_EQ(kestrix::kErrorSuccess,
              registry.OpenKey(kestrix::kHkeyLocalMachine, (machine + "\\Number").c_str(),
                               kestrix::RegAccess::ReadWrite, &key));
    const std::uint32_t number = 7;
    registry.SetValue(key, "Path", kestrix::kRegDword, &number, sizeof number);
    registry.CloseKey(key);

    EXPECT_EQ(std::vector<std::string>{"Raw"}, Names());
    EXPECT_EQ("c:\\b.cnv", list[0].path());
    EXPECT_TRUE(list[0].MatchesExtension("doc"));
}

} // namespace
} // namespace sorbex
