// Tests of the definition pages' rules: the search method's check box and the choosers.
#include "app/DefinitionRules.h"

#include <gtest/gtest.h>

namespace sorbex {
namespace {

// Built in a function: GCC takes a brace-built string member of a case table for
// uninitialized at high optimisation.
CEditState Field(const std::string& text, std::size_t start, std::size_t end) {
    CEditState edit;
    edit.text = text;
    edit.selStart = start;
    edit.selEnd = end;
    return edit;
}

TEST(DefinitionRulesTest, PhoneticDisablesCaseSensitive) {
    EXPECT_TRUE(CaseSensitiveEnabled(kMethodStandard));
    EXPECT_FALSE(CaseSensitiveEnabled(kMethodPhonetic));
}

TEST(DefinitionRulesTest, LastDirectoryOfTheField) {
    struct Case {
        const char* field;
        const char* last;
    };
    const Case cases[] = {
        {"C:\\", "C:\\"},
        {"C:\\texts", "C:\\texts\\"},
        {"C:\\a | D:\\b", "D:\\b\\"},
        {"C:\\a|D:\\b\\ ", "D:\\b\\"},
        {"", ""},
        {" | ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(c.last, LastDirectory(c.field));
    }
}

TEST(DefinitionRulesTest, ChosenFilesGoIntoTheMaskField) {
    struct Case {
        const char* name;
        CEditState field;
        std::vector<std::string> names;
        const char* result;
    };
    const Case cases[] = {
        {"two files behind a mask without selection",
         Field("*.txt", 5, 5),
         {"a.doc", "b.rtf"},
         "*.txt | a.doc | b.rtf"},
        {"a selection is replaced whole", Field("*.txt", 0, 2), {"a.doc"}, "a.doc"},
        {"an empty field takes the names", Field("", 0, 0), {"a.doc"}, "a.doc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CEditState after = ApplyChosenFiles(c.field, c.names);
        EXPECT_EQ(c.result, after.text);
        EXPECT_EQ(after.text.size(), after.selStart);
    }
    EXPECT_EQ("C:\\a | D:\\b", ApplyChosenFolder(Field("C:\\a", 4, 4), "D:\\b").text);
    EXPECT_EQ("D:\\b", ApplyChosenFolder(Field("C:\\a", 0, 4), "D:\\b").text);
}

TEST(DefinitionRulesTest, FolderOfChosenFilesAndDialogAnswers) {
    EXPECT_FALSE(ChosenFolderDiffers("c:\\TEXTS", "D:\\x | C:\\texts\\"));
    EXPECT_TRUE(ChosenFolderDiffers("C:\\texts\\old", "C:\\texts"));
    EXPECT_TRUE(ChosenFolderDiffers("C:\\texts", ""));

    const CChosenFiles one = SplitChosenFiles({"C:\\texts\\a.txt"});
    EXPECT_EQ("C:\\texts", one.folder);
    EXPECT_EQ(std::vector<std::string>{"a.txt"}, one.names);
    const CChosenFiles root = SplitChosenFiles({"C:\\a.txt"});
    EXPECT_EQ("C:\\", root.folder);
    const CChosenFiles several = SplitChosenFiles({"C:\\texts", "a.txt", "b.txt"});
    EXPECT_EQ("C:\\texts", several.folder);
    EXPECT_EQ((std::vector<std::string>{"a.txt", "b.txt"}), several.names);
    EXPECT_TRUE(SplitChosenFiles({}).names.empty());

    const auto filters = FileChooserFilters();
    ASSERT_EQ(2u, filters.size());
    EXPECT_EQ("All Files (*.*)", filters[0].first);
    EXPECT_EQ("*.*", filters[0].second);
    EXPECT_EQ("Text Documents (*.txt)", filters[1].first);
    EXPECT_EQ("*.txt", filters[1].second);
}

} // namespace
} // namespace sorbex
