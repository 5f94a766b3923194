#include "yearout/PrintedYear.h"

#include "app/Controls.h"
#include "calendar/HolidayNames.h"
#include "calendar/MonthModel.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>
#include <QTextLayout>
#include <QWidget>
#include <memory>

namespace navcal::yearout {

namespace {

// The panels are laid out this many times larger than on a 1024 x 768
// screen: text is measured at a size where whole pixels barely round.
constexpr double kLayoutFactor = 4.0;

// `text` broken into lines no wider than `width`: between words, and inside
// a word only where one alone is wider than the column, so that nothing runs
// into the next column.
std::unique_ptr<QTextLayout> laidOut(const QString& text, const QFont& font, QPaintDevice* device,
                                     double width) {
    auto layout = std::make_unique<QTextLayout>(text, font, device);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    double y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    return layout;
}

// The holidays by date in `area`, column after column, each date in its
// day's colour in the grid, in the largest type from `font` down that lets
// them all fit.
void drawHolidayList(QPainter& painter, const QRectF& area, QFont font, int year,
                     const std::vector<calendar::Holiday>& userRows) {
    constexpr int kColumns = 3;
    const std::vector<calendar::NamedDay> days = calendar::namedDays(year, userRows);
    const double gap = area.width() / 40;
    const double width = (area.width() - gap * (kColumns - 1)) / kColumns;
    struct Entry {
        QPointF at;
        std::unique_ptr<QTextLayout> name;
        double height = 0;
    };
    std::vector<Entry> places;
    double dateWidth = 0;
    for (double points = font.pointSizeF(); points > 1; points *= 0.95) {
        font.setPointSizeF(points);
        painter.setFont(font);
        const QFontMetricsF metrics(font, painter.device());
        dateWidth = metrics.horizontalAdvance(QStringLiteral("00.00")) + metrics.height() / 2;
        places.clear();
        QPointF at = area.topLeft();
        int column = 0;
        for (const calendar::NamedDay& day : days) {
            auto name = laidOut(day.names.join(QStringLiteral("; ")), font, painter.device(),
                                width - dateWidth);
            const double height = name->boundingRect().height();
            if (at.y() + height > area.bottom() && at.y() > area.top()) {
                ++column;
                at = QPointF(at.x() + width + gap, area.top());
            }
            places.push_back({at, std::move(name), height});
            at.setY(at.y() + height + metrics.height() / 6);
        }
        if (column < kColumns &&
            (places.empty() || places.back().at.y() + places.back().height <= area.bottom() + 1))
            break;
    }
    const int flags = Qt::AlignLeft | Qt::AlignTop;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const calendar::NamedDay& day = days[i];
        const calendar::HolidayLook look = calendar::holidayOn(day.date, userRows);
        painter.setPen(look.gridColour ? design::toQColor(*look.gridColour) : QColor(Qt::black));
        painter.drawText(QRectF(places[i].at, QSizeF(dateWidth, places[i].height)), flags,
                         day.date.toString(QStringLiteral("dd.MM")));
        painter.setPen(Qt::black);
        places[i].name->draw(&painter, places[i].at + QPointF(dateWidth, 0));
    }
}

// All that a month's view draws, and its title.
QRect monthBounds(const app::Controls& controls, int month) {
    QRect all;
    for (int part = 0; part < panels::MonthView::kParts; ++part)
        all |= controls.roles().month(month)->partPixels(part);
    return all;
}
QRect monthTitle(const app::Controls& controls, int month) {
    return controls.roles().month(month)->partPixels(0);
}

// What stands between the panels: the year between the upper ones, where the
// flag stands on the screen; the club's line and address between the lower
// ones; the holidays by date across the middle, between the side panels.
void drawBetweenPanels(QPainter& painter, const app::Controls& controls, int year,
                       const std::vector<calendar::Holiday>& userRows) {
    const auto bounds = [&controls](int month) { return monthBounds(controls, month); };
    const auto titleOf = [&controls](int month) { return monthTitle(controls, month); };
    QFont yearFont = controls.roles().title->font();
    yearFont.setPointSizeF(yearFont.pointSizeF() * 3);
    painter.setFont(yearFont);
    painter.setPen(design::toQColor(design::colours::red));
    painter.drawText(QRectF(QPointF(bounds(2).right(), titleOf(2).top()),
                            QPointF(bounds(3).left(), titleOf(5).top())),
                     Qt::AlignCenter, QString::number(year));

    const QRectF foot(QPointF(bounds(10).right(), titleOf(10).top()),
                      QPointF(bounds(11).left(), bounds(10).bottom()));
    const widgets::TwipLabel& credit = *controls.roles().credit;
    const widgets::TwipLabel& site = *controls.roles().siteAddress;
    painter.setFont(credit.font());
    painter.setPen(credit.palette().color(QPalette::WindowText));
    painter.drawText(foot, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, credit.text());
    painter.setFont(site.font());
    painter.setPen(site.palette().color(QPalette::WindowText));
    painter.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom, site.text());

    const double gap = titleOf(5).height();
    const QRectF listBox(QPointF(bounds(5).right() + 2 * gap, titleOf(5).top()),
                         QPointF(bounds(6).left() - 2 * gap, titleOf(9).top() - gap));
    drawHolidayList(painter, listBox, controls.roles().month(1)->partFont(0), year, userRows);
}

} // namespace

QByteArray printedYear(int year, const std::vector<calendar::Holiday>& userRows,
                       const QLocale& locale) {
    // The page's resolution is the screen's, so that the fonts the views are
    // measured in take the same pixels on the page.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInchY()) : int(design::kDesignDpi);
    // The panels as the screen has them, built on a window that is never shown.
    QWidget page;
    const design::TwipScale scale{design::kTwipsPerInch / dpi, kLayoutFactor};
    app::Controls controls(&page, scale);
    // The year's fill at its end, every cell revealed; no today.
    panels::changeFill(controls.roles().months, [&] {
        calendar::YearFill& fill = controls.fill();
        fill.start(year, QDate(), locale, userRows);
        while (!fill.ended())
            fill.next();
    });
    QRect months;
    for (const panels::MonthView* view : controls.roles().months) {
        for (int part = 0; part < panels::MonthView::kParts; ++part)
            months |= view->partPixels(part);
    }
    const widgets::TwipLabel& title = *controls.roles().title;
    const QColor ink = title.palette().color(QPalette::WindowText);
    // The page: the panels' block, with room above for the title.
    const QFont titleFont = title.font();
    const double titleHeight = QFontMetricsF(titleFont).height();
    const QRectF content(months.left(), months.top() - 1.5 * titleHeight, months.width(),
                         months.height() + 1.5 * titleHeight);

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setCreator(QStringLiteral("navcal"));
        writer.setTitle(QStringLiteral("%1 %2").arg(title.text()).arg(year));
        writer.setResolution(dpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QPainter painter(&writer);
        const QRect paper = painter.viewport();
        const double fit =
            std::min(paper.width() / content.width(), paper.height() / content.height());
        painter.translate(paper.width() / 2.0, paper.height() / 2.0);
        painter.scale(fit, fit);
        painter.translate(-content.center());
        painter.fillRect(content, Qt::white);

        for (panels::MonthView* view : controls.roles().months)
            view->paint(painter, QPoint(0, 0), QRegion(months));
        // The title over the panels.
        painter.setFont(titleFont);
        painter.setPen(ink);
        painter.drawText(QRectF(content.topLeft(), QSizeF(content.width(), 1.5 * titleHeight)),
                         Qt::AlignCenter, title.text());
        drawBetweenPanels(painter, controls, year, userRows);
    }
    return pdf.data();
}

} // namespace navcal::yearout
