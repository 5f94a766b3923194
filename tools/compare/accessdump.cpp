// A generic Qt plugin for tools/compare-behaviour.sh: loaded into any Qt
// program through QT_QPA_GENERIC_PLUGINS=navcalaccessdump:DIR, it writes the
// program's accessibility tree to DIR when asked, once the tree has stood
// still for a while. It reads only what a screen reader gets (Qt's public
// QAccessible interfaces, walked from the application object down), so the
// dump does not depend on the program's own classes.
//
// Asking: write a tag (letters, digits, '-', '_', '.') into DIR/request. When
// the tree has not changed for QUIET_MS (the program at rest) the plugin writes
//   DIR/TAG.tree   every node in tree order, indented by depth;
//   DIR/TAG.nodes  the top-level windows and the leaves (what a reader
//                  announces), one line each, top to bottom, left to right;
// and removes DIR/request. Each line: role | name | description | x,y wxh
// in screen pixels, with "| invisible" for a hidden node.

#include <QAccessible>
#include <QAccessibleInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGenericPlugin>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>
#include <algorithm>

namespace {

// Longer than the slowest periodic change of a program at rest that is still
// on its way there (a timer of 1.5 s that places a banner on its second tick).
constexpr qint64 kDefaultQuietMs = 3000;
constexpr int kPollMs = 200;
constexpr int kMaxDepth = 32;

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
        connect(&m_poll, &QTimer::timeout, this, &AccessDump::poll);
        m_poll.start(kPollMs);
    }

  private:
    void poll() {
        QList<Node> nodes;
        walk(QAccessible::queryAccessibleInterface(qApp), 0, nodes);
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
        if (!shown || m_still.elapsed() < m_quietMs)
            return;
        QFile request(m_dir.filePath(QStringLiteral("request")));
        if (!request.open(QIODevice::ReadOnly))
            return;
        const QString tag = QString::fromUtf8(request.read(256)).trimmed();
        request.close();
        static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9._-]+$"));
        if (!safe.match(tag).hasMatch() || tag.startsWith('.'))
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
