// The wizard's rows: the change proposed for each hit of the search, its texts, the
// undo record an applied row carries, and which row is selected after a removal.
#pragma once

#include "host/LocationEncoding.h"
#include "registry/ReplaceAll.h"
#include "registry/RegistrySearch.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keywright {

enum UndoKind : int {
    kUndoKeyRenamed = 1,
    kUndoValueRenamed = 2,
    kUndoDataReplaced = 3, // the hit still holds the old type, size and data
};

struct UndoRecord {
    UndoKind kind = kUndoDataReplaced;
    std::string newKeyPath; // kind 1: the key's full path under its new name
    std::string oldName;    // kinds 1 and 2
    std::string newName;    // kind 2
    std::string newData;    // kind 3: what the apply wrote
};

enum class AppliedState : std::uint8_t { No, Yes, Failed, Undone, UndoFailed };

// One row of the result list; it owns its hit. The undo record is kept here rather
// than in the hit, so that it goes with the row.
struct ResultRow {
    std::unique_ptr<SearchHit> hit;
    std::string resultText; // column 0: the proposed result
    AppliedState applied = AppliedState::No;
    std::optional<UndoRecord> undo;
};

// How the wizard speaks: `bare` without owner and caption (the texts that tell the
// user to leave the wizard or that an apply stopped), `owned` in the add-in's box
// owned by the wizard.
struct WizardMessages {
    ShowText bare;
    ShowText owned;
};

// Room for names and strings: what the row shows, and what an apply writes.
constexpr std::size_t kRowKeyNameRoom = 8195;
constexpr std::size_t kRowTextRoom = 511;
constexpr std::size_t kApplyNameRoom = 2047;

// The string numbers of column 1 ("Key", "Value", "Data") and column 2.
unsigned TypeTextOf(const SearchHit& hit);
unsigned AppliedTextOf(AppliedState state);

// The last component of a full key path, and what comes before it with its backslash.
std::string_view KeyNameOf(std::string_view keyPath);
std::string_view ParentPathOf(std::string_view keyPath);

// A string value's text up to its first NUL (for a multi-string, its first string).
std::string_view FirstString(const SearchHit& hit);
// The strings of a multi-string, up to the empty one that ends the list.
std::vector<std::string_view> MultiStrings(const SearchHit& hit);

struct Replacement {
    std::string text;   // the whole result, or as much as fitted
    bool fitted = false;
    bool replaced = false;
};

// The hit's find text replaced in `source` under the rules of the search that found
// it (case, whole string), in at most `room` characters, each piece also handed to
// `segment`. With `showOld` the pieces are the matches themselves (the replacement is
// then the find text).
Replacement ReplaceForHit(const SearchHit& hit, std::string_view source, std::size_t room,
                          const SegmentCallback& segment = nullptr, bool showOld = false);
// The same without a limit.
std::string ReplaceWhole(const SearchHit& hit, std::string_view source,
                         const SegmentCallback& segment = nullptr, bool showOld = false);

// The row for a hit. A proposal that does not fit, or a name in which nothing would
// be replaced, is reported; the row still shows what fitted. A hit on a root key
// gives no row: a root cannot be renamed.
std::unique_ptr<ResultRow> MakeResultRow(std::unique_ptr<SearchHit> hit,
                                         const WizardMessages& messages);

// The row to select after removing the rows `removed` (ascending) from `countBefore`
// rows: the one now at the lowest removed position, or the last row when none is
// there any more; -1 when the list is empty.
int RowToSelectAfterRemove(const std::vector<int>& removed, int countBefore);

} // namespace keywright
