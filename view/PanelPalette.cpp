#include "PanelPalette.h"

namespace lumidrax {

QPalette PanelPalette(bool dark)
{
    if (!dark)
        return QPalette();
    const QColor window(0x2B, 0x2B, 0x2B);
    const QColor text(Qt::white);
    const QColor muted(0x80, 0x80, 0x80);
    QPalette p(window);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = g == QPalette::Disabled;
        p.setColor(g, QPalette::Window, window);
        p.setColor(g, QPalette::WindowText, off ? muted : text);
        p.setColor(g, QPalette::Base, Qt::black);
        p.setColor(g, QPalette::AlternateBase, QColor(0x1A, 0x1A, 0x1A));
        p.setColor(g, QPalette::Text, off ? muted : text);
        p.setColor(g, QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
        p.setColor(g, QPalette::ButtonText, off ? muted : text);
        p.setColor(g, QPalette::BrightText, Qt::white);
        p.setColor(g, QPalette::Light, QColor(0x50, 0x50, 0x50));
        p.setColor(g, QPalette::Midlight, QColor(0x40, 0x40, 0x40));
        p.setColor(g, QPalette::Mid, QColor(0x30, 0x30, 0x30));
        p.setColor(g, QPalette::Dark, QColor(0x20, 0x20, 0x20));
        p.setColor(g, QPalette::Shadow, Qt::black);
        // The list's selection colour (palette entry 14).
        p.setColor(g, QPalette::Highlight, QColor(50, 150, 220));
        p.setColor(g, QPalette::HighlightedText, Qt::white);
        p.setColor(g, QPalette::PlaceholderText, muted);
    }
    return p;
}

QColor InfoValueBackground(bool dark)
{
    return dark ? QColor(Qt::black) : QColor(Qt::white);
}

QColor InfoValueText(bool dark)
{
    return dark ? QColor(Qt::white) : QColor(Qt::black);
}

QColor ReadoutBackground(QRgb light, bool dark)
{
    const QColor c = QColor::fromRgb(light);
    if (!dark)
        return c;
    // The same hue, a quarter of the brightness.
    return QColor::fromRgb(qRed(light) / 4, qGreen(light) / 4, qBlue(light) / 4);
}

QColor ReadoutText(bool dark)
{
    return dark ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace lumidrax
