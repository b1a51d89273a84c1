#pragma once
// Fast output of painted pages: an image buffer whose memory is mapped in
// one step (a fresh 1600 x 900 page otherwise costs one page fault per 4 KiB,
// more time than painting it), and a PNG encoder for pictures of at most
// 256 colours that writes the palette image row by row with zlib's fastest
// level, without the intermediate 8-bit image.

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <optional>

namespace lumidrax {

// An RGB32 image of `size`, its pixels uninitialised.
QImage NewPageImage(QSize size);

// The PNG bytes of an RGB32 image as a palette image, or nothing when it
// holds more than 256 colours.
std::optional<QByteArray> EncodePalettePng(const QImage& image);

} // namespace lumidrax
