// The deterministic automaton of a pattern (gnulib's dfa module) and the fixed strings
// that every match of a pattern contains.
#include "engine/DfaSearcher.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "engine/GnuRegex.h"

// dfa.h is C; these come from gnulib's config.h, which stays out of C++.
#define FLEXIBLE_ARRAY_MEMBER
#define _Noreturn __attribute__((__noreturn__))
#define _GL_ATTRIBUTE_PURE __attribute__((__pure__))
#include <dfa.h>
#undef _GL_ATTRIBUTE_PURE
#undef _Noreturn
extern "C" {
#include <localeinfo.h>
}

namespace sorbex {
namespace {

constexpr reg_syntax_t kSyntax = RE_CONTEXT_INDEP_ANCHORS | RE_CONTEXT_INDEP_OPS |
                                 RE_HAT_LISTS_NOT_NEWLINE | RE_INTERVALS | RE_NEWLINE_ALT |
                                 RE_NO_BK_BRACES | RE_NO_BK_PARENS | RE_NO_BK_VBAR;

// The dfa module reports a pattern it cannot parse through dfaerror and a failed
// allocation through xalloc_die, and neither may return; gnulib's own versions end the
// process. Ours jump back to the guard around the call into the module, which turns
// the failure into a status. Only C frames of the module and the guard's own frame
// (which holds nothing with a destructor) lie between, so the jump skips no cleanup
// of ours; what the module allocated up to a parse error is still reachable from the
// dfa and freed by dfafree, which is why a parse error leaves it usable for freeing.
enum GuardFailure { kNoFailure = 0, kParseError = 1, kNoMemory = 2 };

thread_local std::jmp_buf* activeGuard = nullptr;

using GuardedStep = void (*)(void* context);

GuardFailure RunGuarded(GuardedStep step, void* context) {
    std::jmp_buf target;
    std::jmp_buf* const outer = activeGuard;
    activeGuard = &target;
    GuardFailure failure = kNoFailure;
    switch (setjmp(target)) {
    case 0:
        step(context);
        break;
    case kNoMemory:
        failure = kNoMemory;
        break;
    default:
        failure = kParseError;
        break;
    }
    activeGuard = outer;
    return failure;
}

[[noreturn]] void JumpToGuard(GuardFailure failure) {
    if (activeGuard == nullptr) {
        std::abort(); // the module is only ever called through RunGuarded
    }
    std::longjmp(*activeGuard, failure);
}

struct DfaDeleter {
    void operator()(::dfa* automaton) const {
        dfafree(automaton);
        std::free(automaton);
    }
};
using DfaPtr = std::unique_ptr<::dfa, DfaDeleter>;

// gnulib widens wint_t in its own headers where the platform's is 16 bits (mingw), so
// the module's localeinfo may be larger than the one declared here; it gets room for
// 32-bit characters. dfasyntax copies it into the dfa.
struct LocaleRoom {
    alignas(std::max_align_t) unsigned char bytes[4 + 256 + 4 * 256 + 64];
};
static_assert(sizeof(localeinfo) <= sizeof(LocaleRoom), "room for the module's localeinfo");

struct ParseStep {
    const std::string* pattern;
    bool compile; // dfacomp for searching; otherwise dfaparse only (for dfamust)
    ::dfa* automaton = nullptr;
    LocaleRoom locale{};
};

void RunParse(void* context) {
    auto* step = static_cast<ParseStep*>(context);
    auto* locale = reinterpret_cast<localeinfo*>(step->locale.bytes);
    init_localeinfo(locale);
    step->automaton = dfaalloc();
    dfasyntax(step->automaton, locale, kSyntax, 0);
    const auto length = static_cast<idx_t>(step->pattern->size());
    if (step->compile) {
        dfacomp(step->pattern->data(), length, step->automaton, true);
    } else {
        dfaparse(step->pattern->data(), length, step->automaton);
    }
}

// Parses or compiles `pattern`; on a parse error the half-built dfa is freed, after a
// failed allocation it is left alone, as its state is unknown.
DfaStatus Parse(const std::string& pattern, bool compile, DfaPtr& automaton) {
    ParseStep step;
    step.pattern = &pattern;
    step.compile = compile;
    switch (RunGuarded(RunParse, &step)) {
    case kNoFailure:
        automaton.reset(step.automaton);
        return DfaStatus::kOk;
    case kParseError:
        if (step.automaton != nullptr) {
            DfaDeleter()(step.automaton);
        }
        return DfaStatus::kRejected;
    default:
        return DfaStatus::kOutOfMemory;
    }
}

struct ExecStep {
    ::dfa* automaton;
    const char* begin;
    char* end;
    const char* result = nullptr;
};

void RunExec(void* context) {
    auto* step = static_cast<ExecStep*>(context);
    bool backref = false;
    step->result = dfaexec(step->automaton, step->begin, step->end, false, nullptr, &backref);
}

struct MustStep {
    ::dfa* automaton;
    struct dfamust* must = nullptr;
};

void RunMust(void* context) {
    auto* step = static_cast<MustStep*>(context);
    step->must = dfamust(step->automaton);
}

// Scanning starts with a small chunk, so that a match near the start costs little, and
// doubles it while nothing is found.
constexpr std::size_t kFirstChunk = 512;
constexpr std::size_t kLargestChunk = 1 << 20;
// A line longer than this is passed without a look: copying it costs more than the
// library's own search does.
constexpr std::size_t kLongestLine = 64 << 20;

} // namespace

CDfaSearcher::~CDfaSearcher() {
    if (automaton != nullptr && !failed) {
        DfaDeleter()(automaton);
    }
}

DfaStatus CDfaSearcher::Build(const std::string& pattern, std::unique_ptr<CDfaSearcher>& searcher) {
    DfaPtr compiled;
    const DfaStatus status = Parse(pattern, true, compiled);
    if (status != DfaStatus::kOk) {
        return status;
    }
    // A pattern with back-references compiles to an automaton that passes every line;
    // its superset, which reads a back-reference as any text, still skips lines.
    ::dfa* searched = dfasupported(compiled.get()) ? compiled.get() : dfasuperset(compiled.get());
    if (searched == nullptr) {
        return DfaStatus::kRejected;
    }
    searcher.reset(new CDfaSearcher());
    searcher->automaton = compiled.release();
    searcher->searched = searched;
    return DfaStatus::kOk;
}

std::ptrdiff_t CDfaSearcher::Scan(const char* from, std::size_t length, const unsigned char* fold) {
    // dfaexec writes a sentinel after the last byte, and the text is not ours to write.
    if (scratch.size() < length + 1) {
        scratch.resize(length + 1);
    }
    char* copy = scratch.data();
    if (fold != nullptr) {
        for (std::size_t i = 0; i < length; ++i) {
            copy[i] = static_cast<char>(fold[static_cast<unsigned char>(from[i])]);
        }
    } else {
        std::memcpy(copy, from, length);
    }
    ExecStep step{searched, copy, copy + length};
    if (RunGuarded(RunExec, &step) != kNoFailure) {
        failed = true;
        return 0;
    }
    if (step.result == nullptr) {
        return -1;
    }
    return std::min<std::ptrdiff_t>(step.result - copy, static_cast<std::ptrdiff_t>(length));
}

const char* CDfaSearcher::FirstMatchingLine(const char* from, const char* end,
                                            const unsigned char* fold) {
    std::size_t chunk = kFirstChunk;
    const char* start = from;
    while (start < end) {
        if (failed) {
            return start;
        }
        // The chunk ends after a line feed or at the end of the range.
        const char* chunkEnd = end;
        if (static_cast<std::size_t>(end - start) > chunk) {
            const void* feed = std::memchr(start + chunk - 1, '\n',
                                           static_cast<std::size_t>(end - (start + chunk - 1)));
            chunkEnd = feed != nullptr ? static_cast<const char*>(feed) + 1 : end;
        }
        const auto length = static_cast<std::size_t>(chunkEnd - start);
        if (length > kLongestLine) {
            return start;
        }
        const std::ptrdiff_t matchEnd = Scan(start, length, fold);
        if (matchEnd >= 0) {
            // The match ends at matchEnd and holds no line feed; a line feed right at
            // matchEnd ends the match's own line.
            const char* line = start;
            for (std::ptrdiff_t i = matchEnd; i > 0; --i) {
                if (start[i - 1] == '\n') {
                    line = start + i;
                    break;
                }
            }
            // After a final line feed the range holds no further line, empty or not.
            return line < end ? line : nullptr;
        }
        start = chunkEnd;
        chunk = std::min(chunk * 2, kLargestChunk);
    }
    return nullptr;
}

DfaStatus FindMustStrings(const std::vector<std::string>& alternatives, CMustStrings& musts) {
    musts = {};
    bool exact = true;
    std::vector<std::string> strings;
    for (const std::string& alternative : alternatives) {
        DfaPtr parsed;
        const DfaStatus status = Parse(alternative, false, parsed);
        if (status != DfaStatus::kOk) {
            return status;
        }
        MustStep step{parsed.get()};
        const GuardFailure failure = RunGuarded(RunMust, &step);
        if (failure != kNoFailure) {
            parsed.release(); // state unknown after a failed allocation
            return failure == kNoMemory ? DfaStatus::kOutOfMemory : DfaStatus::kRejected;
        }
        if (step.must == nullptr) {
            return DfaStatus::kOk; // this alternative has no fixed string: no keywords
        }
        const struct dfamust* must = step.must;
        std::string text(must->must);
        exact = exact && must->exact && !must->begline && !must->endline;
        dfamustfree(step.must);
        if (text.empty() || text.find('\n') != std::string::npos) {
            return DfaStatus::kOk;
        }
        strings.push_back(std::move(text));
    }
    musts.strings = std::move(strings);
    musts.exact = exact && !musts.strings.empty();
    return DfaStatus::kOk;
}

} // namespace sorbex

// The module's error hooks (see RunGuarded).
extern "C" void dfaerror(const char* /*message*/) {
    sorbex::JumpToGuard(sorbex::kParseError);
}

extern "C" void dfawarn(const char* /*message*/) {}

extern "C" [[noreturn]] void xalloc_die(void) {
    sorbex::JumpToGuard(sorbex::kNoMemory);
}
