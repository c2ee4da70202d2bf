#include "FontLibrary.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <strings.h>

#include <map>
#include <mutex>

namespace {

// The condensed stand-in is drawn at nine tenths of its width: it is wider
// than the condensed face the interface was designed with, and its widest
// text for the box it has (a 32-point caption in 102 points) needs 0.945 to
// fit on one line; nine tenths leaves room for the ink.
constexpr const char* kRule = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <match target="pattern">
    <test name="family"><string>HelveticaNeue</string></test>
    <edit name="family" mode="assign" binding="strong"><string>TeX Gyre Heros</string></edit>
  </match>
  <match target="pattern">
    <test name="family"><string>HelveticaNeue-CondensedBold</string></test>
    <edit name="family" mode="assign" binding="strong"><string>TeX Gyre Heros Cn</string></edit>
    <edit name="weight" mode="assign" binding="strong"><const>bold</const></edit>
    <edit name="matrix" mode="assign">
      <times><name>matrix</name><matrix><double>0.9</double><double>0</double><double>0</double><double>1</double></matrix></times>
    </edit>
  </match>
</fontconfig>
)";

FcConfig* makeConfiguration()
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kRule), FcTrue);
    return config;
}

// Holds a thread's font map and releases it when the thread ends.
struct ThreadFontMap {
    PangoFontMap* map;

    ThreadFontMap() : map(pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT))
    {
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), FontLibrary::configuration());
    }
    ~ThreadFontMap() { g_object_unref(map); }
    ThreadFontMap(const ThreadFontMap&) = delete;
    ThreadFontMap& operator=(const ThreadFontMap&) = delete;
};

} // namespace

FcConfig* FontLibrary::configuration()
{
    static FcConfig* config = makeConfiguration();
    return config;
}

PangoFontMap* FontLibrary::fontMap()
{
    thread_local ThreadFontMap holder;
    return holder.map;
}

bool FontLibrary::resolves(const std::string& name)
{
    static std::mutex mutex;
    static std::map<std::string, bool> answers;
    const std::lock_guard lock(mutex);
    const auto [answer, fresh] = answers.try_emplace(name, false);
    if (fresh) {
        answer->second = lookUp(name);
    }
    return answer->second;
}

bool FontLibrary::lookUp(const std::string& name)
{
    FcConfig* config = configuration();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    bool found = false;
    FcChar8* wanted = nullptr;
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* family = nullptr;
    if (match && FcPatternGetString(pattern, FC_FAMILY, 0, &wanted) == FcResultMatch &&
        FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
        found = strcasecmp(reinterpret_cast<const char*>(wanted),
                           reinterpret_cast<const char*>(family)) == 0;
    }
    if (match) {
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}
