#pragma once

#include <string>

typedef struct _FcConfig FcConfig;
typedef struct _PangoFontMap PangoFontMap;

// The fonts text is drawn with: the system's fonts plus a fontconfig rule,
// loaded in this process only, that maps the interface's font names to
// metric-compatible faces:
//   "HelveticaNeue"               -> TeX Gyre Heros
//   "HelveticaNeue-CondensedBold" -> TeX Gyre Heros Cn, bold, narrowed to
//                                    nine tenths of its width
class FontLibrary {
public:
    // The process's fontconfig configuration with the rule; made once.
    static FcConfig* configuration();
    // The calling thread's Pango font map over that configuration.
    static PangoFontMap* fontMap();
    // Whether `name`, after the rule, names an installed family: looked up
    // once per name, the answer kept for the process.
    static bool resolves(const std::string& name);
    // The same, looked up afresh.
    static bool lookUp(const std::string& name);
};
