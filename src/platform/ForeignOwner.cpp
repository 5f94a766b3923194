#include "platform/ForeignOwner.h"

#include <QTimer>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace navcal::platform {

#ifdef Q_OS_WIN

namespace {
HWND handle(quint32 window) {
    return reinterpret_cast<HWND>(quintptr(window));
}
} // namespace

ForeignOwner::ForeignOwner(QWidget& dialog, std::optional<quint32> owner) {
    if (!owner || !IsWindow(handle(*owner)))
        return;
    m_owner = *owner;
    // The toolkit sets a window's owner from its own windows each time it
    // shows one, clearing a foreign owner: it is set once the dialog is up.
    QTimer::singleShot(0, &dialog, [this, &dialog] {
        const HWND owner = handle(m_owner);
        if (!IsWindow(owner))
            return;
        SetWindowLongPtrW(reinterpret_cast<HWND>(dialog.winId()), GWLP_HWNDPARENT, LONG_PTR(owner));
        // EnableWindow returns whether the window was disabled before: one
        // that already was stays so afterwards.
        m_disabled = !EnableWindow(owner, FALSE);
        SetForegroundWindow(reinterpret_cast<HWND>(dialog.winId()));
    });
}

ForeignOwner::~ForeignOwner() {
    if (m_disabled && IsWindow(handle(m_owner)))
        EnableWindow(handle(m_owner), TRUE);
}

#else

ForeignOwner::ForeignOwner(QWidget&, std::optional<quint32>) {}
ForeignOwner::~ForeignOwner() = default;

#endif

} // namespace navcal::platform
