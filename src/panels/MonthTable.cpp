#include "panels/MonthTable.h"

#include "calendar/CalendarRules.h"

namespace navcal::panels {

namespace {

std::vector<MonthTable> buildTables() {
    const auto S = [](const char16_t* text) { return QString::fromUtf16(text); };
    std::vector<MonthTable> t(12);
    for (int m = 1; m <= 12; ++m) {
        MonthTable& row = t[m - 1];
        row.month = m;
        row.firstDayString = QStringLiteral("01.%1").arg(m, 2, 10, QLatin1Char('0'));
        row.length = calendar::monthLength(2001, m); // a common year: February 28
        row.leapDay = false;
        row.stopValue = 38;
    }
    MonthTable& february = t[1];
    february.leapDay = true;
    february.stopValue = 36;

    // Holidays the fill marks in the grid, in the order they are tested.
    t[0].gridHolidays = {
        {S(u"1"), kRed, S(u"День тельняшки; Новый год")},
        {S(u"7"), kRed, S(u"Рождество Христово")},
        {S(u"10"), kBlue, S(u"День инженер-механика")},
        {S(u"15"), kBlue, S(u"День Главного штаба ВМФ")},
        {S(u"25"), kBlue, S(u"День штурмана")},
    };
    t[1].gridHolidays = {{S(u"23"), kRed, S(u"День защитника Отечества")}};
    t[2].gridHolidays = {
        {S(u"5"), kBlue, S(u"День Мореходных училищ")},
        {S(u"8"), kRed, S(u"Международный Женский день")},
        {S(u"19"), kBlue, S(u"День моряка-подводника")},
        {S(u"21"), kBlue, S(u"День весеннего равноденствия")},
        {S(u"22"), kBlue, S(u"День Балтийского моря")},
    };
    t[4].gridHolidays = {
        {S(u"1"), kRed, S(u"День весны и труда")},
        {S(u"5"), kBlue, S(u"День водолаза")},
        {S(u"7"), kBlue, S(u"День связиста, специалиста РТС,Р")},
        {S(u"9"), kRed, S(u"День Победы")},
        {S(u"13"), kBlue, S(u"День Черноморского флота")},
        {S(u"18"), kBlue, S(u"День Балтийского флота")},
        {S(u"21"), kBlue, S(u"День Тихоокеанского флота")},
        {S(u"28"), kBlue, S(u"День пограничника")},
    };
    t[5].gridHolidays = {
        {S(u"1"), kBlue, S(u"День Северного флота")},
        {S(u"12"), kRed, S(u"День России")},
        {S(u"20"), kBlue, S(u"День минера-торпедиста")},
    };
    t[6].gridHolidays = {{S(u"17"), kBlue, S(u"День авиации ВМФ")}};
    t[8].gridHolidays = {{S(u"8"), kBlue, S(u"Праздник Новороссийского военно-морского района")}};
    t[9].gridHolidays = {
        {S(u"8"), kBlue, S(u"День командира корабля")},
        {S(u"20"), kBlue, S(u"День кока")},
        {S(u"30"), kBlue, S(u"День моряка-надводника")},
    };
    t[10].gridHolidays = {
        {S(u"4"), kRed, S(u"День народного единства")},
        {S(u"15"), kBlue, S(u"День Каспийской флотилии")},
        {S(u"19"), kBlue, S(u"День ракетчика и артиллериста")},
        {S(u"27"), kBlue, S(u"День Морской пехоты")},
    };
    t[11].gridHolidays = {{S(u"9"), kBlue, S(u"День Каспийского высшего военно-морского училища")}};

    // July's holidays on its first, second and last Sunday.
    t[6].sundayHolidays = {
        {1, 7, kBlue, S(u"День морского и речного флота")},
        {8, 14, kBlue, S(u"День рыбака")},
        {25, 31, kBlue, S(u"День Военно-Морского Флота")},
    };

    // Cell 13 of April always holds its second Sunday.
    t[3].fixedTip = FixedCellTip{13, S(u"День селёдки")};

    // Days a title click marks, ascending by day number. They are not the grid
    // holidays: 28 May and 20 October are missing and July's Sundays are left
    // to the weekend colour.
    t[0].markedDays = {{S(u"1"), kRed, {}},
                       {S(u"7"), kRed, {}},
                       {S(u"10"), kBlue, {}},
                       {S(u"15"), kBlue, {}},
                       {S(u"25"), kBlue, {}}};
    t[1].markedDays = {{S(u"23"), kRed, S(u"День защитника Отечества")}};
    t[2].markedDays = {{S(u"5"), kBlue, {}},
                       {S(u"8"), kRed, {}},
                       {S(u"19"), kBlue, {}},
                       {S(u"21"), kBlue, {}},
                       {S(u"22"), kBlue, {}}};
    t[4].markedDays = {{S(u"1"), kRed, {}},  {S(u"5"), kBlue, {}},  {S(u"7"), kBlue, {}},
                       {S(u"9"), kRed, {}},  {S(u"13"), kBlue, {}}, {S(u"18"), kBlue, {}},
                       {S(u"21"), kBlue, {}}};
    t[5].markedDays = {{S(u"1"), kBlue, {}}, {S(u"12"), kRed, {}}, {S(u"20"), kBlue, {}}};
    t[6].markedDays = {{S(u"17"), kBlue, S(u"День авиации ВМФ")}};
    t[8].markedDays = {{S(u"8"), kBlue, {}}};
    t[9].markedDays = {{S(u"8"), kBlue, {}}, {S(u"30"), kBlue, {}}};
    t[10].markedDays = {
        {S(u"4"), kRed, {}}, {S(u"15"), kBlue, {}}, {S(u"19"), kBlue, {}}, {S(u"27"), kBlue, {}}};
    t[11].markedDays = {{S(u"9"), kBlue, {}}};
    return t;
}

} // namespace

const std::vector<MonthTable>& monthTables() {
    static const std::vector<MonthTable> tables = buildTables();
    return tables;
}

const MonthTable& monthTable(int month) {
    return monthTables().at(month - 1);
}

} // namespace navcal::panels
