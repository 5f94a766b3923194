#include "layout/Resources.h"

#include <QtGlobal>

static void registerStoredPictures() {
    Q_INIT_RESOURCE(navcal);
}

namespace navcal::layout {

void ensureResources() {
    static const bool registered = (registerStoredPictures(), true);
    Q_UNUSED(registered);
}

} // namespace navcal::layout
