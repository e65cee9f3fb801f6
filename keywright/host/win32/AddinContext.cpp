// The process-wide record of the editor.
#include "host/win32/AddinContext.h"

namespace keywright {

AddinContext& Addin() {
    static AddinContext context;
    return context;
}

} // namespace keywright
