#include "banner/BannerTable.h"

#include <QStringList>

namespace navcal::banner {

namespace {

using layout::colours::blue;
using layout::colours::red;

// Banner lines are joined with CR LF; the label shows one line per break.
QString lines(std::initializer_list<const char*> parts) {
    QStringList list;
    for (const char* part : parts)
        list << QString::fromUtf8(part);
    return list.join(QStringLiteral("\r\n"));
}

BannerEntry entry(const char* key, std::optional<layout::Colour> colour, QString text,
                  std::optional<SundayOverride> sunday = std::nullopt) {
    return {QString::fromLatin1(key), colour, std::move(text), std::move(sunday)};
}

std::vector<BannerEntry> makeEntries() {
    const std::nullopt_t none = std::nullopt;
    // The spaces before some exclamation marks and the leading space of the
    // second Borodino line are part of the texts.
    return {
        entry("01.01", none, lines({"День тельняшки!"})),
        entry("10.01", none, lines({"День инженер-механика, БЧ-5"})),
        entry("12.01", none, lines({"День Морского интернет-клуба !"})),
        entry("15.01", none, lines({"День Главного штаба ВМФ!"})),
        entry("25.01", none, lines({"День штурмана, БЧ-1!"})),
        entry("27.01", blue, lines({"День снятия блокады Ленинграда!"})),
        entry("02.02", blue, lines({"День разгрома фашистов в Сталинградской битве!"})),
        entry("23.02", none, lines({"День защитника Отечества!"})),
        entry("05.03", none, lines({"День Мореходных училищ!"})),
        entry("19.03", none, lines({"День моряка-подводника!"})),
        entry("21.03", none, lines({"Народный День штурмана!"})),
        entry("22.03", none, lines({"Всемирный День Балтийского моря!"})),
        entry(
            "18.04", blue,
            lines({"День победы Александра Невского", "над немецкими рыцарями на Чудском озере!"})),
        entry("05.05", none, lines({"День водолаза!"})),
        entry("07.05", none, lines({"День связиста, БЧ-4, РТС!"})),
        entry("09.05", none, lines({"День Победы!"})),
        entry("13.05", none, lines({"День Черноморского флота!"})),
        entry("18.05", none, lines({"День Балтийского флота!"})),
        entry("21.05", none, lines({"День Тихоокеанского флота!"})),
        entry("01.06", none, lines({"День Северного флота!"})),
        entry("20.06", none, lines({"День минера-торпедиста!"})),
        entry("07.07", blue,
              lines({"День победы русского флота", "над турецким флотом в бухте Чесма !"}),
              SundayOverride{red, lines({"День морского и речного флота!",
                                         "День победы русского флота над турецким флотом "
                                         "в бухте Чесма !"})}),
        entry("10.07", blue,
              lines({"День победы русской армии", "над шведами в Полтавском сражении  !"}),
              SundayOverride{red, lines({"День рыбака!", "День победы русской армии над шведами",
                                         "в Полтавском сражении  !"})}),
        entry("17.07", none, lines({"День авиации ВМФ!"})),
        entry("09.08", blue, lines({"День победы русского флота", "над шведами у мыса Гангут !"})),
        entry("23.08", blue, lines({"День разгрома фашистов в Курской битве!"})),
        entry("08.09", none, lines({"День Новороссийской ВМБ!", " День Бородинского сражения!"})),
        entry("11.09", blue, lines({"День победы русской эскадры у мыса Тендра !"})),
        entry("21.09", blue, lines({"День победы в Куликовской битве!"})),
        entry("08.10", none, lines({"День командира корабля!"})),
        entry("30.10", none, lines({"День моряка-надводника!"})),
        entry("07.11", blue, lines({"День освобождения Москвы от польских интервентов !"})),
        entry("15.11", none, lines({"День Каспийской флотилии!"})),
        entry("19.11", none, lines({"День ракетчика и артиллериста!"})),
        entry("27.11", none, lines({"День морской пехоты!"})),
        entry("01.12", blue, lines({"День победы русской эскадры у мыса Синоп !"})),
        entry("05.12", blue,
              lines({"День начала контрнаступления", "советских войск в битве под Москвой !"})),
        entry("09.12", none, lines({"День Каспийского ВВМКУ!"})),
        entry("24.12", blue, lines({"День взятия турецкой крепости Измаил русскими войсками !"})),
    };
}

} // namespace

const std::vector<BannerEntry>& bannerEntries() {
    static const std::vector<BannerEntry> entries = makeEntries();
    return entries;
}

const std::vector<JulySundayRule>& julySundayRules() {
    // Each range holds exactly one Sunday of every July: the first, the second
    // and the last Sunday of the month.
    static const std::vector<JulySundayRule> rules = {
        {1, 7, lines({"День морского и речного флота!"})},
        {8, 14, lines({"День рыбака!"})},
        {25, 31, lines({"День Военно-Морского Флота!"})},
    };
    return rules;
}

bool isSunday(const QDate& date) {
    return date.dayOfWeek() == Qt::Sunday;
}

QString dayMonthKey(const QDate& date) {
    return QStringLiteral("%1.%2")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'));
}

BannerLook bannerFor(const QDate& date) {
    BannerLook look;
    if (!date.isValid())
        return look;
    const QString key = dayMonthKey(date);
    for (const BannerEntry& e : bannerEntries()) {
        if (e.key != key)
            continue;
        if (e.colour)
            look.colour = *e.colour;
        look.text = e.text;
        if (e.sunday && isSunday(date)) {
            look.colour = e.sunday->colour;
            look.text = e.sunday->text;
        }
        return look;
    }
    if (date.month() == 7) {
        for (const JulySundayRule& rule : julySundayRules()) {
            if (date.day() < rule.firstDay || date.day() > rule.lastDay)
                continue;
            // The first rule whose range holds the day decides, Sunday or not.
            if (isSunday(date))
                look.text = rule.text;
            return look;
        }
    }
    return look;
}

} // namespace navcal::banner
