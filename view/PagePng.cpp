#include "PagePng.h"

#include <sys/mman.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lumidrax {

namespace {

struct Mapping {
    void* Data;
    std::size_t Length;
};

void Unmap(void* info)
{
    auto* m = static_cast<Mapping*>(info);
    ::munmap(m->Data, m->Length);
    delete m;
}

void PutU32(QByteArray& out, quint32 v)
{
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(b, 4);
}

void PutChunk(QByteArray& out, const char* type, const QByteArray& data)
{
    PutU32(out, static_cast<quint32>(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* p = reinterpret_cast<const Bytef*>(out.constData() + start);
    PutU32(out, static_cast<quint32>(crc32(0, p, static_cast<uInt>(out.size() - start))));
}

// Up to 256 colours and the index of each, found in the order met.
class PaletteIndex {
  public:
    // -1 once the 257th colour is met.
    int Of(QRgb c)
    {
        c &= 0xFFFFFF;
        if (c == last_)
            return lastIndex_;
        std::size_t h = (c * 2654435761u) >> 22; // 10 bits
        while (slots_[h].used) {
            if (slots_[h].colour == c)
                return Remember(c, slots_[h].index);
            h = (h + 1) & (slots_.size() - 1);
        }
        if (colours_.size() == 256)
            return -1;
        slots_[h] = {c, static_cast<int>(colours_.size()), true};
        colours_.push_back(c);
        return Remember(c, slots_[h].index);
    }
    const std::vector<QRgb>& Colours() const { return colours_; }

  private:
    int Remember(QRgb c, int index)
    {
        last_ = c;
        lastIndex_ = index;
        return index;
    }
    struct Slot {
        QRgb colour = 0;
        int index = 0;
        bool used = false;
    };
    std::array<Slot, 1024> slots_{};
    std::vector<QRgb> colours_;
    QRgb last_ = 0xFFFFFFFF;
    int lastIndex_ = 0;
};

} // namespace

QImage NewPageImage(QSize size)
{
    const int w = std::max(size.width(), 1);
    const int h = std::max(size.height(), 1);
    // Aligned to and advised as huge pages: a handful of faults for the
    // whole page instead of one per 4 KiB.
    constexpr std::size_t kHuge = std::size_t(2) << 20;
    const std::size_t bytes = std::size_t(w) * 4 * std::size_t(h);
    const std::size_t length = (bytes + kHuge - 1) / kHuge * kHuge + kHuge;
    void* raw = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return QImage(QSize(w, h), QImage::Format_RGB32);
    auto* data = reinterpret_cast<uchar*>((reinterpret_cast<std::uintptr_t>(raw) + kHuge - 1) & ~(kHuge - 1));
    ::madvise(data, length - kHuge, MADV_HUGEPAGE);
    return QImage(data, w, h, w * 4, QImage::Format_RGB32, Unmap, new Mapping{raw, length});
}

std::optional<QByteArray> EncodePalettePng(const QImage& image)
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        return std::nullopt;
    const int w = image.width();
    const int h = image.height();
    PaletteIndex palette;
    z_stream z{};
    if (deflateInit(&z, Z_BEST_SPEED) != Z_OK)
        return std::nullopt;
    QByteArray idat;
    std::vector<unsigned char> row(std::size_t(w) + 1);
    std::array<unsigned char, 64 * 1024> chunk{};
    bool ok = true;
    for (int y = 0; y < h && ok; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        row[0] = 0; // filter: none
        for (int x = 0; x < w; ++x) {
            const int i = palette.Of(line[x]);
            if (i < 0) {
                ok = false;
                break;
            }
            row[std::size_t(x) + 1] = static_cast<unsigned char>(i);
        }
        z.next_in = row.data();
        z.avail_in = static_cast<uInt>(row.size());
        const int flush = y + 1 == h ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = chunk.data();
            z.avail_out = static_cast<uInt>(chunk.size());
            deflate(&z, flush);
            idat.append(reinterpret_cast<const char*>(chunk.data()), qsizetype(chunk.size() - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    if (!ok)
        return std::nullopt;

    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    PutU32(header, static_cast<quint32>(w));
    PutU32(header, static_cast<quint32>(h));
    header.append(char(8)); // bit depth
    header.append(char(3)); // palette colour
    header.append(3, char(0));
    PutChunk(out, "IHDR", header);
    QByteArray plte;
    for (QRgb c : palette.Colours()) {
        plte.append(char(qRed(c)));
        plte.append(char(qGreen(c)));
        plte.append(char(qBlue(c)));
    }
    PutChunk(out, "PLTE", plte);
    PutChunk(out, "IDAT", idat);
    PutChunk(out, "IEND", {});
    return out;
}

} // namespace lumidrax
