#pragma once

// Helpers shared by the month panel tests: drive the fills as their timers
// would, and read a panel as the user meets it: captions and tooltips from the
// accessible tree, colours and today's frame from the drawn pixels.

#include "support/TestServices.h"

#include <QAccessible>
#include <QImage>
#include <QString>
#include <QTest>
#include <QVector>
#include <algorithm>
#include <map>

namespace navcal::test {

constexpr QRgb none = 0; // nothing drawn
constexpr QRgb black = 0x000000;
constexpr QRgb red = 0xFF0000;
constexpr QRgb blue = 0x0000FF;
constexpr QRgb yellow = 0xFFFF00;
constexpr QRgb green = 0x008000; // the palette's colour for 0.15
constexpr QRgb grey = 0x808080;  // and for 0.5

// Every month filled: its last day shown where a written calendar puts it
// (the cells after it stay empty from the fill's first step).
inline bool filled(const TestWindow& w) {
    QWidget& form = *w.window;
    const int year = w.clock.now().date().year();
    for (int month = 1; month <= 12; ++month) {
        const QDate last = QDate(year, month, 1).addMonths(1).addDays(-1);
        // Monday-first weeks: the 1st in cell 0 when it is a Monday.
        const int cell = QDate(year, month, 1).dayOfWeek() - 1 + last.day() - 1;
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(monthView(form, month))
                                         ->child(panels::MonthView::kFirstCell + cell);
        if (node->text(QAccessible::Name) != QString::number(last.day()))
            return false;
    }
    return true;
}

// A left click on a month's title where it is drawn.
inline void clickTitle(QWidget& form, int month) {
    panels::MonthView& view = *monthView(form, month);
    QTest::mouseClick(&view, Qt::LeftButton, {},
                      view.partPixels(0).topLeft() - view.pos() + QPoint(2, 2));
}

// Lets the heartbeat run until every month is filled; whether they were
// within ten seconds.
inline bool runAllFills(const TestWindow& w) {
    return QTest::qWaitFor([&w] { return filled(w); }, 10000);
}

// What a cell shows.
struct Look {
    QString caption;
    QString tip;
    QRgb ink = 0;        // the colour most of its opaque pixels have; 0: nothing drawn
    bool framed = false; // an opaque line all round its edge
    bool operator==(const Look&) const = default;
};

inline QRgb inkOf(const QImage& image) {
    std::map<QRgb, int> counts{{0, 0}};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb p = image.pixel(x, y); qAlpha(p) == 255)
                ++counts[p & 0xFFFFFF];
    return std::max_element(counts.begin(), counts.end(),
                            [](auto& a, auto& b) { return a.second < b.second; })
        ->first;
}

inline bool framedAllRound(const QImage& image) {
    const int w = image.width(), h = image.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x % (w - 1) == 0 || y % (h - 1) == 0) && qAlpha(image.pixel(x, y)) != 255)
                return false;
    return true;
}

// A panel's part (0: title, 1..7: headers, 8..44: cells) in the accessible
// tree and as drawn.
inline Look partLook(panels::MonthView& view, const QImage& drawn, int part) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(&view)->child(part);
    const QImage box = drawn.copy(view.partPixels(part).translated(-view.pos()));
    return {node->text(QAccessible::Name), node->text(QAccessible::Description), inkOf(box),
            framedAllRound(box)};
}

// The 37 cells of a month, in order.
inline QVector<Look> panelLook(QWidget& form, int month) {
    panels::MonthView& view = *monthView(form, month);
    const QImage drawn = view.grab().toImage();
    QVector<Look> looks;
    for (int i = 0; i < panels::MonthView::kParts - panels::MonthView::kFirstCell; ++i)
        looks << partLook(view, drawn, panels::MonthView::kFirstCell + i);
    return looks;
}

} // namespace navcal::test
