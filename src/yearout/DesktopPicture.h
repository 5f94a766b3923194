#pragma once

#include "calendar/Clock.h"

#include <QImage>
#include <QLocale>
#include <QSize>
#include <QString>

namespace navcal::yearout {

// What today's picture needs from outside: the saver's own folders and day.
struct PictureServices {
    const calendar::Clock* clock = nullptr; // today
    QLocale locale;
    QString userFolder;   // the user's 1.jpg and holidays.txt; empty: none
    QString systemFolder; // a 1.jpg the user's folder lacks; empty: none
    QString programFolder;
};

// Today's calendar as the full-screen saver shows it on a screen of
// `devicePixels` once its fill has ended: the background (the user's 1.jpg
// or the seascape), the twelve months with today framed and the user's own
// days, the day's banner, the title, the date line, flag, ship, seagull and
// the club's lines. No clock. Drawn by the saver's own window and controls,
// never shown. The ratio is that of the application's primary screen: the
// screen is devicePixels / ratio logical pixels (a ratio-2 screen's picture
// is asked at its device pixels and comes out at them). The user's
// holidays.txt is read as the saver reads it, its bad rows reported on
// stderr. Needs the application object; no lock, no music, no display of
// its own.
QImage todaysPicture(QSize devicePixels, const PictureServices& services);

// `picture` as a PNG file's bytes.
QByteArray pngOf(const QImage& picture);

// `picture` as PNG into `file`, through the one checked write
// (platform::writeWhole): whole or not at all, "-" standard output. Empty when
// written, else why not.
QString writePicture(const QString& file, const QImage& picture);

} // namespace navcal::yearout
