#include "platform/system/locale_language.h"

#include <cstdlib>
#include <string>

namespace rv {
namespace {

struct LanguageRow {
    std::string_view Code;  // ISO 639 language, or language_TERRITORY
    std::uint16_t Id;
};

// A territory whose sublanguage is not the language's default one.
constexpr LanguageRow kTerritories[] = {
    {"zh_CN", 0x0804}, {"zh_SG", 0x1004}, {"zh_HK", 0x0C04}, {"zh_MO", 0x1404}, {"zh_TW", 0x0404},
    {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409}, {"en_IE", 0x1809},
    {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C},
    {"es_MX", 0x080A}, {"es_ES", 0x0C0A}, {"pt_PT", 0x0816}, {"nl_BE", 0x0813}, {"sv_FI", 0x081D},
};

// Each language with its default sublanguage (1).
constexpr LanguageRow kLanguages[] = {
    {"ar", 0x0401}, {"bg", 0x0402}, {"ca", 0x0403}, {"zh", 0x0404}, {"cs", 0x0405}, {"da", 0x0406},
    {"de", 0x0407}, {"el", 0x0408}, {"en", 0x0409}, {"es", 0x040A}, {"fi", 0x040B}, {"fr", 0x040C},
    {"he", 0x040D}, {"iw", 0x040D}, {"hu", 0x040E}, {"is", 0x040F}, {"it", 0x0410}, {"ja", 0x0411},
    {"ko", 0x0412}, {"nl", 0x0413}, {"nb", 0x0414}, {"no", 0x0414}, {"nn", 0x0814}, {"pl", 0x0415},
    {"pt", 0x0416}, {"ro", 0x0418}, {"ru", 0x0419}, {"hr", 0x041A}, {"sk", 0x041B}, {"sq", 0x041C},
    {"sv", 0x041D}, {"th", 0x041E}, {"tr", 0x041F}, {"ur", 0x0420}, {"id", 0x0421}, {"uk", 0x0422},
    {"be", 0x0423}, {"sl", 0x0424}, {"et", 0x0425}, {"lv", 0x0426}, {"lt", 0x0427}, {"fa", 0x0429},
    {"vi", 0x042A}, {"hi", 0x0439},
};

std::uint16_t Find(const LanguageRow* begin, const LanguageRow* end, std::string_view code) {
    for (const LanguageRow* row = begin; row != end; ++row) {
        if (row->Code == code) return row->Id;
    }
    return LANG_NEUTRAL;
}

}  // namespace

std::uint16_t LangIDOfLocale(std::string_view locale) {
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale == "C" || locale == "POSIX") return LANG_ENGLISH_US;
    const std::uint16_t territory = Find(std::begin(kTerritories), std::end(kTerritories), locale);
    if (territory != LANG_NEUTRAL) return territory;
    return Find(std::begin(kLanguages), std::end(kLanguages), locale.substr(0, locale.find('_')));
}

std::uint16_t SystemDefaultLangID() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return LangIDOfLocale(value);
    }
    return LangIDOfLocale("");
}

}  // namespace rv
