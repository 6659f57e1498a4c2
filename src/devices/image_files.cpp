#include "devices/image_files.hpp"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace korval {

namespace {

void be32(Bytes& o, std::uint32_t v) {
    o.push_back((std::uint8_t)(v >> 24));
    o.push_back((std::uint8_t)(v >> 16));
    o.push_back((std::uint8_t)(v >> 8));
    o.push_back((std::uint8_t)v);
}
void le16(Bytes& o, std::uint32_t v) {
    o.push_back((std::uint8_t)v);
    o.push_back((std::uint8_t)(v >> 8));
}
void le32(Bytes& o, std::uint32_t v) {
    le16(o, v & 0xffff);
    le16(o, v >> 16);
}
// A PNG chunk: length, type, data, CRC-32 over type and data.
void chunk(Bytes& o, const char* type, const std::uint8_t* data, std::size_t n) {
    be32(o, (std::uint32_t)n);
    std::size_t at = o.size();
    o.insert(o.end(), type, type + 4);
    if (n) o.insert(o.end(), data, data + n);
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, o.data() + at, (uInt)(n + 4));
    be32(o, (std::uint32_t)crc);
}

int clamp_colours(int n) { return n < 1 ? 1 : n > 256 ? 256 : n; }

}  // namespace

int encode_png(const Picture& pic, const std::uint32_t* palette, int ncolours, bool transparent, Bytes& out) {
    out.clear();
    if (pic.empty()) return kImageMemory;
    const int w = pic.width(), h = pic.height(), bpp = pic.bytes_per_pixel();
    const std::size_t row = (std::size_t)w * bpp + 1;
    const std::size_t n = row * (std::size_t)h;
    Bytes raw, packed;
    try {
        raw.resize(n);
        std::size_t cap = std::max<std::size_t>(n + 17 + n / 100, compressBound((uLong)n));
        packed.resize(cap);
        out.reserve(cap / 4 + 1024);
    } catch (const std::bad_alloc&) {
        return kImageMemory;
    }
    for (int y = 0; y < h; ++y) {
        std::uint8_t* r = raw.data() + (std::size_t)y * row;
        r[0] = 0;  // filter type None
        std::memcpy(r + 1, pic.row(y), row - 1);
    }
    z_stream zs{};
    if (deflateInit(&zs, Z_DEFAULT_COMPRESSION) != Z_OK) return kImageZlibInit;
    zs.next_in = raw.data();
    zs.avail_in = (uInt)n;
    zs.next_out = packed.data();
    zs.avail_out = (uInt)packed.size();
    int rc = deflate(&zs, Z_FINISH);
    std::size_t packed_n = zs.total_out;
    if (rc != Z_STREAM_END) {
        deflateEnd(&zs);
        return kImageZlibRun;
    }
    if (deflateEnd(&zs) != Z_OK) return kImageZlibEnd;

    static const std::uint8_t sig[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    out.insert(out.end(), sig, sig + 8);
    std::uint8_t ihdr[13];
    for (int i = 0; i < 4; ++i) ihdr[i] = (std::uint8_t)((std::uint32_t)w >> (24 - 8 * i));
    for (int i = 0; i < 4; ++i) ihdr[4 + i] = (std::uint8_t)((std::uint32_t)h >> (24 - 8 * i));
    ihdr[8] = 8;
    ihdr[9] = bpp == 1 ? 3 : 2;
    ihdr[10] = ihdr[11] = ihdr[12] = 0;
    chunk(out, "IHDR", ihdr, 13);
    if (bpp == 1) {
        int nc = clamp_colours(ncolours);
        std::uint8_t plte[768];
        for (int i = 0; i < nc; ++i) {
            plte[3 * i] = (std::uint8_t)(palette[i] >> 16);
            plte[3 * i + 1] = (std::uint8_t)(palette[i] >> 8);
            plte[3 * i + 2] = (std::uint8_t)palette[i];
        }
        chunk(out, "PLTE", plte, (std::size_t)nc * 3);
    }
    if (transparent) {
        if (bpp == 1) {
            const std::uint8_t t[1] = {0};
            chunk(out, "tRNS", t, 1);
        } else {
            const std::uint8_t t[6] = {0, 255, 0, 255, 0, 255};
            chunk(out, "tRNS", t, 6);
        }
    }
    chunk(out, "IDAT", packed.data(), packed_n);
    chunk(out, "IEND", nullptr, 0);
    return kImageOk;
}

int encode_tiff(const Picture& pic, const std::uint32_t* palette, int resolution, int unit, Bytes& out) {
    out.clear();
    if (pic.empty()) return kImageMemory;
    const int w = pic.width(), h = pic.height(), spp = pic.bytes_per_pixel();
    const bool indexed = spp == 1;
    const int entries = indexed ? 14 : 10;
    const std::uint32_t strip = (std::uint32_t)w * spp;
    // Layout: header, directory, then the values that do not fit in an
    // entry (BitsPerSample of RGB, StripOffsets, StripByteCounts, the two
    // resolutions, ColorMap), then the strips.
    std::uint32_t at = 8 + 2 + 12 * entries + 4;
    const std::uint32_t bits_at = at;
    if (!indexed) at += 6;
    const std::uint32_t offsets_at = at;
    if (h > 1) at += 4 * (std::uint32_t)h;
    const std::uint32_t counts_at = at;
    if (h > 2) at += 2 * (std::uint32_t)h;
    at = (at + 1) & ~1u;
    const std::uint32_t xres_at = at, yres_at = at + 8;
    if (indexed) at += 16;
    const std::uint32_t cmap_at = at;
    if (indexed) at += 768 * 2;
    const std::uint32_t data_at = at;
    try {
        out.reserve(data_at + (std::size_t)strip * h);
    } catch (const std::bad_alloc&) {
        return kImageMemory;
    }
    out.push_back('I');
    out.push_back('I');
    le16(out, 42);
    le32(out, 8);
    le16(out, (std::uint32_t)entries);
    auto entry = [&](int tag, int type, std::uint32_t count, std::uint32_t value) {
        le16(out, (std::uint32_t)tag);
        le16(out, (std::uint32_t)type);
        le32(out, count);
        if (type == 3 && count == 1) {
            le16(out, value);
            le16(out, 0);
        } else {
            le32(out, value);
        }
    };
    const int kShort = 3, kLong = 4, kRational = 5;
    entry(254, kLong, 1, 0);
    entry(256, kLong, 1, (std::uint32_t)w);
    entry(257, kLong, 1, (std::uint32_t)h);
    if (indexed)
        entry(258, kShort, 1, 8);
    else
        entry(258, kShort, 3, bits_at);
    entry(259, kShort, 1, 1);
    entry(262, kShort, 1, indexed ? 3 : 2);
    entry(273, kLong, (std::uint32_t)h, h > 1 ? offsets_at : data_at);
    entry(277, kShort, 1, (std::uint32_t)spp);
    entry(278, kLong, 1, 1);
    if (h > 2) {
        entry(279, kShort, (std::uint32_t)h, counts_at);
    } else {
        // Up to two SHORT counts sit in the entry itself.
        le16(out, 279);
        le16(out, kShort);
        le32(out, (std::uint32_t)h);
        le16(out, strip);
        le16(out, h == 2 ? strip : 0);
    }
    if (indexed) {
        entry(282, kRational, 1, xres_at);
        entry(283, kRational, 1, yres_at);
        entry(296, kShort, 1, (std::uint32_t)unit);
        entry(320, kShort, 768, cmap_at);
    }
    le32(out, 0);
    if (!indexed) le16(out, 8), le16(out, 8), le16(out, 8);
    if (h > 1)
        for (int y = 0; y < h; ++y) le32(out, data_at + (std::uint32_t)y * strip);
    if (h > 2)
        for (int y = 0; y < h; ++y) le16(out, strip);
    while (out.size() < (indexed ? xres_at : data_at)) out.push_back(0);
    if (indexed) {
        le32(out, (std::uint32_t)resolution), le32(out, 1);
        le32(out, (std::uint32_t)resolution), le32(out, 1);
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 256; ++i) le16(out, ((palette[i] >> (16 - 8 * c)) & 0xff) * 257u);
    }
    for (int y = 0; y < h; ++y) out.insert(out.end(), pic.row(y), pic.row(y) + strip);
    return kImageOk;
}

int encode_bmp(const Picture& pic, const std::uint32_t* palette, int ncolours, Bytes& out) {
    out.clear();
    if (pic.empty()) return kImageMemory;
    const int w = pic.width(), h = pic.height(), bpp = pic.bytes_per_pixel();
    const int colours = bpp == 1 ? clamp_colours(ncolours) : 0;
    const std::uint32_t row = ((std::uint32_t)w * bpp + 3) / 4 * 4;
    const std::uint32_t image = row * (std::uint32_t)h;
    const std::uint32_t offset = 54 + 4 * (std::uint32_t)colours;
    try {
        out.reserve(offset + image);
    } catch (const std::bad_alloc&) {
        return kImageMemory;
    }
    out.push_back('B');
    out.push_back('M');
    le32(out, image + offset);
    le16(out, 0);
    le16(out, 0);
    le32(out, offset);
    le32(out, 40);
    le32(out, (std::uint32_t)w);
    le32(out, (std::uint32_t)h);
    le16(out, 1);
    le16(out, bpp == 1 ? 8 : 24);
    le32(out, 0);
    le32(out, image);
    le32(out, 2500);
    le32(out, 2500);
    le32(out, (std::uint32_t)colours);
    le32(out, (std::uint32_t)colours);
    for (int i = 0; i < colours; ++i) {
        out.push_back((std::uint8_t)palette[i]);
        out.push_back((std::uint8_t)(palette[i] >> 8));
        out.push_back((std::uint8_t)(palette[i] >> 16));
        out.push_back(0);
    }
    std::size_t at = out.size();
    out.resize(at + image, 0);
    for (int y = h - 1; y >= 0; --y, at += row) {
        const std::uint8_t* src = pic.row(y);
        std::uint8_t* dst = out.data() + at;
        if (bpp == 1) {
            std::memcpy(dst, src, (std::size_t)w);
        } else {
            for (int x = 0; x < w; ++x, src += 3, dst += 3) dst[0] = src[2], dst[1] = src[1], dst[2] = src[0];
        }
    }
    return kImageOk;
}

int encode_ppm(const Picture& pic, const std::uint32_t* palette, Bytes& out) {
    out.clear();
    if (pic.empty()) return kImageMemory;
    const int w = pic.width(), h = pic.height();
    char head[64];
    int n = std::snprintf(head, sizeof head, "P6\n%d %d\n255\n", w, h);
    try {
        out.reserve((std::size_t)n + (std::size_t)w * 3 * h);
    } catch (const std::bad_alloc&) {
        return kImageMemory;
    }
    out.insert(out.end(), head, head + n);
    std::size_t at = out.size();
    out.resize(at + (std::size_t)w * 3 * h);
    std::uint8_t* dst = out.data() + at;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = pic.row(y);
        if (pic.rgb()) {
            std::memcpy(dst, src, (std::size_t)w * 3);
            dst += (std::size_t)w * 3;
        } else {
            for (int x = 0; x < w; ++x) {
                std::uint32_t c = palette[src[x]];
                *dst++ = (std::uint8_t)(c >> 16);
                *dst++ = (std::uint8_t)(c >> 8);
                *dst++ = (std::uint8_t)c;
            }
        }
    }
    return kImageOk;
}

int encode_own_image(const Picture& pic, Bytes& out) {
    out.clear();
    if (pic.empty()) return kImageMemory;
    char head[81];
    std::snprintf(head, sizeof head, "!Bitmap KORVAL VIRT %5d %5d %5d %5d %5d %5d %5d %5d %5d       ",
                  pic.width(), pic.height(), 8, pic.stride(), pic.rgb() ? 24 : 8, 32, 0, 1, 0);
    try {
        out.reserve(80 + pic.size_bytes());
    } catch (const std::bad_alloc&) {
        return kImageMemory;
    }
    out.insert(out.end(), head, head + 80);
    out.insert(out.end(), pic.data(), pic.data() + pic.size_bytes());
    return kImageOk;
}

int write_file(const std::string& name, const Bytes& data) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return kImageFile;
    bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (std::fclose(f) != 0) ok = false;
    return ok ? kImageOk : kImageFile;
}

bool parse_own_header(const std::uint8_t* head, std::size_t n, OwnImageHeader& h) {
    if (n < 80 || std::memcmp(head, "!Bitmap", 7) != 0) return false;
    // The numbers stand in 5-character fields from byte 20, one blank apart.
    int v[9];
    for (int k = 0; k < 9; ++k) {
        const std::uint8_t* p = head + 20 + 6 * k;
        int i = 0;
        while (i < 5 && p[i] == ' ') ++i;
        bool neg = false;
        if (i < 5 && p[i] == '-') neg = true, ++i;
        if (i == 5) return false;
        long val = 0;
        for (; i < 5; ++i) {
            if (p[i] < '0' || p[i] > '9') return false;
            val = val * 10 + (p[i] - '0');
        }
        v[k] = (int)(neg ? -val : val);
    }
    h.width = v[0];
    h.height = v[1];
    h.row_bytes = v[3];
    h.bits = v[4];
    h.flag = v[7];
    h.base = v[8];
    if (h.bits != 8 && h.bits != 24 && h.bits != 32) return false;
    if (h.width < 1 || h.height < 1) return false;
    if (h.row_bytes < h.width * (h.bits / 8)) return false;
    return true;
}

int nearest_index(const std::uint32_t* palette, std::uint32_t rgb) {
    int r = (rgb >> 16) & 0xff, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
    int best = 0;
    long best_d = -1;
    for (int i = 0; i < 256; ++i) {
        int dr = (int)((palette[i] >> 16) & 0xff) - r, dg = (int)((palette[i] >> 8) & 0xff) - g,
            db = (int)(palette[i] & 0xff) - b;
        long d = (long)dr * dr + (long)dg * dg + (long)db * db;
        if (best_d < 0 || d < best_d) best = i, best_d = d;
        if (d == 0) break;
    }
    return best;
}

int read_own_image(const std::string& name, Picture& pic, const std::uint32_t* palette) {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return 36;
    struct Closer {
        std::FILE* f;
        ~Closer() { std::fclose(f); }
    } closer{f};
    std::uint8_t head[80];
    OwnImageHeader h;
    if (std::fread(head, 1, 80, f) != 80 || !parse_own_header(head, 80, h)) return 56;
    if (pic.empty()) return 40;
    const int fbpp = h.bits / 8;
    const int rows = std::min(h.height, pic.height());
    const int pbpp = pic.bytes_per_pixel();
    // Indexed files without the flag hold values to be spread from a base.
    auto spread = [&](int y) {
        if (fbpp != 1 || h.flag != 0) return;
        std::uint8_t* p = pic.row(y);
        for (int x = 0; x < std::min(h.width, pic.width()); ++x)
            p[x] = p[x] == h.base ? 0 : (std::uint8_t)(((int)p[x] - h.base) * 2 - 1);
    };
    if (fbpp == pbpp && h.row_bytes == pic.stride() && h.height == pic.height()) {
        std::size_t n = pic.size_bytes();
        if (std::fread(pic.data(), 1, n, f) != n) return 56;
        for (int y = 0; y < rows; ++y) spread(y);
        return 0;
    }
    if (fbpp == pbpp && pic.stride() >= h.row_bytes) {
        for (int y = 0; y < rows; ++y) {
            if (std::fread(pic.row(y), 1, (std::size_t)h.row_bytes, f) != (std::size_t)h.row_bytes) return 56;
            spread(y);
        }
        return 0;
    }
    Bytes line;
    try {
        line.resize((std::size_t)h.row_bytes);
    } catch (const std::bad_alloc&) {
        return 51;
    }
    const int cols = std::min(h.width, pic.width());
    for (int y = 0; y < rows; ++y) {
        if (std::fread(line.data(), 1, line.size(), f) != line.size()) return 56;
        for (int x = 0; x < cols; ++x) {
            const std::uint8_t* p = line.data() + (std::size_t)x * fbpp;
            std::uint32_t rgb;
            if (fbpp == 1) {
                int v = p[0];
                if (h.flag == 0) v = v == h.base ? 0 : ((v - h.base) * 2 - 1) & 0xff;
                if (pbpp == 1) {
                    pic.set(x, y, (std::uint32_t)v);
                    continue;
                }
                rgb = palette[v];
            } else if (fbpp == 3) {
                rgb = (std::uint32_t)p[0] << 16 | (std::uint32_t)p[1] << 8 | p[2];
            } else {
                rgb = (std::uint32_t)p[2] << 16 | (std::uint32_t)p[1] << 8 | p[0];
            }
            pic.set(x, y, pbpp == 1 ? (std::uint32_t)nearest_index(palette, rgb) : rgb);
        }
    }
    return 0;
}

}  // namespace korval
