#include "layout/StoredDesign.h"

#include <QStringList>
#include <QUrl>

namespace navcal::layout {

namespace {

const QString kSans = QStringLiteral("MS Sans Serif");
const QString kSerif = QStringLiteral("Times New Roman");

const QString kTitleTip =
    QStringLiteral("Все названия месяцев: щелчок мышки - выбор цвета шрифта дней месяца");

// Months whose day cells are stored black; the rest use the button-text colour.
bool cellsStoredBlack(int month) {
    return month == 1 || month >= 9;
}

const float kNarrowColumns[6] = {0, 240, 600, 960, 1320, 1680};
const float kEvenColumns[6] = {0, 360, 720, 1080, 1440, 1800};
const float kHeaderWidths[7] = {240, 210, 225, 225, 225, 225, 225};

StoredControl label(QString name, float left, float top, float width, float height) {
    StoredControl c;
    c.kind = ControlKind::Label;
    c.name = std::move(name);
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    return c;
}

void addMonthPanel(std::vector<StoredControl>& out, const MonthLayout& m) {
    StoredControl title = label(m.title, m.titleLeft, m.titleTop, m.titleWidth, 195);
    title.caption = m.titleCaption;
    title.font = {kSans, 8.25f, true, false};
    title.pointer = Pointer::Lifebuoy;
    title.autoSize = m.title != QLatin1String("Label85"); // October keeps 750
    if (m.month == 1)
        title.toolTip = kTitleTip;
    out.push_back(title);

    for (int j = 0; j < 7; ++j) {
        StoredControl header =
            label(m.headers[j], m.x0 - 360, m.y0 + 240.0f * j, kHeaderWidths[j], 195);
        header.caption = weekdayCaptions().at(j);
        header.font = {kSans, 8.25f, true, false};
        header.foreColor = colours::brown;
        header.autoSize = true;
        out.push_back(header);
    }

    const float* columns = m.evenColumns ? kEvenColumns : kNarrowColumns;
    for (int i = 0; i < kCellsPerMonth; ++i) {
        const int column = i / 7;
        const int row = i % 7;
        StoredControl cell = label(m.cells, m.x0 + columns[column], m.y0 + 240.0f * row,
                                   i + 1 < 10 ? 120 : 225, 195);
        cell.index = i;
        cell.caption = QString::number(i + 1);
        cell.font = {kSans, 8.25f, true, false};
        if (cellsStoredBlack(m.month))
            cell.foreColor = colours::black;
        cell.autoSize = true;
        out.push_back(cell);
    }
}

std::vector<StoredControl> buildControls() {
    std::vector<StoredControl> out;
    out.reserve(560);

    StoredControl credit = label(QStringLiteral("Label1"), 6218, 120, 5565, 420);
    credit.caption = QStringLiteral("Морской интернет-клуб \"Флагмарин\"");
    credit.foreColor = colours::blue;
    credit.font = {kSerif, 18, true, true};
    credit.autoSize = true;
    credit.toolTip =
        QStringLiteral("Экранная заставка «Военно-морской календарь» создана для Морского "
                       "интернет-клуба \"Флагмарин\" участниками клуба");
    out.push_back(credit);

    StoredControl link = label(QStringLiteral("Label2"), 7898, 600, 2205, 285);
    link.caption = siteCaption();
    link.foreColor = colours::darkBlue;
    link.font = {kSerif, 12, true, false};
    link.autoSize = true;
    link.toolTip = QStringLiteral("Адрес сайта Морской интернет-клуб \"Флагмарин\" в Интернете");
    out.push_back(link);

    for (const MonthLayout& m : monthLayouts())
        addMonthPanel(out, m);

    StoredControl clock = label(QStringLiteral("Label12"), 8175, 2040, 2010, 540);
    clock.foreColor = colours::green;
    clock.font = {kSerif, 24, true, false};
    clock.pointer = Pointer::Lifebuoy;
    clock.toolTip = QStringLiteral("Выбор цвета щелчком мышки");
    out.push_back(clock);

    StoredControl title = label(QStringLiteral("Label112"), 5625, 3840, 6750, 645);
    title.caption = programTitle();
    title.foreColor = colours::blue;
    title.font = {kSerif, 27.75f, true, true};
    title.autoSize = true;
    title.pointer = Pointer::Lifebuoy;
    title.toolTip = QStringLiteral("Выбор цвета шрифта - щелчком мышки");
    out.push_back(title);

    StoredControl banner = label(QStringLiteral("Label113"), 2880, 6600, 105, 465);
    banner.foreColor = colours::darkRed;
    banner.font = {kSerif, 20.25f, true, false};
    banner.autoSize = true;
    banner.pointer = Pointer::Lifebuoy;
    banner.toolTip = QStringLiteral("Выбор шрифта - щелчком мышки");
    out.push_back(banner);

    StoredControl dateLine = label(QStringLiteral("Label114"), 7080, 10680, 2570, 645);
    dateLine.foreColor = colours::darkRed;
    dateLine.font = {kSerif, 27.75f, true, true};
    dateLine.pointer = Pointer::Lifebuoy;
    dateLine.toolTip = QStringLiteral("Выбор цвета шрифта - щелчком мышки");
    out.push_back(dateLine);

    auto image = [](QString name, float left, float top, float width, float height, QString picture,
                    Pointer pointer, QString tip) {
        StoredControl c;
        c.kind = ControlKind::Image;
        c.name = std::move(name);
        c.left = left;
        c.top = top;
        c.width = width;
        c.height = height;
        c.picture = std::move(picture);
        c.pointer = pointer;
        c.toolTip = std::move(tip);
        return c;
    };
    out.push_back(image(QStringLiteral("Image1"), 4800, 960, 645, 465,
                        QStringLiteral(":/seagull.png"), Pointer::Music,
                        QStringLiteral("1 щелчок мышки - музыку включу; 2 щелчка - прочь улечу!")));
    out.push_back(image(QStringLiteral("Image2"), 6960, 9360, 1365, 1065,
                        QStringLiteral(":/ship.png"), Pointer::Lifebuoy,
                        QStringLiteral("Отбуксируй меня на глубоководье!")));
    out.push_back(image(QStringLiteral("Image3"), 6480, 1680, 1650, 1125,
                        QStringLiteral(":/flag.png"), Pointer::Lifebuoy,
                        QStringLiteral("Выбор цвета шрифта дней недели")));

    StoredControl background;
    background.kind = ControlKind::PictureBox;
    background.name = QStringLiteral("PctFon");
    background.left = 16440;
    background.top = 7320;
    background.width = 1335;
    background.height = 1095;
    background.picture = QStringLiteral(":/seascape.jpg");
    out.push_back(background);

    for (int t = 1; t <= 14; ++t) {
        StoredControl timer;
        timer.kind = ControlKind::Timer;
        timer.name = QStringLiteral("Timer%1").arg(t);
        timer.interval = t <= 12 ? 1 : (t == 13 ? 1000 : 1500);
        out.push_back(timer);
    }
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
    auto L = [](int n) { return QStringLiteral("Label%1").arg(n); };
    // Headers run up or down the label numbers depending on the panel.
    auto up = [&](int first, QString(&h)[7]) {
        for (int j = 0; j < 7; ++j)
            h[j] = L(first + j);
    };
    auto down = [&](int last, QString(&h)[7]) {
        for (int j = 0; j < 7; ++j)
            h[j] = L(last - j);
    };
    static const std::vector<MonthLayout> months = [&] {
        struct Row {
            int month, timer, title;
            const char* caption;
            float tl, tt, tw;
            int headerFrom;
            bool ascending;
            int cells;
            float x0, y0;
            bool even;
        };
        const Row rows[12] = {
            {1, 1, 11, "Январь", 1080, 1200, 660, 3, true, 10, 720, 1560, false},
            {2, 2, 21, "Февраль", 3840, 1200, 810, 19, false, 20, 3600, 1560, false},
            {3, 3, 29, "Март", 10680, 1200, 450, 22, true, 30, 10200, 1560, true},
            {4, 4, 38, "Апрель", 13680, 1200, 645, 37, false, 39, 13320, 1560, false},
            {5, 5, 40, "Май", 1080, 3600, 360, 47, false, 48, 720, 3960, false},
            {6, 6, 56, "Июнь", 13680, 3600, 480, 49, true, 57, 13320, 3960, false},
            {7, 7, 58, "Июль", 1080, 6000, 480, 59, true, 66, 720, 6360, false},
            {8, 8, 67, "Август", 13680, 6000, 600, 74, false, 75, 13320, 6480, false},
            {9, 9, 76, "Сентябрь", 1080, 8400, 840, 83, false, 84, 720, 8760, false},
            {10, 10, 85, "Октябрь", 3960, 8400, 750, 86, true, 93, 3600, 8760, false},
            {11, 11, 94, "Ноябрь", 10680, 8400, 660, 101, false, 102, 10200, 8760, true},
            {12, 12, 103, "Декабрь", 13680, 8400, 780, 104, true, 111, 13320, 8760, false},
        };
        std::vector<MonthLayout> out;
        for (const Row& r : rows) {
            MonthLayout m;
            m.month = r.month;
            m.timer = QStringLiteral("Timer%1").arg(r.timer);
            m.title = L(r.title);
            m.titleCaption = QString::fromUtf8(r.caption);
            m.titleLeft = r.tl;
            m.titleTop = r.tt;
            m.titleWidth = r.tw;
            if (r.ascending)
                up(r.headerFrom, m.headers);
            else
                down(r.headerFrom, m.headers);
            m.cells = L(r.cells);
            m.x0 = r.x0;
            m.y0 = r.y0;
            m.evenColumns = r.even;
            out.push_back(m);
        }
        return out;
    }();
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

} // namespace navcal::layout
