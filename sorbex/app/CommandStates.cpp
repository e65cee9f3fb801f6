// The enabled state each control of a command was last given.
#include "app/CommandStates.h"

#include <utility>

namespace sorbex {

CCommandStates::CCommandStates(std::vector<CCommandBinding> bindings)
    : bindings_(std::move(bindings)), shown_(bindings_.size(), Shown::Unknown) {}

void CCommandStates::Update(const CCommandContext& context, const Show& show) {
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        const bool enabled = IsCommandEnabled(bindings_[i].command, context);
        const Shown now = enabled ? Shown::Enabled : Shown::Disabled;
        if (shown_[i] == now)
            continue;
        shown_[i] = now;
        show(bindings_[i].id, enabled);
    }
}

} // namespace sorbex
