// Glyph tables of the stroke and outline fonts and their reader.
//
// A table holds the points of one alphabet slot and one glyph record per
// character index from 2 (the character after the space) on.  A record is
// its length L in words (L counts itself), then strokes: a point count n and
// a 1-based start s into the points; a negative n is followed by an offset
// word (low byte dx, high byte dy, signed).  Packed tables hold one word per
// point (low byte x, high byte y, signed); outline tables hold parallel x
// and y arrays.  The start array gives the word position of every record so
// that a glyph is found by its index without walking the table.
#pragma once

#include <cstdint>

namespace korval {

struct GlyphTable {
    const std::int16_t* points;    // packed points, or the x values of an outline table
    const std::int16_t* points_y;  // y values of an outline table; nullptr when packed
    const std::int16_t* index;     // glyph records
    const std::uint16_t* start;    // record start by character index (records + 2 entries)
    int n_points;
    int n_index;
    int records;  // highest character index with a record
};

// Splits a packed word into its signed low byte and signed high byte.
inline void unpack_byte_pair(std::int16_t w, int& lo, int& hi) {
    lo = (std::int8_t)(std::uint8_t)((std::uint16_t)w & 0xff);
    hi = (std::int8_t)(std::uint8_t)(((std::uint16_t)w >> 8) & 0xff);
}

// One stroke of a glyph record: count points from first (0-based) on, each
// moved by the raw offset (dx, dy) in table steps (not yet scaled).
struct GlyphStroke {
    int first;
    int count;
    int dx, dy;
};

// Walks the record of character index k.  A table without a record for k
// gives no strokes.  A stroke that would reach outside the points table ends
// the walk: a damaged table never reads outside its arrays.
class GlyphReader {
public:
    GlyphReader(const GlyphTable& t, int k) : t_(t) {
        if (k < 2 || k > t.records) return;
        int at = t.start[k];
        if (at < 0 || at >= t.n_index) return;
        int len = t.index[at];
        if (len < 1 || at + len > t.n_index) return;
        pos_ = at + 1;
        end_ = at + len;
        valid_ = true;
    }
    bool valid() const { return valid_; }
    bool next(GlyphStroke& s) {
        if (pos_ + 2 > end_) return false;
        int n = t_.index[pos_];
        int first = t_.index[pos_ + 1] - 1;
        int used = 2;
        s.dx = s.dy = 0;
        if (n < 0) {
            if (pos_ + 3 > end_) return false;
            unpack_byte_pair(t_.index[pos_ + 2], s.dx, s.dy);
            n = -n;
            used = 3;
        }
        if (n == 0 || first < 0 || first + n > t_.n_points) {
            pos_ = end_;
            return false;
        }
        pos_ += used;
        s.first = first;
        s.count = n;
        return true;
    }
    void point(int i, int& x, int& y) const {
        if (t_.points_y) {
            x = t_.points[i];
            y = t_.points_y[i];
        } else {
            unpack_byte_pair(t_.points[i], x, y);
        }
    }

private:
    const GlyphTable& t_;
    bool valid_ = false;
    int pos_ = 0, end_ = 0;
};

namespace fontdata {
extern const GlyphTable koralf_standard, koralf_greek, simplx_standard, simplx_greek, complx_standard,
    complx_italic, duplx_standard, triplx_standard, complex_greek, shared_math, shared_script, shared_russian,
    helve_standard, helves_standard, serif_standard;
}  // namespace fontdata

}  // namespace korval
