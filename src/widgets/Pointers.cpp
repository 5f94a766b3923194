#include "widgets/Pointers.h"

#include "design/Resources.h"

#include <QCoreApplication>
#include <QHash>
#include <QPixmap>

namespace navcal::widgets {

using design::Pointer;

namespace {

QCursor makeCursor(Pointer pointer) {
    design::ensureResources();
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

// Hundreds of controls share three pointers: each is made once per
// application and let go with it.
QHash<int, QCursor>* madeCursors = nullptr;

} // namespace

QCursor pointerCursor(Pointer pointer) {
    if (!madeCursors) {
        madeCursors = new QHash<int, QCursor>;
        qAddPostRoutine([] {
            delete madeCursors;
            madeCursors = nullptr;
        });
    }
    const auto it = madeCursors->constFind(int(pointer));
    if (it != madeCursors->constEnd())
        return *it;
    return *madeCursors->insert(int(pointer), makeCursor(pointer));
}

QIcon lifebuoyIcon() {
    design::ensureResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/lifebuoy-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/lifebuoy-16.png"), QSize(16, 16));
    return icon;
}

} // namespace navcal::widgets
