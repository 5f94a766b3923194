#include "extras/ClockDisplay.h"

namespace navcal::extras {

ClockDisplay::ClockDisplay(widgets::TwipLabel* label, QLocale locale, QObject* parent)
    : QObject(parent), m_label(label), m_locale(std::move(locale)),
      m_format(clockFormat(m_locale)) {
    m_label->setKeepsLargeGlyphs(true);
}

void ClockDisplay::show(const QDateTime& now) {
    m_label->setCaption(m_locale.toString(now.time(), m_format));
    m_label->widenToCaption();
}

QString clockFormat(const QLocale& locale) {
    // Qt's long time format carries a time-zone name ("t" … "tttt"), sometimes
    // in brackets or after a comma; the clock shows the time of day only.
    // Text in single quotes is literal and kept as it is.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    qsizetype keepFrom = 0; // the output before this index is quoted text: never trimmed
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
            if (!quoted)
                keepFrom = out.size();
            continue;
        }
        if (quoted || c != QLatin1Char('t')) {
            out += c;
            continue;
        }
        qsizetype end = i;
        while (end < format.size() && format.at(end) == QLatin1Char('t'))
            ++end;
        // Drop brackets around the zone name.
        const QChar next = end < format.size() ? format.at(end) : QChar();
        if (out.size() > keepFrom &&
            ((out.back() == QLatin1Char('(') && next == QLatin1Char(')')) ||
             (out.back() == QLatin1Char('[') && next == QLatin1Char(']')))) {
            out.chop(1);
            ++end;
        }
        // Then the separator that set it off from the time.
        while (out.size() > keepFrom && (out.back().isSpace() || out.back() == QLatin1Char(',')))
            out.chop(1);
        if (out.isEmpty()) {
            while (end < format.size() && format.at(end).isSpace())
                ++end;
        }
        i = end - 1;
    }
    return out;
}

} // namespace navcal::extras
