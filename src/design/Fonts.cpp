#include "design/Fonts.h"

#include <QStringList>

namespace navcal::design {

void installFontSubstitutes() {
    const QStringList sans = {QStringLiteral("Microsoft Sans Serif"),
                              QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                              QStringLiteral("DejaVu Sans")};
    const QStringList serif = {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                               QStringLiteral("DejaVu Serif")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), serif);
}

QFont designFont(const StoredFont& control, double factor) {
    QFont font(control.face);
    font.setPointSizeF(control.points * factor);
    font.setBold(control.bold);
    font.setItalic(control.italic);
    font.setStyleHint(control.face.contains(QLatin1String("Times")) ? QFont::Serif
                                                                    : QFont::SansSerif);
    // Whole pixels keep the small captions crisp, as the stored design expects.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace navcal::design
