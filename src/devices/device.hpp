// The driver interface: one subclass per format family.
//
// The pipeline hands devices plot coordinates that are already clipped; each
// device maps them to its own units.  A device says what it draws itself
// through its capabilities; the core emulates the rest.
#pragma once

#include <memory>

#include "devices/sink.hpp"

namespace korval {

enum DeviceOp { kOpDraw = 2, kOpMove = 3 };

class Device {
public:
    virtual ~Device() = default;
    // Opens the output and writes the format's header (korini).
    virtual void start() {}
    // A pen move (op 3) or draw (op 2) to plot coordinates (x, y).
    virtual void line(float x, float y, int op) { (void)x, (void)y, (void)op; }
    virtual void fill_rect(int x1, int y1, int x2, int y2, int colour) {
        (void)x1, (void)y1, (void)x2, (void)y2, (void)colour;
    }
    virtual void colour(int index) { (void)index; }
    virtual void new_page() {}
    virtual void erase() {}
    // Writes the format's end and closes the output (korfin).  Returns the
    // protocol mode: 1 names the output file, 0 names none.
    virtual int finish() { return 1; }

protected:
    Sink sink_;
};

using DeviceFactory = std::unique_ptr<Device> (*)();

// Registers the driver of the format codes lo..hi.
struct DeviceRegistration {
    DeviceRegistration(int lo, int hi, DeviceFactory factory);
};

}  // namespace korval
