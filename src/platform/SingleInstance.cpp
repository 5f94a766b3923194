#include "platform/SingleInstance.h"

namespace navcal::platform {

bool SingleInstance::acquire() {
    const auto result = m_folder.isEmpty() ? m_lock.acquire() : m_lock.acquireIn(m_folder);
    return result != platform::SingleCopyLock::Result::Busy;
}

} // namespace navcal::platform
