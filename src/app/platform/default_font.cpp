// The built-in fallback font: DejaVu Sans (Book) from Debian's package
// fonts-dejavu-core, assembled into the program at build time straight from
// the installed font file (cmake/Velmora.cmake finds it and passes its path),
// so that text can always be drawn, also when no font of the game folder
// could be loaded. DejaVu fonts are under the Bitstream Vera licence with
// public-domain changes; the licence text ships beside the pack's fonts
// (Game/CREDITS-fonts.md names it).
#include "app/platform/default_font.h"

#ifndef VELMORA_DEFAULT_FONT_FILE
#error "the build names the fallback font file in VELMORA_DEFAULT_FONT_FILE (cmake/Velmora.cmake)"
#endif

#if defined(_WIN32)
#define VELMORA_FONT_SECTION ".section .rdata,\"dr\"\n"
#define VELMORA_FONT_SECTION_END ".text\n"
#else
#define VELMORA_FONT_SECTION ".pushsection .rodata\n"
#define VELMORA_FONT_SECTION_END ".popsection\n"
#endif

// The file's bytes between two labels; the assembler reads the file itself,
// so the build never turns it into source text.
__asm__(VELMORA_FONT_SECTION
        ".balign 16\n"
        ".globl velmora_default_font_begin\n"
        "velmora_default_font_begin:\n"
        ".incbin \"" VELMORA_DEFAULT_FONT_FILE "\"\n"
        ".globl velmora_default_font_end\n"
        "velmora_default_font_end:\n"
        ".byte 0\n" VELMORA_FONT_SECTION_END);

extern "C" const unsigned char velmora_default_font_begin[];
extern "C" const unsigned char velmora_default_font_end[];

namespace platform::detail {

const unsigned char* DefaultFontBytes() { return velmora_default_font_begin; }

size_t DefaultFontSize() { return static_cast<size_t>(velmora_default_font_end - velmora_default_font_begin); }

} // namespace platform::detail
