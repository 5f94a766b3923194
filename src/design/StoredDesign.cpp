#include "design/StoredDesign.h"

#include "calendar/CalendarRules.h"

#include <QStringList>
#include <QUrl>

namespace navcal::design {

namespace {

using enum ControlKind;

const StoredFont kPanelFont{.face = "MS Sans Serif", .points = 8.25f, .bold = true};
const StoredFont kCreditFont{.face = "Times New Roman", .points = 18, .bold = true, .italic = true};
const StoredFont kLinkFont{.face = "Times New Roman", .points = 12, .bold = true};
const StoredFont kClockFont{.face = "Times New Roman", .points = 24, .bold = true};
const StoredFont kTitleFont{
    .face = "Times New Roman", .points = 27.75f, .bold = true, .italic = true};
const StoredFont kBannerFont{.face = "Times New Roman", .points = 20.25f, .bold = true};

const QString kColourTip = QStringLiteral("Выбор цвета шрифта - щелчком мышки");

// clang-format off
// The single controls before the month panels: creation order is drawing order.
std::vector<StoredControl> headerLines() {
    return {
        {.kind = Label, .role = Role::Credit, .name = "Label1", .left = 6218, .top = 120, .width = 5565, .height = 420,
         .caption = "Морской интернет-клуб \"Флагмарин\"", .font = kCreditFont, .colour = colours::blue,
         .tooltip = "Экранная заставка «Военно-морской календарь» создана для Морского интернет-клуба "
                    "\"Флагмарин\" участниками клуба",
         .autoSize = true},
        {.kind = Label, .role = Role::SiteAddress, .name = "Label2", .left = 7898, .top = 600, .width = 2205, .height = 285,
         .caption = siteCaption(), .font = kLinkFont, .colour = colours::darkBlue,
         .tooltip = "Адрес сайта Морской интернет-клуб \"Флагмарин\" в Интернете", .autoSize = true},
    };
}

// The single controls after the month panels.
std::vector<StoredControl> centrePiece() {
    return {
        {.kind = Label, .role = Role::Clock, .name = "Label12", .left = 8175, .top = 2040, .width = 2010, .height = 540,
         .font = kClockFont, .colour = colours::green, .tooltip = "Выбор цвета щелчком мышки",
         .pointer = Pointer::Lifebuoy},
        {.kind = Label, .role = Role::Title, .name = "Label112", .left = 5625, .top = 3840, .width = 6750, .height = 645,
         .caption = programTitle(), .font = kTitleFont, .colour = colours::blue, .tooltip = kColourTip,
         .pointer = Pointer::Lifebuoy, .autoSize = true},
        {.kind = Label, .role = Role::Banner, .name = "Label113", .left = 2880, .top = 6600, .width = 105, .height = 465,
         .font = kBannerFont, .colour = colours::darkRed, .tooltip = "Выбор шрифта - щелчком мышки",
         .pointer = Pointer::Lifebuoy, .autoSize = true},
        {.kind = Label, .role = Role::DateLine, .name = "Label114", .left = 7080, .top = 10680, .width = 2570, .height = 645,
         .font = kTitleFont, .colour = colours::darkRed, .tooltip = kColourTip, .pointer = Pointer::Lifebuoy},
        {.kind = Image, .role = Role::Seagull, .name = "Image1", .left = 4800, .top = 960, .width = 645, .height = 465,
         .tooltip = "1 щелчок мышки - музыку включу; 2 щелчка - прочь улечу!", .pointer = Pointer::Music,
         .picture = ":/seagull.png"},
        {.kind = Image, .role = Role::Ship, .name = "Image2", .left = 6960, .top = 9360, .width = 1365, .height = 1065,
         .tooltip = "Отбуксируй меня на глубоководье!", .pointer = Pointer::Lifebuoy, .picture = ":/ship.png"},
        {.kind = Image, .role = Role::Flag, .name = "Image3", .left = 6480, .top = 1680, .width = 1650, .height = 1125,
         .tooltip = "Выбор цвета шрифта дней недели", .pointer = Pointer::Lifebuoy, .picture = ":/flag.png"},
        {.kind = PictureBox, .role = Role::Background, .name = "PctFon", .left = 16440, .top = 7320, .width = 1335,
         .height = 1095, .picture = ":/seascape.jpg"},
    };
}

// Timers after everything else. The form had a fill timer per month
// (Timer1..Timer12, each at 1 ms, all started and stopped together): one
// clock advances every month's fill.
std::vector<StoredControl> lastTimers() {
    return {
        {.kind = Timer, .role = Role::FillTimer, .name = "Timer1", .interval = 1},
        {.kind = Timer, .role = Role::ClockTimer, .name = "Timer13", .interval = 1000},
    };
}

// clang-format on

// Headers run up or down the label numbers depending on the panel.
std::array<QString, 7> headersUp(int first) {
    std::array<QString, 7> names;
    for (int j = 0; j < 7; ++j)
        names[j] = QStringLiteral("Label%1").arg(first + j);
    return names;
}

std::array<QString, 7> headersDown(int last) {
    std::array<QString, 7> names;
    for (int j = 0; j < 7; ++j)
        names[j] = QStringLiteral("Label%1").arg(last - j);
    return names;
}

const float kNarrowColumns[6] = {0, 240, 600, 960, 1320, 1680};
const float kEvenColumns[6] = {0, 360, 720, 1080, 1440, 1800};
const float kHeaderWidths[7] = {240, 210, 225, 225, 225, 225, 225};

void addMonthPanel(std::vector<StoredControl>& out, const MonthLayout& m) {
    out.push_back({.kind = Label,
                   .name = m.title,
                   .left = m.titleLeft,
                   .top = m.titleTop,
                   .width = m.titleWidth,
                   .height = 195,
                   .caption = m.titleCaption,
                   .font = kPanelFont,
                   .tooltip = m.titleTip,
                   .pointer = Pointer::Lifebuoy,
                   .autoSize = m.titleAutoSize});
    for (int j = 0; j < 7; ++j)
        out.push_back({.kind = Label,
                       .name = m.headers[j],
                       .left = m.x0 - 360,
                       .top = m.y0 + 240.0f * j,
                       .width = kHeaderWidths[j],
                       .height = 195,
                       .caption = weekdayCaptions().at(j),
                       .font = kPanelFont,
                       .colour = colours::brown,
                       .autoSize = true});
    const float* columns = m.evenColumns ? kEvenColumns : kNarrowColumns;
    for (int i = 0; i < calendar::kMonthCells; ++i)
        out.push_back({.kind = Label,
                       .name = m.cells,
                       .index = i,
                       .left = m.x0 + columns[i / 7],
                       .top = m.y0 + 240.0f * (i % 7),
                       .width = i + 1 < 10 ? 120.0f : 225.0f,
                       .height = 195,
                       .caption = QString::number(storedCellDay(i)),
                       .font = kPanelFont,
                       .colour = m.cellsBlack ? std::optional(colours::black) : std::nullopt,
                       .autoSize = true});
}

std::vector<StoredControl> buildControls() {
    std::vector<StoredControl> out = headerLines();
    for (const MonthLayout& m : monthLayouts())
        addMonthPanel(out, m);
    for (StoredControl& c : centrePiece())
        out.push_back(std::move(c));
    for (StoredControl& c : lastTimers())
        out.push_back(std::move(c));
    return out;
}

} // namespace

QString StoredControl::objectName() const {
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

const QStringList& weekdayCaptions() {
    static const QStringList captions = {
        QStringLiteral("Пн"), QStringLiteral("Вт"), QStringLiteral("Ср"), QStringLiteral("Чт"),
        QStringLiteral("Пт"), QStringLiteral("Сб"), QStringLiteral("Вс")};
    return captions;
}

const std::vector<MonthLayout>& monthLayouts() {
    // clang-format off
    static const std::vector<MonthLayout> months = {
        {.month = 1, .title = "Label11", .titleCaption = "Январь", .titleLeft = 1080, .titleTop = 1200, .titleWidth = 660,
         .titleTip = "Все названия месяцев: щелчок мышки - выбор цвета шрифта дней месяца",
         .headers = headersUp(3), .cells = "Label10", .x0 = 720, .y0 = 1560, .cellsBlack = true},
        {.month = 2, .title = "Label21", .titleCaption = "Февраль", .titleLeft = 3840, .titleTop = 1200, .titleWidth = 810,
         .headers = headersDown(19), .cells = "Label20", .x0 = 3600, .y0 = 1560},
        {.month = 3, .title = "Label29", .titleCaption = "Март", .titleLeft = 10680, .titleTop = 1200, .titleWidth = 450,
         .headers = headersUp(22), .cells = "Label30", .x0 = 10200, .y0 = 1560, .evenColumns = true},
        {.month = 4, .title = "Label38", .titleCaption = "Апрель", .titleLeft = 13680, .titleTop = 1200, .titleWidth = 645,
         .headers = headersDown(37), .cells = "Label39", .x0 = 13320, .y0 = 1560},
        {.month = 5, .title = "Label40", .titleCaption = "Май", .titleLeft = 1080, .titleTop = 3600, .titleWidth = 360,
         .headers = headersDown(47), .cells = "Label48", .x0 = 720, .y0 = 3960},
        {.month = 6, .title = "Label56", .titleCaption = "Июнь", .titleLeft = 13680, .titleTop = 3600, .titleWidth = 480,
         .headers = headersUp(49), .cells = "Label57", .x0 = 13320, .y0 = 3960},
        {.month = 7, .title = "Label58", .titleCaption = "Июль", .titleLeft = 1080, .titleTop = 6000, .titleWidth = 480,
         .headers = headersUp(59), .cells = "Label66", .x0 = 720, .y0 = 6360},
        {.month = 8, .title = "Label67", .titleCaption = "Август", .titleLeft = 13680, .titleTop = 6000, .titleWidth = 600,
         .headers = headersDown(74), .cells = "Label75", .x0 = 13320, .y0 = 6480},
        {.month = 9, .title = "Label76", .titleCaption = "Сентябрь", .titleLeft = 1080, .titleTop = 8400, .titleWidth = 840,
         .headers = headersDown(83), .cells = "Label84", .x0 = 720, .y0 = 8760, .cellsBlack = true},
        {.month = 10, .title = "Label85", .titleCaption = "Октябрь", .titleLeft = 3960, .titleTop = 8400, .titleWidth = 750,
         .titleAutoSize = false, .headers = headersUp(86), .cells = "Label93", .x0 = 3600, .y0 = 8760, .cellsBlack = true},
        {.month = 11, .title = "Label94", .titleCaption = "Ноябрь", .titleLeft = 10680, .titleTop = 8400, .titleWidth = 660,
         .headers = headersDown(101), .cells = "Label102", .x0 = 10200, .y0 = 8760, .evenColumns = true, .cellsBlack = true},
        {.month = 12, .title = "Label103", .titleCaption = "Декабрь", .titleLeft = 13680, .titleTop = 8400, .titleWidth = 780,
         .headers = headersUp(104), .cells = "Label111", .x0 = 13320, .y0 = 8760, .cellsBlack = true},
    };
    // clang-format on
    return months;
}

const std::vector<StoredControl>& storedControls() {
    static const std::vector<StoredControl> controls = buildControls();
    return controls;
}

QString programTitle() {
    return QStringLiteral("Военно-морской календарь");
}

QString siteAddress() {
    return QStringLiteral(NAVCAL_SITE_URL);
}

QString siteCaption() {
    return QUrl(siteAddress()).host();
}

} // namespace navcal::design
