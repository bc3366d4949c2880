// Renders the window's own icon, read from the resource the window layout names, as the PNG
// that desktops look up: the two cannot drift apart, and a mismatch between the layout's path
// and the resource file stops the build instead of leaving the window without an icon.
#include <QImage>
#include <QString>
#include <cstdio>

#include "form1.h"

namespace {
constexpr int kSide = 32;  // installed under hicolor/32x32
constexpr int kMostColours = 16;
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ICON.png\n", argv[0]);
        return 2;
    }
    const std::string_view path = tsrl::kForm1Layout.icon;
    const QString source = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
    const QImage icon(source);
    if (icon.isNull()) {
        std::fprintf(stderr, "no icon at %s\n", qPrintable(source));
        return 1;
    }
    // Qt reads an XPM of up to 256 colours as indexed, so the colour table is the XPM's.
    if (icon.width() != kSide || icon.height() != kSide ||
        icon.format() != QImage::Format_Indexed8 || icon.colorCount() > kMostColours) {
        std::fprintf(stderr, "%s is %dx%d in %d colours, not %dx%d in at most %d\n",
                     qPrintable(source), icon.width(), icon.height(), icon.colorCount(), kSide,
                     kSide, kMostColours);
        return 1;
    }
    if (!icon.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
