#include "platform/qt/widget_look.h"

#include <QApplication>
#include <QWidget>

#include <cmath>

namespace quarvell::platform::qt {

int pixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

QRect pixelRect(const Place& place) {
    // Right and bottom edges are rounded on their own, so neighbours that touch in twips
    // still touch in pixels.
    const int left = pixels(place.left);
    const int top = pixels(place.top);
    const int right = pixels(place.left + place.width);
    const int bottom = pixels(place.top + place.height);
    return {left, top, right - left, bottom - top};
}

QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}

QString toDisplayText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

QColor toQColor(Color c) {
    return {c.r, c.g, c.b};
}

QFont dialogFont() {
    QFont f = QApplication::font();
    // The layout's widths were made for a narrow dialog face: prefer one with those metrics
    // where the system has it, else the system's own sans-serif.
    QStringList families{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                         QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
                         QStringLiteral("Helvetica")};
    families.append(f.families().isEmpty() ? QStringList{f.family()} : f.families());
    f.setFamilies(families);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(kDefaultPointSize);
    return f;
}

PaletteRoles paletteRoles(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox:
        case ControlKind::ComboBox:
            return {QPalette::Base, QPalette::Text};
        case ControlKind::Button:
            return {QPalette::Button, QPalette::ButtonText};
        default:
            return {QPalette::Window, QPalette::WindowText};
    }
}

namespace {

Color defaultBackground(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox:
        case ControlKind::ComboBox:
            return kWindowBackground;
        default:
            return kButtonFace;
    }
}

}  // namespace

void applyColours(QWidget& widget, const Control& control, bool fillBackground) {
    const PaletteRoles roles = paletteRoles(control.kind());
    const bool ownBackground = control.backColor() != defaultBackground(control.kind());
    const bool ownText = control.foreColor() != kBlack;
    // Only the roles the control colours itself are set; everything else is inherited, so a
    // colour set back to the default really returns to the toolkit's colour. Inside a frame
    // that would hand the frame's colours down (the cyan of the life-test frame's caption to
    // its fields' text): there the other roles are the toolkit's own colours, set outright.
    QPalette palette;
    if (control.container() != nullptr) {
        palette = QApplication::palette(&widget);
        palette.setResolveMask(~QPalette::ResolveMask{0});
    }
    if (ownBackground) {
        palette.setColor(roles.background, toQColor(control.backColor()));
        if (roles.background == QPalette::Window) {
            palette.setColor(QPalette::Button, toQColor(control.backColor()));
        }
    }
    if (ownText) {
        palette.setColor(roles.text, toQColor(control.foreColor()));
        if (roles.text == QPalette::WindowText) {
            palette.setColor(QPalette::Text, toQColor(control.foreColor()));
            palette.setColor(QPalette::ButtonText, toQColor(control.foreColor()));
        }
    }
    widget.setPalette(palette);
    const bool fill = fillBackground && ownBackground;
    if (widget.autoFillBackground() != fill) {
        widget.setAutoFillBackground(fill);
    }
}

Qt::Alignment toQtAlignment(Alignment a) {
    switch (a) {
        case Alignment::Center:
            return Qt::AlignHCenter;
        case Alignment::Right:
            return Qt::AlignRight;
        case Alignment::Left:
            break;
    }
    return Qt::AlignLeft;
}

std::string withoutAccessMarks(const std::string& caption) {
    std::string out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;  // "&x" shows x; "&&" shows one "&"
        }
        out.push_back(caption[i]);
    }
    return out;
}

QString accessibleText(const Control& control, const std::string& caption) {
    const std::string plain = withoutAccessMarks(caption);
    if (!plain.empty() && plain.find_first_not_of(' ') != std::string::npos) {
        return toDisplayText(plain).trimmed();
    }
    if (!control.accessibleName().empty()) {
        return toQString(control.accessibleName());
    }
    if (!control.tooltip().empty()) {
        return toQString(control.tooltip());
    }
    return toQString(control.name());
}

}  // namespace quarvell::platform::qt
