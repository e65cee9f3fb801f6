// The profile: named values in sections, and the text encoding of each kind of value.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "search/ProfileSettings.h"
#include "viewer/ViewerFont.h"

namespace sorbex {

// Where profile values are kept: the profile file, through the system's profile
// functions, in the windowed program; a map in tests. Every value is text.
class CProfileStore {
public:
    virtual ~CProfileStore() = default;

    // False when the key is missing; an empty value is a present value.
    virtual bool Read(const std::string& section, const std::string& key, std::string& value) = 0;
    virtual void Write(const std::string& section, const std::string& key,
                       const std::string& value) = 0;
    virtual void Remove(const std::string& section, const std::string& key) = 0;
};

class CMemoryProfileStore : public CProfileStore {
public:
    bool Read(const std::string& section, const std::string& key, std::string& value) override;
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override;
    void Remove(const std::string& section, const std::string& key) override;

    // Every value, for tests that look at what was written.
    const std::map<std::pair<std::string, std::string>, std::string>& values() const {
        return values_;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

// A window's placement as the profile keeps it: flags, show command, minimised and
// maximised positions, and the normal rectangle.
struct CWindowPlacementValue {
    unsigned flags = 0;
    unsigned showCommand = 0;
    int minX = 0;
    int minY = 0;
    int maxX = 0;
    int maxY = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const CWindowPlacementValue& other) const;
};

// The placement flag that makes a restored window come back maximised.
constexpr unsigned kPlacementRestoreToMaximized = 2;

// The encodings, one per kind of value. A parse fails on anything that is not
// wholly a value of its kind, so that the caller falls back to the default.
bool ParseProfileNumber(const std::string& text, long& value);
std::string FormatProfileDouble(double value);
bool ParseProfileDouble(const std::string& text, double& value);
std::string FormatNumberList(const std::vector<long>& values);
// True only when `text` holds exactly `count` numbers.
bool ParseNumberList(const std::string& text, std::size_t count, std::vector<long>& values);
std::string FormatPlacement(const CWindowPlacementValue& placement);
// True only when all ten numbers are present.
bool ParsePlacement(const std::string& text, CWindowPlacementValue& placement);

// Typed access to a store: values are read when needed and written at once. An
// unreadable value yields its default; nothing here reports an error.
class CProfile : public CProfileSettings {
public:
    explicit CProfile(CProfileStore& store) : store_(store) {}

    int GetInt(const std::string& section, const std::string& key, int fallback) override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback);
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

    // An empty or unreadable value yields the default.
    double GetDouble(const std::string& section, const std::string& key, double fallback);
    void WriteDouble(const std::string& section, const std::string& key, double value);

    // `values` holds the defaults on entry; they are replaced only by a complete list
    // of values.size() numbers. Returns whether the stored list was complete.
    bool GetNumberList(const std::string& section, const std::string& key,
                       std::vector<long>& values);
    void WriteNumberList(const std::string& section, const std::string& key,
                         const std::vector<long>& values);

    bool GetPlacement(const std::string& section, const std::string& key,
                      CWindowPlacementValue& placement);
    void WritePlacement(const std::string& section, const std::string& key,
                        const CWindowPlacementValue& placement);

    // Entries base1, base2, ... up to the first missing or empty one.
    std::vector<std::string> GetTextList(const std::string& section, const std::string& base);
    // Writes entries 1 to min(list size, maxCount); with `deleteHigher` the entries
    // above them are removed, otherwise they stay as they are.
    void WriteTextList(const std::string& section, const std::string& base,
                       const std::vector<std::string>& list, std::size_t maxCount,
                       bool deleteHigher);

    CViewerFont GetFont(const std::string& section);
    void WriteFont(const std::string& section, const CViewerFont& font);

    CProfileStore& store() { return store_; }

private:
    CProfileStore& store_;
};

} // namespace sorbex
