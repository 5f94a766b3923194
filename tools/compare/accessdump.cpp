// A generic Qt plugin for the recorded scenarios' player: loaded into any Qt
// program through QT_QPA_GENERIC_PLUGINS=navcalaccessdump:DIR, it writes the
// program's accessibility tree to DIR when asked, once the tree has stood
// still for a while. It reads only what a screen reader gets (Qt's public
// QAccessible interfaces, walked from the application object down), so the
// dump does not depend on the program's own classes.
//
// Asking: write a tag (letters, digits, '-', '_', '.'), optionally followed by
// a quiet time in ms, into DIR/request. When the tree has not changed for the
// quiet time, counted from the request at the earliest (the program at rest
// after what was done before asking), the plugin writes
//   DIR/TAG.tree   every node in tree order, indented by depth;
//   DIR/TAG.nodes  the top-level windows and the leaves (what a reader
//                  announces), one line each, top to bottom, left to right;
// and removes DIR/request. Each line: role | name | description | x,y wxh
// in screen pixels, with "| invisible" for a hidden node.
//
// Hovering: after each tooltip event the toolkit sends (the pointer has rested
// on a widget), once the tooltip has settled, the plugin appends one line to
// DIR/hovers: "x,y | tip | text | x,y wxh | pointer | shape", the pointer's
// place in screen pixels, the tooltip shown (role ToolTip; "-" for none) and
// the pointer shape the window system was given for the window there.

#include <QAccessible>
#include <QAccessibleInterface>
#include <QCryptographicHash>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QGenericPlugin>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QMetaEnum>
#include <QPixmap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {

// Longer than the slowest periodic change of a program at rest that is still
// on its way there (a timer of 1.5 s that places a banner on its second tick).
constexpr qint64 kDefaultQuietMs = 3000;
constexpr int kPollMs = 200;
constexpr int kMaxDepth = 32;
// Longer than the toolkit's delay before a replaced tooltip hides (300 ms).
constexpr int kTipSettleMs = 450;

QString escaped(QString text) {
    text.replace('\\', QLatin1String("\\\\"));
    text.replace('\n', QLatin1String("\\n"));
    text.replace('\r', QLatin1String("\\r"));
    text.replace('\t', QLatin1String("\\t"));
    text.replace('|', QLatin1String("\\|"));
    return text;
}

struct Node {
    int depth = 0;
    bool leaf = true;
    QRect rect;
    QString line;
};

void walk(QAccessibleInterface* node, int depth, QList<Node>& out) {
    if (!node || !node->isValid() || depth > kMaxDepth)
        return;
    static const QMetaEnum roles = QMetaEnum::fromType<QAccessible::Role>();
    const QRect r = node->rect();
    const char* role = roles.valueToKey(node->role());
    QString line = QStringLiteral("%1 | %2 | %3 | %4,%5 %6x%7")
                       .arg(role ? QLatin1String(role) : QLatin1String("?"))
                       .arg(escaped(node->text(QAccessible::Name)))
                       .arg(node->role() == QAccessible::Application
                                ? QString() // the program's path, which differs between builds
                                : escaped(node->text(QAccessible::Description)))
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height());
    if (node->state().invisible)
        line += QLatin1String(" | invisible");
    const int count = node->childCount();
    out.append({depth, count == 0, r, line});
    for (int i = 0; i < count; ++i)
        walk(node->child(i), depth + 1, out);
}

class AccessDump : public QObject {
  public:
    explicit AccessDump(const QString& dir) : m_dir(dir) {
        bool ok = false;
        const qint64 quiet = qEnvironmentVariableIntValue("NAVCAL_ACCESSDUMP_QUIET_MS", &ok);
        m_quietMs = ok && quiet > 0 ? quiet : kDefaultQuietMs;
        m_still.start();
        qApp->installEventFilter(this);
        connect(&m_poll, &QTimer::timeout, this, &AccessDump::poll);
        m_poll.start(kPollMs);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The event goes to the widget under the pointer and on to its
        // parents: one line per resting place.
        if (event->type() == QEvent::ToolTip && !m_tipPending) {
            m_tipPending = true;
            const QPoint at = static_cast<QHelpEvent*>(event)->globalPos();
            QTimer::singleShot(kTipSettleMs, this, [this, at] { hovered(at); });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void hovered(QPoint at) {
        m_tipPending = false;
        QString tip = QStringLiteral("- | -");
        QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
        for (int i = 0; app && i < app->childCount(); ++i) {
            QAccessibleInterface* top = app->child(i);
            if (top && top->role() == QAccessible::ToolTip && !top->state().invisible) {
                const QRect r = top->rect();
                tip = QStringLiteral("%1 | %2,%3 %4x%5")
                          .arg(escaped(top->text(QAccessible::Name)))
                          .arg(r.x())
                          .arg(r.y())
                          .arg(r.width())
                          .arg(r.height());
            }
        }
        QString shape = QStringLiteral("-");
        if (const QCursor* over = QGuiApplication::overrideCursor())
            shape = described(*over);
        else if (QWindow* window = QGuiApplication::topLevelAt(at))
            shape = described(window->cursor());
        QFile log(m_dir.filePath(QStringLiteral("hovers")));
        if (log.open(QIODevice::Append))
            log.write(QStringLiteral("%1,%2 | tip | %3 | pointer | %4\n")
                          .arg(at.x())
                          .arg(at.y())
                          .arg(tip, shape)
                          .toUtf8());
    }

    // A standard shape by its name; a picture by its size, hot spot and a
    // file of its own (pointer-CHECKSUM.png) beside the dumps, to be looked at.
    QString described(const QCursor& cursor) const {
        static const QMetaEnum shapes = QMetaEnum::fromType<Qt::CursorShape>();
        if (cursor.shape() != Qt::BitmapCursor)
            return QLatin1String(shapes.valueToKey(cursor.shape()));
        const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        // Named by the premultiplied pixels the pointer is drawn from: undoing
        // the premultiplication rounds differently on different processors.
        const QImage drawn =
            cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QByteArray pixels(reinterpret_cast<const char*>(drawn.constBits()),
                                drawn.sizeInBytes());
        const QString name =
            QStringLiteral("pointer-%1.png")
                .arg(QString::fromLatin1(
                    QCryptographicHash::hash(pixels, QCryptographicHash::Sha1).toHex().left(10)));
        if (!m_dir.exists(name))
            image.save(m_dir.filePath(name));
        return QStringLiteral("picture %1x%2 hot %3,%4 %5")
            .arg(image.width())
            .arg(image.height())
            .arg(cursor.hotSpot().x())
            .arg(cursor.hotSpot().y())
            .arg(name);
    }

    void poll() {
        QList<Node> nodes;
        walk(QAccessible::queryAccessibleInterface(qApp), 0, nodes);
        // A window inside a host's lent window is no top-level of the
        // program's: walked as one all the same.
        for (QWindow* window : QGuiApplication::allWindows())
            if (window->parent() && window->parent()->type() == Qt::ForeignWindow)
                walk(window->accessibleRoot(), 1, nodes);
        QString tree;
        for (const Node& n : nodes)
            tree += QString(n.depth * 2, ' ') + n.line + '\n';
        if (tree != m_tree) {
            m_tree = tree;
            m_still.restart();
        }
        // Before the first window exists the tree is still, but not at rest.
        const bool shown = std::any_of(nodes.cbegin(), nodes.cend(), [](const Node& n) {
            return n.depth == 1 && !n.leaf && !n.line.endsWith(QLatin1String("| invisible"));
        });
        if (!shown)
            return;
        QFile request(m_dir.filePath(QStringLiteral("request")));
        if (!request.open(QIODevice::ReadOnly))
            return;
        const QStringList asked = QString::fromUtf8(request.read(256)).simplified().split(' ');
        request.close();
        const QString tag = asked.value(0);
        static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9._-]+$"));
        if (!safe.match(tag).hasMatch() || tag.startsWith('.'))
            return;
        bool ok = false;
        const qint64 quiet = asked.value(1).toLongLong(&ok);
        if (tag != m_asked) { // the quiet time counts from the request at the earliest
            m_asked = tag;
            m_still.restart();
        }
        if (m_still.elapsed() < (ok && quiet > 0 ? quiet : m_quietMs))
            return;

        QList<Node> spoken;
        for (const Node& n : nodes)
            if (n.depth == 1 || (n.depth > 1 && n.leaf))
                spoken.append(n);
        std::stable_sort(spoken.begin(), spoken.end(), [](const Node& a, const Node& b) {
            if (a.rect.y() != b.rect.y())
                return a.rect.y() < b.rect.y();
            if (a.rect.x() != b.rect.x())
                return a.rect.x() < b.rect.x();
            return a.line < b.line;
        });
        QString list;
        for (const Node& n : spoken)
            list += n.line + '\n';
        if (write(tag + QLatin1String(".tree"), tree) && write(tag + QLatin1String(".nodes"), list))
            QFile::remove(request.fileName());
    }

    bool write(const QString& name, const QString& text) const {
        QSaveFile file(m_dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
    }

    QDir m_dir;
    qint64 m_quietMs = kDefaultQuietMs;
    QString m_tree;
    QString m_asked;
    bool m_tipPending = false;
    QElapsedTimer m_still;
    QTimer m_poll;
};

} // namespace

class AccessDumpPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "accessdump.json")
  public:
    QObject* create(const QString& key, const QString& target) override {
        if (key.compare(QLatin1String("navcalaccessdump"), Qt::CaseInsensitive) != 0 ||
            target.isEmpty())
            return nullptr;
        return new AccessDump(target);
    }
};

#include "accessdump.moc"
