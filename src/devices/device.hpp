// The driver interface: one subclass per format family.
//
// The pipeline hands devices plot coordinates that are already clipped; each
// device maps them to its own units with the device factor of the output
// state.  A device says what it draws itself through its capabilities; the
// core emulates the rest (thick lines, rectangle and polygon fills, text).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "devices/sink.hpp"

namespace korval {

enum DeviceOp { kOpEnd = 1, kOpDraw = 2, kOpMove = 3, kOpFlush = 999 };

// What a device draws itself.
enum DeviceCaps : unsigned {
    kCapLineWidth = 1u << 0,     // line width, cap, join and miter limit
    kCapFillRect = 1u << 1,      // filled axis-parallel rectangles
    kCapFillPolygon = 1u << 2,   // solid even-odd polygon fills
    kCapSector = 1u << 3,        // filled ring sectors
    kCapTriangle = 1u << 4,      // filled triangles in the current colour
    kCapHardwareText = 1u << 5,  // characters in hardware fonts
    kCapImage = 1u << 6,         // raster pictures
};

class Device {
public:
    virtual ~Device() = default;
    virtual unsigned capabilities() const { return 0; }
    bool has(unsigned cap) const { return (capabilities() & cap) != 0; }

    // Creates the output file; false when it cannot be created, and every
    // later write is then dropped.
    bool open_file(const std::string& name, bool binary) { return sink_.open_file(name, binary); }
    bool is_open() const { return sink_.is_open(); }

    // Writes the format's header (korini, after the file was opened).
    virtual void start() {}
    // A pen move (op 3) or draw (op 2) to plot coordinates (x, y).
    virtual void line(float x, float y, int op) { (void)x, (void)y, (void)op; }
    // A filled rectangle, plot coordinates, corners inclusive.
    virtual void fill_rect(int x1, int y1, int x2, int y2, int colour) {
        (void)x1, (void)y1, (void)x2, (void)y2, (void)colour;
    }
    // A solid polygon in the current colour by the even-odd rule.
    virtual void fill_polygon(const float* x, const float* y, int n) { (void)x, (void)y, (void)n; }
    // A filled ring sector: centre, inner and outer radius (plot units),
    // angles in degrees counter-clockwise.
    virtual void sector(float cx, float cy, float r1, float r2, float a1, float a2, int colour) {
        (void)cx, (void)cy, (void)r1, (void)r2, (void)a1, (void)a2, (void)colour;
    }
    // A triangle filled in the current colour.
    virtual void triangle(const float* x, const float* y) { (void)x, (void)y; }
    // Selects a colour index (its RGB value comes from the colour table).
    virtual void colour(int index) { (void)index; }
    // The whole colour table changed.
    virtual void colour_table() {}
    // Line attributes (devices with kCapLineWidth): linwid n, penwid x,
    // cap 0..2, join 0..2, miter limit.
    virtual void line_width(int n) { (void)n; }
    virtual void pen_width(float x) { (void)x; }
    virtual void line_cap(int cap) { (void)cap; }
    virtual void line_join(int join) { (void)join; }
    virtual void miter_limit(float limit) { (void)limit; }
    // Hardware fonts: selects a font (name as matched) at a character
    // height in plot units, or with a null name gives the current font a
    // new height; draws one character (internal code) whose baseline
    // starts at (x, y) and which advances the text by advance plot units.
    virtual void hardware_font(const char* name, float height) { (void)name, (void)height; }
    virtual void character(int code, float x, float y, int angle, float advance = 0.0f) {
        (void)code, (void)x, (void)y, (void)angle, (void)advance;
    }
    // A picture of w x h pixels (red, green, blue bytes, rows from the top)
    // placed in the box x0, bottom y, width, height (plot units).
    virtual void image(const std::uint8_t* rgb, int w, int h, float x0, float yb, float bw, float bh) {
        (void)rgb, (void)w, (void)h, (void)x0, (void)yb, (void)bw, (void)bh;
    }
    // The clipping rectangle in plot coordinates (screen and raster devices).
    virtual void clip_rect(int x1, int y1, int x2, int y2) { (void)x1, (void)y1, (void)x2, (void)y2; }
    // Makes everything drawn so far visible (sendbf).
    virtual void sync() {}
    virtual void new_page() {}
    virtual void erase() {}
    // Writes the format's end and closes the output (korfin).  Returns the
    // protocol mode: 1 names the output file, 0 names none.
    virtual int finish() { return 1; }

protected:
    // Closes the output file at the end of finish(): the protocol mode 1,
    // or 0 after warning 36 when the file could not be written completely.
    int close_output();

    Sink sink_;
};

using DeviceFactory = std::unique_ptr<Device> (*)();

// Registers the driver of the format codes lo..hi (one row of the table).
struct DeviceRegistration {
    DeviceRegistration(int lo, int hi, DeviceFactory factory);
};

}  // namespace korval
