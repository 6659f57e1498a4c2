// Output devices: the header other folders include.
#pragma once

#include <string>

#include "devices/device.hpp"

namespace korval {

struct FormatEntry {
    const char* keyword;  // 4 characters, upper case
    int code;
    const char* extension;  // of the default file name
};

// The metafl table in keyword order.
extern const FormatEntry format_table[];
extern const int format_table_size;
// The entry of a format code (nullptr when unknown).
const FormatEntry* format_entry(int code);
// The default file extension of a format code ("   " when it has none).
const char* format_extension(int code);
// "korval." and the extension of the format (VECM when none was chosen).
std::string default_file_name(int code);
// The page extent (largest coordinates) from the current page settings.
void page_extent(int& nx, int& ny);
// The 35 standard PostScript font names in their list order.
extern const char* const standard_fonts[35];
// One of the 35 standard PostScript font names, compared without regard
// to case; nullptr when the name is not among them.
const char* standard_font_name(const char* name);

// Versioned file names: returns the name to create under the current
// file mode.  May end the run (fatal_error) for BREA or too many versions.
std::string version_file_name(const std::string& name);
// The free versioned name for the n-th version (exposed for tests).
std::string versioned_candidate(const std::string& name, int n);

// The Windows-1252 (WinAnsiEncoding) code of an internal character code of
// the standard alphabet (32..186).
int winansi_code(int code);

// The class name of a Java applet written to the file name.
std::string java_class_name(const std::string& file);

// korini: device factor, header, output file; korfin: end of the output.
void device_start();
int device_finish();
void device_erase();
void device_new_page();
bool device_is_screen();
Device* current_device();

}  // namespace korval
