#include "design/Resources.h"

#include <QtGlobal>

static void registerStoredPictures() {
    Q_INIT_RESOURCE(navcal);
}

namespace navcal::design {

void ensureResources() {
    static const bool registered = (registerStoredPictures(), true);
    Q_UNUSED(registered);
}

} // namespace navcal::design
