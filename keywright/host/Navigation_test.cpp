// Navigation over a scripted tree and value list: which keys are expanded and
// selected, which value is selected, what the user is told and what is logged.
#include "host/Navigation.h"

#include "host/FakeKeyTree.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace keywright {
namespace {

class FakeList : public ValueList {
public:
    explicit FakeList(std::vector<std::string> names)
        : names(std::move(names)), selected(this->names.size(), true) {}
    int ItemCount() override { return static_cast<int>(names.size()); }
    std::string ItemText(int i) override { return names[i]; }
    void SetSelected(int i, bool on) override { selected[i] = on; }
    void EnsureVisible(int) override {}
    std::vector<std::string> names;
    std::vector<bool> selected;
};

class FakeHost : public NavigationHost {
public:
    void ShowMessage(const std::string& text) override { events.push_back("message " + text); }
    void FocusTree() override { events.push_back("focus tree"); }
    void FocusList() override { events.push_back("focus list"); }
    void WaitForValueList() override { events.push_back("wait"); }
    std::vector<std::string> events;
};

class RecordingLog : public DebugLog {
public:
    void Write(const std::string& text, bool endLine) override {
        pending += std::string(pending.empty() ? indent : 0, ' ') + text;
        if (endLine) {
            lines.push_back(pending);
            pending.clear();
        }
    }
    void Indent(int delta) override { indent += delta; }
    std::vector<std::string> lines;
    std::string pending;
    int indent = 0;
};

const std::vector<std::string> kKeys = {
    "My Computer",
    "My Computer\\HKEY_CLASSES_ROOT",
    "My Computer\\HKEY_CLASSES_ROOT\\MIME",
    "My Computer\\HKEY_CLASSES_ROOT\\MIME\\Database",
    "My Computer\\HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type",
    "My Computer\\HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type\\text/plain",
    "My Computer\\HKEY_LOCAL_MACHINE",
    "My Computer\\HKEY_LOCAL_MACHINE\\Software",
    "My Computer\\HKEY_LOCAL_MACHINE\\Software\\Vendor",
    "My Computer\\HKEY_USERS",
    "My Computer\\HKEY_USERS\\.DEFAULT",
};

TEST(Navigation, SelectsTheKeyOfEveryLocationForm) {
    struct Case {
        const char* location;
        std::string selected;
    } cases[] = {
        {"reg:HKLM\\Software", "My Computer\\HKEY_LOCAL_MACHINE\\Software"},
        {"reg:/HKEY_LOCAL_MACHINE/Software", "My Computer\\HKEY_LOCAL_MACHINE\\Software"},
        {"reg:hklm\\SOFTWARE\\vendor", "My Computer\\HKEY_LOCAL_MACHINE\\Software\\Vendor"},
        {"reg:HKU\\.DEFAULT", "My Computer\\HKEY_USERS\\.DEFAULT"},
        {"reg:HKCR/MIME/Database/Content Type/text/plain", kKeys[5]},
        {"My Computer\\HKEY_USERS", "My Computer\\HKEY_USERS"},
        // A root key's path ends in a backslash; the root itself is selected.
        {"My Computer\\HKEY_LOCAL_MACHINE\\", "My Computer\\HKEY_LOCAL_MACHINE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        FakeKeyTree tree(kKeys);
        FakeList list({});
        FakeHost host;
        auto request = MakeGotoRequest(c.location, "", "My Computer", nullptr);
        ASSERT_TRUE(request);
        EXPECT_EQ(NavigationResult::kDone, Navigate(*request, tree, list, host, nullptr));
        ASSERT_FALSE(tree.calls.empty());
        EXPECT_EQ("select " + c.selected, tree.calls.back());
        EXPECT_EQ(std::vector<std::string>{"focus tree"}, host.events);
    }
}

TEST(Navigation, FailuresTellTheUserWhatWasNotFound) {
    struct Case {
        const char* location;
        const char* value;
        NavigationResult result;
        std::vector<std::string> events;
        std::vector<std::string> treeCalls;
    } cases[] = {
        {"reg:HKXX\\Software",
         "",
         NavigationResult::kInvalidKey,
         {"message Invalid key : HKXX"},
         {}},
        {"reg:HKLM\\Software\\Nope\\Deeper",
         "",
         NavigationResult::kKeyNotFound,
         {"message Key not found : My Computer\\HKEY_LOCAL_MACHINE\\Software\\Nope"},
         {"expand My Computer", "expand My Computer\\HKEY_LOCAL_MACHINE",
          "expand My Computer\\HKEY_LOCAL_MACHINE\\Software"}},
        {"Elsewhere\\HKEY_USERS",
         "",
         NavigationResult::kKeyNotFound,
         {"message Key not found : Elsewhere"},
         {}},
        {"reg:HKLM\\Software",
         "Missing",
         NavigationResult::kValueNotFound,
         {"focus tree", "wait", "message Value not found : Missing"},
         {"expand My Computer", "expand My Computer\\HKEY_LOCAL_MACHINE",
          "select My Computer\\HKEY_LOCAL_MACHINE\\Software"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        FakeKeyTree tree(kKeys);
        FakeList list({"(Default)", "Version"});
        FakeHost host;
        auto request = MakeGotoRequest(c.location, c.value, "My Computer", nullptr);
        ASSERT_TRUE(request);
        EXPECT_EQ(c.result, Navigate(*request, tree, list, host, nullptr));
        EXPECT_EQ(c.events, host.events);
        EXPECT_EQ(c.treeCalls, tree.calls);
    }
}

TEST(Navigation, SelectsEveryItemOfTheValueNameAndNoOther) {
    struct Case {
        const char* value;
        std::vector<bool> selected;
    } cases[] = {
        {"(default)", {true, false, false, false}},
        {"version", {false, true, false, true}},
        {"a:b", {false, false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        FakeKeyTree tree(kKeys);
        FakeList list({"(Default)", "Version", "a:b", "VERSION"});
        FakeHost host;
        auto request = MakeGotoRequest("reg:HKLM\\Software", c.value, "My Computer", nullptr);
        ASSERT_TRUE(request);
        EXPECT_EQ(NavigationResult::kDone, Navigate(*request, tree, list, host, nullptr));
        EXPECT_EQ(c.selected, list.selected);
        EXPECT_EQ((std::vector<std::string>{"focus tree", "wait", "focus list"}), host.events);
    }
}

TEST(Navigation, LogsEachStepIndentedByDepth) {
    FakeKeyTree tree(kKeys);
    FakeList list({"(Default)"});
    FakeHost host;
    RecordingLog log;
    auto request = MakeGotoRequest("reg:HKLM/Nope", "", "My Computer", &log);
    ASSERT_TRUE(request);
    Navigate(*request, tree, list, host, &log);
    EXPECT_EQ((std::vector<std::string>{
                  "",
                  "------------------------------------",
                  "Func: GotoURL",
                  "reg:HKLM/Nope",
                  "",
                  "Expanding abbreviation : HKLM -> HKEY_LOCAL_MACHINE",
                  "   Trying backslash locate : My Computer  ... Found",
                  "      Trying backslash locate : HKEY_LOCAL_MACHINE  ... Found",
                  "         Trying backslash locate : Nope  ... Not Found",
                  "         Trying forward slash locate : Nope  ... Not Found",
              }),
              log.lines);
    EXPECT_EQ(0, log.indent);

    log.lines.clear();
    LocateValue(list, "(DEFAULT)", &log);
    LocateValue(list, "gone", &log);
    EXPECT_EQ((std::vector<std::string>{"Locating value : (DEFAULT) ... found.",
                                        "Locating value : gone ... not found."}),
              log.lines);
}

} // namespace
} // namespace keywright
