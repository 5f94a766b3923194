#include "layout/Pointers.h"

#include "layout/Resources.h"

#include <QPixmap>

namespace navcal::layout {

QCursor pointerCursor(Pointer pointer) {
    ensureResources();
    switch (pointer) {
    case Pointer::Lifebuoy: {
        const QPixmap ring(QStringLiteral(":/lifebuoy-32.png"));
        if (!ring.isNull())
            return QCursor(ring, ring.width() / 2, ring.height() / 2);
        break;
    }
    case Pointer::Music: {
        const QPixmap notes(QStringLiteral(":/music-32.png"));
        if (!notes.isNull())
            return QCursor(notes, notes.width() / 2, notes.height() / 2);
        break;
    }
    case Pointer::Arrow:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

QIcon lifebuoyIcon() {
    ensureResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/lifebuoy-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/lifebuoy-16.png"), QSize(16, 16));
    return icon;
}

} // namespace navcal::layout
