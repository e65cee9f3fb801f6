// The registry search's worker: the walk over computers, roots and keys, the
// duplicate tests, the value and data search, and the records it reports.
#include "registry/RegistrySearch.h"

#include "host/AsciiCase.h"
#include "host/RootKeys.h"
#include "platform/ScopedRegKey.h"
#include "strings/KeywrightStrings.h"

#include <chrono>

namespace keywright {

using kestrix::kErrorMoreData;
using kestrix::kErrorSuccess;
using kestrix::RegAccess;
using kestrix::Registry;
using kestrix::RegKey;
using kestrix::ScopedRegKey;

namespace {

constexpr std::uint32_t kKeyNameBuffer = 261;
constexpr std::uint32_t kValueNameBuffer = 512;
// Value names may be up to 16383 characters; a longer one must not end the walk
// over the key's values.
constexpr std::uint32_t kLongValueNameBuffer = 16384 + 1;
constexpr std::uint32_t kFirstDataBuffer = 512;
constexpr std::size_t kMaxSearchText = 255;
constexpr char kDefaultValueText[] = "(Default)";

bool IsStringType(std::uint32_t type) {
    return type == kestrix::kRegSz || type == kestrix::kRegExpandSz || type == kestrix::kRegMultiSz;
}

class SearchWorker {
public:
    explicit SearchWorker(RegistrySearch& search)
        : s_(search), registry_(*search.environment.registry) {}

    void Run() {
        Progress(kSearchStarted);
        bool stopped = s_.wholeRegistry ? SearchWholeRegistry() : SearchSelection();
        Progress(stopped ? kSearchInterrupted : kSearchCompleted);
        SendDone();
    }

private:
    // Returns true when stopped (or, for a selection, when it could not start).
    bool SearchWholeRegistry() {
        for (const SearchComputer& computer : s_.computers)
            if (SearchComputerRoots(computer, true))
                return true;
        return false;
    }

    bool SearchSelection() {
        if (s_.rootName.empty()) {
            for (const SearchComputer& computer : s_.computers)
                if (SearchComputerRoots(computer, false))
                    return true;
            return false;
        }
        computer_ = s_.computerName;
        root_ = s_.rootName;
        local_ = s_.computerName == s_.environment.rootText;
        suppress_ = false;
        s_.atHklm = s_.atHku = false;
        ScopedRegKey remote(registry_);
        RegKey root = s_.rootHandle;
        if (!local_) {
            *remote.Receive() = ConnectRemoteRoot(registry_, s_.computerName, s_.rootHandle);
            root = remote.get();
            if (root == 0) {
                Show(KeywrightStringWith(kStrRemoteRootError, s_.startSubkey));
                return true;
            }
        }
        ScopedRegKey start(registry_);
        RegKey key = root;
        if (!s_.startSubkey.empty()) {
            if (registry_.OpenKey(root, s_.startSubkey.c_str(), RegAccess::Read, start.Receive())) {
                Show(KeywrightStringWith(kStrOpenKeyError, s_.startSubkey));
                return true;
            }
            key = start.get();
        }
        std::size_t slash = s_.startSubkey.rfind('\\');
        std::string name =
            slash == std::string::npos ? s_.startSubkey : s_.startSubkey.substr(slash + 1);
        return Traverse(key, s_.startSubkey, name, 0) != 0;
    }

    bool RootWanted(const std::string& name) const {
        const struct {
            const char* name;
            bool on;
        } flags[] = {
            {"HKEY_CLASSES_ROOT", s_.hkcr},   {"HKEY_CURRENT_USER", s_.hkcu},
            {"HKEY_LOCAL_MACHINE", s_.hklm},  {"HKEY_USERS", s_.hku},
            {"HKEY_CURRENT_CONFIG", s_.hkcc}, {"HKEY_DYN_DATA", s_.hkdd},
        };
        for (const auto& flag : flags)
            if (EqualsNoCase(name, flag.name))
                return flag.on;
        return false;
    }

    bool SearchComputerRoots(const SearchComputer& computer, bool filterRoots) {
        computer_ = computer.name;
        local_ = computer.name == s_.environment.rootText;
        suppress_ = local_;
        for (const std::string& rootName : computer.roots) {
            if (filterRoots && !RootWanted(rootName))
                continue;
            const RootKey* entry = RootKeyByFullName(rootName);
            RegKey handle = entry ? entry->handle : 0;
            ScopedRegKey remote(registry_);
            if (handle && !local_) {
                *remote.Receive() = ConnectRemoteRoot(registry_, computer.name, handle);
                handle = remote.get();
            }
            if (handle == 0) {
                Show(KeywrightString(kStrRemoteKeyError));
                continue;
            }
            root_ = rootName;
            s_.atHklm = local_ && entry->handle == kestrix::kHkeyLocalMachine;
            s_.atHku = local_ && entry->handle == kestrix::kHkeyUsers;
            s_.markerWritten = false;
            if (s_.atHku && (s_.currentUserOnly || (s_.hkcu && s_.hku && s_.suppressHkcu)))
                WriteMarker();
            int stopped = Traverse(handle, "", rootName, 0);
            if (s_.markerWritten &&
                registry_.DeleteValue(kestrix::kHkeyCurrentUser, markerName_.c_str()))
                Show(KeywrightString(kStrMarkerNotRemoved));
            s_.markerWritten = false;
            s_.atHklm = s_.atHku = false;
            if (stopped)
                return true;
        }
        return false;
    }

    void WriteMarker() {
        auto tick = s_.environment.tickCount;
        s_.markerNumber = tick ? tick()
                               : static_cast<std::uint32_t>(
                                     std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now().time_since_epoch())
                                         .count());
        markerName_ = std::to_string(s_.markerNumber);
        std::uint32_t data = s_.markerNumber;
        s_.markerWritten =
            registry_.SetValue(kestrix::kHkeyCurrentUser, markerName_.c_str(), kestrix::kRegDword,
                               &data, sizeof data) == kErrorSuccess;
    }

    bool HoldsMarker(RegKey key) {
        return s_.markerWritten && registry_.QueryValue(key, markerName_.c_str(), nullptr, nullptr,
                                                        nullptr) == kErrorSuccess;
    }

    bool IsDuplicate(RegKey key, const std::string& path, const std::string& name, int depth) {
        if (!suppress_)
            return false;
        int level = depth + 1;
        if (level == 2 && s_.atHku) {
            if (!s_.currentUserOnly)
                return s_.hkcu && s_.hku && s_.suppressHkcu && HoldsMarker(key);
            return s_.hkcu || !HoldsMarker(key);
        }
        if (level == 3 && s_.atHklm && s_.hkcr && s_.suppressHkcr)
            return EqualsNoCase(name, "Classes") && EqualsNoCase(path, "\\Software\\Classes");
        if (level == 5 && s_.atHklm && s_.hkcc && s_.suppressHkcc)
            return EqualsNoCase(name, "Current") &&
                   EqualsNoCase(path, "\\System\\CurrentControlSet\\Hardware Profiles\\Current");
        return false;
    }

    // Post-order: a key's subtree is reported before the key. Returns 1 when stopped.
    int Traverse(RegKey key, const std::string& path, const std::string& name, int depth) {
        if (IsDuplicate(key, path, name, depth))
            return 0;
        Progress(kSearchRunning);
        char subkey[kKeyNameBuffer];
        for (std::uint32_t i = 0;; ++i) {
            if (s_.stopEvent.exchange(false))
                return 1;
            std::uint32_t size = sizeof subkey;
            if (registry_.EnumKey(key, i, subkey, &size) != kErrorSuccess)
                break;
            ScopedRegKey child(registry_);
            if (registry_.OpenKey(key, subkey, RegAccess::Read, child.Receive()))
                continue; // an unreadable key hides nothing beside it
            std::string childName(subkey, size);
            if (Traverse(child.get(), path + "\\" + childName, childName, depth + 1))
                return 1;
        }
        if (s_.searchKeys)
            ++s_.counters.keysVisited;
        if (s_.searchValues || s_.searchData)
            SearchValues(key, path);
        if (s_.searchKeys && Match(s_.wholeString, s_.matchCase, name, s_.comparisonText))
            ReportHit(kHitKeyName, path, std::string(), nullptr);
        return 0;
    }

    void SearchValues(RegKey key, const std::string& path) {
        std::vector<char> name(kValueNameBuffer);
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t size = static_cast<std::uint32_t>(name.size());
            std::uint32_t type = 0;
            long rc = registry_.EnumValue(key, i, name.data(), &size, &type, nullptr, nullptr);
            if (rc == kErrorMoreData && name.size() < kLongValueNameBuffer) {
                name.resize(kLongValueNameBuffer);
                size = static_cast<std::uint32_t>(name.size());
                rc = registry_.EnumValue(key, i, name.data(), &size, &type, nullptr, nullptr);
            }
            ++s_.counters.valuesVisited;
            if (rc != kErrorSuccess)
                return;
            Progress(kSearchRunning);
            std::string valueName(name.data(), size);
            // The search's own marker is no part of the user's data.
            if (s_.markerWritten && type == kestrix::kRegDword && valueName == markerName_)
                continue;
            if (s_.searchData && IsStringType(type)) {
                SearchData(key, path, valueName);
                ++s_.counters.dataExamined;
            }
            if (s_.searchValues &&
                Match(s_.wholeString, s_.matchCase, valueName, s_.comparisonText))
                ReportHit(kHitValueName, path, valueName.empty() ? kDefaultValueText : valueName,
                          nullptr);
        }
    }

    void SearchData(RegKey key, const std::string& path, const std::string& valueName) {
        std::vector<unsigned char> data(kFirstDataBuffer);
        std::uint32_t type = 0, size = 0;
        long rc;
        for (;;) {
            size = static_cast<std::uint32_t>(data.size());
            rc = registry_.QueryValue(key, valueName.c_str(), &type, data.data(), &size);
            if (rc != kErrorMoreData || data.size() >= (std::size_t{1} << 30))
                break;
            data.resize(data.size() * 2);
        }
        if (rc != kErrorSuccess) {
            Show(KeywrightString(kStrValueDataError));
            return;
        }
        if (size == 0 || !IsStringType(type))
            return;
        data.resize(size);
        std::string_view all(reinterpret_cast<const char*>(data.data()), size);
        std::uint32_t offset = 0;
        bool hit = false;
        if (type == kestrix::kRegMultiSz) {
            for (std::size_t at = 0; at < all.size() && !hit;) {
                std::size_t end = all.find('\0', at);
                std::string_view piece =
                    all.substr(at, end == std::string_view::npos ? end : end - at);
                if (piece.empty())
                    break;
                if (Match(s_.wholeString, s_.matchCase, piece, s_.comparisonText)) {
                    hit = true;
                    offset = static_cast<std::uint32_t>(at);
                }
                at += piece.size() + 1;
            }
        } else {
            hit = Match(s_.wholeString, s_.matchCase, all.substr(0, all.find('\0')),
                        s_.comparisonText);
        }
        if (!hit)
            return;
        DataHit found{type, size, offset, std::move(data)};
        ReportHit(kHitData, path, valueName.empty() ? kDefaultValueText : valueName, &found);
    }

    struct DataHit {
        std::uint32_t type, size, offset;
        std::vector<unsigned char> bytes;
    };

    void ReportHit(std::uint32_t flag, const std::string& path, const std::string& valueName,
                   DataHit* data) {
        if (!s_.hitCallback)
            return;
        auto hit = std::make_unique<SearchHit>();
        hit->flags = flag;
        if (flag == kHitKeyName)
            ++s_.counters.keysFound;
        else if (flag == kHitValueName)
            ++s_.counters.valuesFound;
        else
            ++s_.counters.dataFound;
        hit->keyPath = computer_ + "\\" + root_;
        if (path.empty() || path[0] != '\\')
            hit->keyPath += "\\";
        hit->keyPath += path;
        hit->valueName = valueName;
        if (data) {
            hit->type = data->type;
            hit->size = data->size;
            hit->matchOffset = data->offset;
            hit->data = std::move(data->bytes);
        }
        hit->searchText = s_.searchText;
        hit->replacementText = s_.replacementText;
        s_.hitCallback(s_.callbackContext, std::move(hit));
    }

    void Progress(int kind) {
        if (s_.progressCallback)
            s_.progressCallback(s_.callbackContext, SearchProgress{kind, s_.counters});
    }

    void Show(const std::string& text) {
        if (s_.environment.showMessage)
            s_.environment.showMessage(text);
    }

    void SendDone() {
        if (s_.environment.sendDone)
            s_.environment.sendDone(s_.callbackContext);
    }

    RegistrySearch& s_;
    Registry& registry_;
    std::string computer_, root_, markerName_;
    bool local_ = true;
    bool suppress_ = false;
};

} // namespace

RegistrySearch::RegistrySearch(SearchEnvironment env) : environment(std::move(env)) {}

RegistrySearch::~RegistrySearch() {
    Wait();
}

void RegistrySearch::Wait() {
    if (ownWorker_.joinable())
        ownWorker_.join();
}

std::string UpperAscii(std::string text) {
    for (char& c : text)
        c = AsciiUpper(c);
    return text;
}

bool Match(bool wholeString, bool matchCase, std::string_view candidate,
           std::string_view comparisonText) {
    std::string folded;
    if (!matchCase) {
        folded = UpperAscii(std::string(candidate));
        candidate = folded;
    }
    if (wholeString)
        return candidate == comparisonText;
    return candidate.find(comparisonText) != std::string_view::npos;
}

bool Start(RegistrySearch& search) {
    if (search.searchText.empty()) {
        if (search.environment.showMessage)
            search.environment.showMessage(KeywrightString(kStrNoSearchString));
        return false;
    }
    if (search.searchText.size() > kMaxSearchText)
        search.searchText.resize(kMaxSearchText);
    search.comparisonText = search.matchCase ? search.searchText : UpperAscii(search.searchText);
    search.counters = SearchCounters{};
    // A stop that arrived after the last search ended must not end this one at once.
    search.stopEvent = false;
    auto worker = [&search] { RunRegistrySearch(search); };
    if (search.environment.startThread)
        return search.environment.startThread(worker);
    search.Wait();
    search.ownWorker_ = std::thread(worker);
    return true;
}

void Stop(RegistrySearch& search) {
    search.stopEvent = true;
}

void RunRegistrySearch(RegistrySearch& search) {
    SearchWorker(search).Run();
}

} // namespace keywright
