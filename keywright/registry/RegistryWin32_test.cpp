// The search and the key operations against the system registry, whose aliases
// and sizes are the real ones; everything is written below scratch keys that the
// tests remove again.
#include "registry/KeyOperations.h"
#include "registry/RegistrySearch.h"

#include "platform/ScopedRegKey.h"
#include "platform/win32/Win32Registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

using namespace kestrix;

constexpr char kLocal[] = "My Computer";

struct Rows {
    std::vector<std::string> rows;
    static void OnHit(void* context, std::unique_ptr<SearchHit> hit) {
        static_cast<Rows*>(context)->rows.push_back(std::to_string(hit->flags) + "|" +
                                                    hit->keyPath + "|" + hit->valueName);
    }
};

class SystemRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        id_ = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
        scratch_ = "Software\\KestrixTest\\" + id_;
        access_.registry = &reg_;
        access_.rootText = kLocal;
        access_.showMessage = [this](const std::string& text) { messages_.push_back(text); };
    }
    void TearDown() override {
        for (const auto& [root, path] : cleanup_) {
            std::size_t slash = path.rfind('\\');
            ScopedRegKey parent(reg_);
            if (!reg_.OpenKey(root, path.substr(0, slash).c_str(), RegAccess::ReadWrite,
                              parent.Receive()))
                DestroyKey(reg_, parent.get(), path.substr(slash + 1));
        }
        reg_.DeleteKey(kHkeyCurrentUser, "Software\\KestrixTest");
    }

    void Set(RegKey root, const std::string& key, const char* name, std::uint32_t type,
             const std::string& bytes) {
        ScopedRegKey k(reg_);
        ASSERT_EQ(kErrorSuccess, reg_.CreateKey(root, key.c_str(), k.Receive()));
        if (name) {
            ASSERT_EQ(kErrorSuccess, reg_.SetValue(k.get(), name, type, bytes.data(),
                                                   std::uint32_t(bytes.size())));
        }
    }

    std::string Read(const std::string& key, const char* name, std::uint32_t* type) {
        ScopedRegKey k(reg_);
        std::vector<char> data(100000);
        std::uint32_t size = std::uint32_t(data.size());
        if (reg_.OpenKey(kHkeyCurrentUser, key.c_str(), RegAccess::Read, k.Receive()) ||
            reg_.QueryValue(k.get(), name, type, data.data(), &size))
            return "<missing>";
        return std::string(data.data(), size);
    }

    // A search on the system registry that reports to the test's message list.
    SearchEnvironment Environment() {
        SearchEnvironment env;
        env.registry = &reg_;
        env.rootText = kLocal;
        env.showMessage = access_.showMessage;
        return env;
    }

    std::vector<std::string> SearchFor(const std::string& text,
                                       const std::vector<std::string>& roots,
                                       void (*adjust)(RegistrySearch&) = nullptr) {
        RegistrySearch search(Environment());
        Rows rows;
        search.callbackContext = &rows;
        search.hitCallback = &Rows::OnHit;
        search.searchText = text;
        search.wholeRegistry = true;
        search.computers = {{kLocal, roots}};
        if (adjust)
            adjust(search);
        EXPECT_TRUE(Start(search));
        search.Wait();
        return rows.rows;
    }

    Win32Registry reg_;
    RegistryAccess access_;
    std::string id_, scratch_;
    std::vector<std::string> messages_;
    std::vector<std::pair<RegKey, std::string>> cleanup_;
};

TEST_F(SystemRegistry, RenameKeepsATreeWithLargeValuesByteForByte) {
    cleanup_.emplace_back(kHkeyCurrentUser, scratch_);
    std::string big(70000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = char(i * 13);
    Set(kHkeyCurrentUser, scratch_ + "\\Old\\L1\\L2", "Big", kRegBinary, big);
    Set(kHkeyCurrentUser, scratch_ + "\\Old\\L1", "Multi", kRegMultiSz,
        std::string("a\0bb\0ccc\0\0", 10));
    Set(kHkeyCurrentUser, scratch_ + "\\Old", "", kRegSz, std::string("top\0", 4));
    std::string path = std::string(kLocal) + "\\HKEY_CURRENT_USER\\" + scratch_;

    EXPECT_EQ(0, RenameKey(access_, path + "\\Old", "In\\side"));
    ASSERT_EQ(1, RenameKey(access_, path + "\\Old", "New"));
    std::uint32_t type = 0;
    EXPECT_EQ(big, Read(scratch_ + "\\New\\L1\\L2", "Big", &type));
    EXPECT_EQ(kRegBinary, type);
    EXPECT_EQ(std::string("a\0bb\0ccc\0\0", 10), Read(scratch_ + "\\New\\L1", "Multi", &type));
    EXPECT_EQ(std::string("top\0", 4), Read(scratch_ + "\\New", "", &type));
    EXPECT_EQ("<missing>", Read(scratch_ + "\\Old", "", &type));

    ASSERT_EQ(1, ReplaceInData(access_, path + "\\New\\L1", "Multi", kRegMultiSz, 10,
                               "a\0bb\0ccc\0\0", "B", "xyz", false));
    EXPECT_EQ(std::string("a\0xyzxyz\0ccc\0\0", 14), Read(scratch_ + "\\New\\L1", "Multi", &type));
    ASSERT_EQ(1, RenameValue(access_, path + "\\New\\L1\\L2", "Big", "Bigger"));
    EXPECT_EQ(big, Read(scratch_ + "\\New\\L1\\L2", "Bigger", &type));
    ASSERT_EQ(1, messages_.size());
}

TEST_F(SystemRegistry, TheCurrentUsersHiveIsReportedOnceUnderHkcu) {
    cleanup_.emplace_back(kHkeyCurrentUser, scratch_);
    std::string term = "KwTerm" + id_;
    Set(kHkeyCurrentUser, scratch_ + "\\" + term, nullptr, 0, {});
    std::vector<std::string> roots = {"HKEY_CURRENT_USER", "HKEY_USERS"};
    std::vector<std::string> rows = SearchFor(term, roots);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("1|" + std::string(kLocal) + "\\HKEY_CURRENT_USER\\" + scratch_ + "\\" + term + "|",
              rows[0]);
    rows = SearchFor(term, roots, [](RegistrySearch& s) { s.suppressHkcu = false; });
    ASSERT_EQ(2u, rows.size());
    EXPECT_NE(std::string::npos, rows[1].find("\\HKEY_USERS\\S-"));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(SystemRegistry, ClassesAreReportedUnderHkcrOnly) {
    std::string term = "KwClass" + id_;
    ScopedRegKey probe(reg_);
    if (reg_.CreateKey(kHkeyLocalMachine, ("Software\\Classes\\" + term).c_str(),
                       probe.Receive()) == kErrorAccessDenied)
        GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
    probe.Close();
    cleanup_.emplace_back(kHkeyLocalMachine, "Software\\Classes\\" + term);
    auto keysOnly = [](RegistrySearch& s) { s.searchValues = s.searchData = false; };
    std::vector<std::string> rows =
        SearchFor(term, {"HKEY_CLASSES_ROOT", "HKEY_LOCAL_MACHINE"}, keysOnly);
    EXPECT_EQ(
        std::vector<std::string>{"1|" + std::string(kLocal) + "\\HKEY_CLASSES_ROOT\\" + term + "|"},
        rows);
}

TEST_F(SystemRegistry, AnotherComputerCannotBeReached) {
    RegistrySearch search(Environment());
    search.searchText = "x";
    search.computerName = "KESTRIX-NO-SUCH-HOST.invalid";
    search.rootName = "HKEY_LOCAL_MACHINE";
    search.rootHandle = kHkeyLocalMachine;
    search.startSubkey = "Software";
    ASSERT_TRUE(Start(search));
    search.Wait();
    EXPECT_EQ(std::vector<std::string>{"Error opening remote machine root: Software"}, messages_);
    messages_.clear();
    EXPECT_EQ(0, RenameKey(access_, "KESTRIX-NO-SUCH-HOST.invalid\\HKEY_CURRENT_USER\\A", "B"));
    EXPECT_TRUE(messages_.empty());
}

} // namespace
} // namespace keywright
