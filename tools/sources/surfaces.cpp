#include "surfaces.h"

#include <string.h>

#include <string>
#include <vector>

struct SurfaceWord {
    const char *word;                   /* upper case */
    SurfaceKind kind;
};

/* The words of the surface texts, in upper case, each with the material it
 * names.  Misspellings met in the data are listed with the words. */
static const SurfaceWord surface_words[] = {
    /* Asphalt and bitumen */
    {"A", SurfaceKind::hard}, {"ASP", SurfaceKind::hard}, {"ASPH", SurfaceKind::hard},
    {"ASPHALT", SurfaceKind::hard}, {"ASPHAULT", SurfaceKind::hard},
    {"ASHPALT", SurfaceKind::hard}, {"ASHPHALT", SurfaceKind::hard},
    {"ASHP", SurfaceKind::hard}, {"APSH", SurfaceKind::hard}, {"ASFALT", SurfaceKind::hard},
    {"ASFALTO", SurfaceKind::hard}, {"BIT", SurfaceKind::hard}, {"BITUM", SurfaceKind::hard},
    {"BITUMEN", SurfaceKind::hard}, {"BITUMINOUS", SurfaceKind::hard},
    {"TAR", SurfaceKind::hard}, {"TARRED", SurfaceKind::hard}, {"TARMAC", SurfaceKind::hard},
    {"MAC", SurfaceKind::hard}, {"MACADAM", SurfaceKind::hard}, {"BLACKTOP", SurfaceKind::hard},
    {"PFC", SurfaceKind::hard},        /* porous friction course */
    {"CHIPSEAL", SurfaceKind::hard}, {"SEALED", SurfaceKind::hard},
    /* Concrete and cement */
    {"CON", SurfaceKind::hard}, {"CONC", SurfaceKind::hard}, {"CONCRETE", SurfaceKind::hard},
    {"COCRETE", SurfaceKind::hard}, {"C0N", SurfaceKind::hard}, {"CCN", SurfaceKind::hard},
    {"CEM", SurfaceKind::hard}, {"CEMENT", SurfaceKind::hard},
    /* Paved, kind not said */
    {"PEM", SurfaceKind::hard},        /* partly concrete, asphalt or bitumen-bound macadam */
    {"PER", SurfaceKind::hard},        /* permanent surface */
    {"PAVED", SurfaceKind::hard}, {"PAVEMENT", SurfaceKind::hard}, {"PAVING", SurfaceKind::hard},
    {"HARD", SurfaceKind::hard}, {"SURFACED", SurfaceKind::hard}, {"COATING", SurfaceKind::hard},
    {"COM", SurfaceKind::hard}, {"COP", SurfaceKind::hard},     /* composite */
    {"COMPOSITE", SurfaceKind::hard}, {"BRICK", SurfaceKind::hard}, {"BRI", SurfaceKind::hard},
    {"CERAMIC", SurfaceKind::hard},
    /* Built: metal, planking, mats, wood, decks and roofs */
    {"MET", SurfaceKind::hard}, {"METAL", SurfaceKind::hard}, {"MTAL", SurfaceKind::hard},
    {"STEEL", SurfaceKind::hard}, {"ALUM", SurfaceKind::hard}, {"ALUMINUM", SurfaceKind::hard},
    {"AUMINUM", SurfaceKind::hard}, {"PSP", SurfaceKind::hard}, {"PIERCED", SurfaceKind::hard},
    {"MARSTON", SurfaceKind::hard}, {"MATS", SurfaceKind::hard}, {"WOOD", SurfaceKind::hard},
    {"DECK", SurfaceKind::hard}, {"ROOF", SurfaceKind::hard}, {"ROOFTOP", SurfaceKind::hard},
    {"NEOPRENE", SurfaceKind::hard}, {"PAD", SurfaceKind::hard},
    /* Grass and turf */
    {"TURF", SurfaceKind::soft}, {"TUEF", SurfaceKind::soft}, {"GRASS", SurfaceKind::soft},
    {"GRASSS", SurfaceKind::soft}, {"GRASSED", SurfaceKind::soft}, {"GRASSY", SurfaceKind::soft},
    {"GRASSNOW", SurfaceKind::soft}, {"GRAS", SurfaceKind::soft}, {"GRAAS", SurfaceKind::soft},
    {"GRS", SurfaceKind::soft}, {"GRE", SurfaceKind::soft}, {"GR", SurfaceKind::soft},
    {"G", SurfaceKind::soft}, {"SOD", SurfaceKind::soft}, {"ERBA", SurfaceKind::soft},
    {"HERBA", SurfaceKind::soft}, {"TORF", SurfaceKind::soft}, {"MOSS", SurfaceKind::soft},
    /* Gravel, stone, earth, sand, clay */
    {"GRAVEL", SurfaceKind::soft}, {"GRVL", SurfaceKind::soft}, {"GVL", SurfaceKind::soft},
    {"GRV", SurfaceKind::soft}, {"GRAV", SurfaceKind::soft}, {"GRA", SurfaceKind::soft},
    {"OILGRAVEL", SurfaceKind::soft}, {"OLIGRAVEL", SurfaceKind::soft},
    {"CRUSHED", SurfaceKind::soft}, {"ROCK", SurfaceKind::soft}, {"ROCKY", SurfaceKind::soft},
    {"STONE", SurfaceKind::soft}, {"SHALE", SurfaceKind::soft}, {"SHALY", SurfaceKind::soft},
    {"LIMESTONE", SurfaceKind::soft}, {"CALICHE", SurfaceKind::soft},
    {"CALCRETE", SurfaceKind::soft}, {"CORAL", SurfaceKind::soft}, {"COR", SurfaceKind::soft},
    {"DIRT", SurfaceKind::soft}, {"EARTH", SurfaceKind::soft}, {"EARTTH", SurfaceKind::soft},
    {"EERTH", SurfaceKind::soft}, {"SOIL", SurfaceKind::soft}, {"GROUND", SurfaceKind::soft},
    {"TER", SurfaceKind::soft}, {"TERRAIN", SurfaceKind::soft}, {"LOAM", SurfaceKind::soft},
    {"MUD", SurfaceKind::soft}, {"SILT", SurfaceKind::soft}, {"SAND", SurfaceKind::soft},
    {"SAN", SurfaceKind::soft}, {"CLAY", SurfaceKind::soft}, {"CLA", SurfaceKind::soft},
    {"ARG", SurfaceKind::soft}, {"LAT", SurfaceKind::soft}, {"MURRAM", SurfaceKind::soft},
    {"SAIBRO", SurfaceKind::soft}, {"ZAHORRA", SurfaceKind::soft},
    {"PI\xC3\x87" "ARRA", SurfaceKind::soft}, {"PI\xC3\x87" "AARA", SurfaceKind::soft},
    {"PI\xC3\x87", SurfaceKind::soft}, {"PIC", SurfaceKind::soft},
    {"PI\xC3\xA7" "ARRA", SurfaceKind::soft}, {"PI\xC3\xA7" "AARA", SurfaceKind::soft},
    {"HARDCORE", SurfaceKind::soft},
    {"MAICILLO", SurfaceKind::soft}, {"GRAIN", SurfaceKind::soft}, {"SALT", SurfaceKind::soft},
    {"LAKEBED", SurfaceKind::soft}, {"LAKE", SurfaceKind::soft}, {"VOLCANIC", SurfaceKind::soft},
    {"UNPAVED", SurfaceKind::soft}, {"UNSEALED", SurfaceKind::soft},
    {"ROUGH", SurfaceKind::soft}, {"SOFT", SurfaceKind::soft}, {"GRADED", SurfaceKind::soft},
    {"TRTD", SurfaceKind::soft}, {"TREATED", SurfaceKind::soft}, {"OILED", SurfaceKind::soft},
    {"COMPACTED", SurfaceKind::soft}, {"CMPCTD", SurfaceKind::soft},
    {"PACKED", SurfaceKind::soft}, {"NATURAL", SurfaceKind::soft},
    /* Snow and ice */
    {"SNOW", SurfaceKind::soft}, {"SNO", SurfaceKind::soft}, {"ICE", SurfaceKind::soft},
    /* Water */
    {"WATER", SurfaceKind::water}, {"WAT", SurfaceKind::water},
};

/* Words that say how a material is, not which: passed over when a word
 * follows them.  Alone, those of them in the table above decide. */
static const char *const qualifier_words[] = {
    "OLD", "GOOD", "RED", "BLACK", "BROWN", "GREY", "GRAY", "BLUE", "WHITE", "YELLOW",
    "SUMMER", "WINTER", "DRY", "LOOSE", "RAISED", "SURFACE", "HARD", "COMPACTED", "CMPCTD",
    "PACKED", "NATURAL", "OILED", "TREATED", "TRTD", "ROLLED", "SEALED", "GRADED"};

static bool is_qualifier(const std::string &word)
{
    for (const char *q : qualifier_words)
        if (word == q)
            return true;
    return false;
}

static const SurfaceWord *find_word(const std::string &word)
{
    for (const SurfaceWord &w : surface_words)
        if (word == w.word)
            return &w;
    return nullptr;
}

/* Upper-case words of letters and digits; bytes of UTF-8 letters (128 and
 * up) belong to words. */
static std::vector<std::string> words_of(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    for (size_t i = 0; i <= text.size(); i++) {
        unsigned char c = i < text.size() ? (unsigned char)text[i] : ' ';
        bool part = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                    (c >= '0' && c <= '9') || c >= 128;
        if (part) {
            word += (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : (char)c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

SurfaceKind surface_kind(std::string_view text)
{
    std::vector<std::string> words = words_of(text);
    /* A condition letter at the end (ASPH-G, TREATED-E) is no material. */
    while (words.size() > 1 && words.back().size() == 1)
        words.pop_back();
    for (size_t i = 0; i < words.size(); i++) {
        if (i + 1 < words.size() && is_qualifier(words[i]))
            continue;
        if (const SurfaceWord *w = find_word(words[i]))
            return w->kind;
        /* A word the table does not know: the text is not guessed at. */
        return SurfaceKind::unknown;
    }
    return SurfaceKind::unknown;
}

SurfaceKind surface_kind(long code)
{
    /* 1 asphalt, 2 concrete; from 1200 the asphalt kinds 20 to 38 and the
     * concrete kinds 50 to 57.  3 turf, 4 dirt, 5 gravel, 12 dry lakebed,
     * 14 snow or ice, 15 transparent (hard); 13 water. */
    if (code == 1 || code == 2 || code == 15 || (code >= 20 && code <= 38) ||
        (code >= 50 && code <= 57))
        return SurfaceKind::hard;
    if (code == 13)
        return SurfaceKind::water;
    if (code == 3 || code == 4 || code == 5 || code == 12 || code == 14)
        return SurfaceKind::soft;
    return SurfaceKind::unknown;
}

const char *surface_kind_name(SurfaceKind kind)
{
    switch (kind) {
    case SurfaceKind::hard: return "hard";
    case SurfaceKind::soft: return "soft";
    case SurfaceKind::water: return "water";
    case SurfaceKind::unknown: break;
    }
    return "unknown";
}
