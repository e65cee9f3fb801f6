// The enabled state each control of a command was last given, so that a bar is told only
// what changed: every message to a control costs, and most updates change nothing (a run
// asks for one at its start, its end and after each command).
#pragma once

#include <functional>
#include <vector>

#include "app/CommandRules.h"

namespace sorbex {

// A control that carries a command: a toolbar button or a dialog's button, by its id.
struct CCommandBinding {
    int id;
    CCommand command;
};

class CCommandStates {
public:
    using Show = std::function<void(int id, bool enabled)>;

    explicit CCommandStates(std::vector<CCommandBinding> bindings = {});

    // Works out every bound command's state in `context` and calls `show` for each control
    // whose state differs from the one it was last given (every control, the first time).
    void Update(const CCommandContext& context, const Show& show);

private:
    enum class Shown : signed char { Unknown, Disabled, Enabled };
    std::vector<CCommandBinding> bindings_;
    std::vector<Shown> shown_;
};

} // namespace sorbex
