#pragma once

namespace navcal::design {

// The stored pictures live in a resource file linked into a static library,
// which the linker does not register on its own; this does, once.
void ensureResources();

} // namespace navcal::design
