#pragma once
// How headless properties become widget properties: twips to pixels, colours to palettes,
// program texts (UTF-8, CR LF line breaks) to QString, alignment and fonts.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

#include <string>

#include "platform/controls.h"

class QWidget;

namespace quarvell::platform::qt {

// 15 twips are one pixel at 96 dpi; Qt scales device-independent pixels on high-dpi screens.
inline constexpr int kTwipsPerPixel = 15;

int pixels(int twips);
QRect pixelRect(const Place& place);

QString toQString(const std::string& text);
// Line breaks as the toolkit draws them: CR LF and a lone CR become LF.
QString toDisplayText(const std::string& text);
QColor toQColor(Color c);

// Pixels between a coloured label's sides and its caption.
inline constexpr int kCaptionMargin = 3;

// The point size of the window's default dialog font and of the bold result captions.
inline constexpr double kDefaultPointSize = 8.25;
QFont dialogFont();

// The roles a widget of this kind paints its background and text with.
struct PaletteRoles {
    QPalette::ColorRole background;
    QPalette::ColorRole text;
};
PaletteRoles paletteRoles(ControlKind kind);

// Applies the control's colours; a colour equal to the kind's default leaves the toolkit's
// own colour, as "the platform's default colours" asks.
void applyColours(QWidget& widget, const Control& control, bool fillBackground);

Qt::Alignment toQtAlignment(Alignment a);

// What a screen reader says: what the user reads on the control (its caption without access
// key marks), else the control's accessible name, else its tooltip, else its name.
QString accessibleText(const Control& control, const std::string& caption);

// A caption with its "&" access-key marks removed ("&&" stays one "&").
std::string withoutAccessMarks(const std::string& caption);

}  // namespace quarvell::platform::qt
