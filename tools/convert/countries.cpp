#include "countries.h"

#include <algorithm>
#include <unordered_map>

#include "common/tokens.h"

struct Country {
    const char *alpha2, *alpha3;
    const char *names;                  /* English name, then common forms, | between */
};

static const Country countries[] = {
    {"AD", "AND", "Andorra"},
    {"AE", "ARE", "United Arab Emirates|UAE"},
    {"AF", "AFG", "Afghanistan"},
    {"AG", "ATG", "Antigua and Barbuda"},
    {"AI", "AIA", "Anguilla"},
    {"AL", "ALB", "Albania"},
    {"AM", "ARM", "Armenia"},
    {"AO", "AGO", "Angola"},
    {"AQ", "ATA", "Antarctica"},
    {"AR", "ARG", "Argentina"},
    {"AS", "ASM", "American Samoa"},
    {"AT", "AUT", "Austria|Osterreich|Oesterreich"},
    {"AU", "AUS", "Australia"},
    {"AW", "ABW", "Aruba"},
    {"AX", "ALA", "Aland Islands"},
    {"AZ", "AZE", "Azerbaijan"},
    {"BA", "BIH", "Bosnia and Herzegovina|Bosnia-Herzegovina"},
    {"BB", "BRB", "Barbados"},
    {"BD", "BGD", "Bangladesh"},
    {"BE", "BEL", "Belgium"},
    {"BF", "BFA", "Burkina Faso"},
    {"BG", "BGR", "Bulgaria"},
    {"BH", "BHR", "Bahrain"},
    {"BI", "BDI", "Burundi"},
    {"BJ", "BEN", "Benin"},
    {"BL", "BLM", "Saint Barthelemy"},
    {"BM", "BMU", "Bermuda"},
    {"BN", "BRN", "Brunei|Brunei Darussalam"},
    {"BO", "BOL", "Bolivia"},
    {"BQ", "BES", "Caribbean Netherlands|Bonaire|Bonaire, Sint Eustatius and Saba"},
    {"BR", "BRA", "Brazil|Brasil"},
    {"BS", "BHS", "Bahamas|The Bahamas"},
    {"BT", "BTN", "Bhutan"},
    {"BW", "BWA", "Botswana"},
    {"BY", "BLR", "Belarus"},
    {"BZ", "BLZ", "Belize"},
    {"CA", "CAN", "Canada"},
    {"CC", "CCK", "Cocos (Keeling) Islands|Cocos Islands"},
    {"CD", "COD", "Democratic Republic of the Congo|Congo, Democratic Republic|DR Congo|Congo (Kinshasa)"},
    {"CF", "CAF", "Central African Republic"},
    {"CG", "COG", "Congo|Republic of the Congo|Congo (Brazzaville)"},
    {"CH", "CHE", "Switzerland|Schweiz|Suisse|Svizzera"},
    {"CI", "CIV", "Cote d'Ivoire|Ivory Coast"},
    {"CK", "COK", "Cook Islands"},
    {"CL", "CHL", "Chile"},
    {"CM", "CMR", "Cameroon"},
    {"CN", "CHN", "China|People's Republic of China"},
    {"CO", "COL", "Colombia"},
    {"CR", "CRI", "Costa Rica"},
    {"CU", "CUB", "Cuba"},
    {"CV", "CPV", "Cape Verde|Cabo Verde"},
    {"CW", "CUW", "Curacao"},
    {"CX", "CXR", "Christmas Island"},
    {"CY", "CYP", "Cyprus"},
    {"CZ", "CZE", "Czech Republic|Czechia|Cesko"},
    {"DE", "DEU", "Germany|Deutschland"},
    {"DJ", "DJI", "Djibouti"},
    {"DK", "DNK", "Denmark|Danmark"},
    {"DM", "DMA", "Dominica"},
    {"DO", "DOM", "Dominican Republic"},
    {"DZ", "DZA", "Algeria"},
    {"EC", "ECU", "Ecuador"},
    {"EE", "EST", "Estonia"},
    {"EG", "EGY", "Egypt"},
    {"EH", "ESH", "Western Sahara"},
    {"ER", "ERI", "Eritrea"},
    {"ES", "ESP", "Spain|Espana"},
    {"ET", "ETH", "Ethiopia"},
    {"FI", "FIN", "Finland|Suomi"},
    {"FJ", "FJI", "Fiji"},
    {"FK", "FLK", "Falkland Islands"},
    {"FM", "FSM", "Micronesia|Federated States of Micronesia"},
    {"FO", "FRO", "Faroe Islands"},
    {"FR", "FRA", "France"},
    {"GA", "GAB", "Gabon"},
    {"GB", "GBR", "United Kingdom|UK|Great Britain|England|Scotland|Wales|Northern Ireland"},
    {"GD", "GRD", "Grenada"},
    {"GE", "GEO", "Georgia"},
    {"GF", "GUF", "French Guiana"},
    {"GG", "GGY", "Guernsey"},
    {"GH", "GHA", "Ghana"},
    {"GI", "GIB", "Gibraltar"},
    {"GL", "GRL", "Greenland"},
    {"GM", "GMB", "Gambia|The Gambia"},
    {"GN", "GIN", "Guinea"},
    {"GP", "GLP", "Guadeloupe"},
    {"GQ", "GNQ", "Equatorial Guinea"},
    {"GR", "GRC", "Greece|Hellas"},
    {"GS", "SGS", "South Georgia and the South Sandwich Islands"},
    {"GT", "GTM", "Guatemala"},
    {"GU", "GUM", "Guam"},
    {"GW", "GNB", "Guinea-Bissau"},
    {"GY", "GUY", "Guyana"},
    {"HK", "HKG", "Hong Kong"},
    {"HN", "HND", "Honduras"},
    {"HR", "HRV", "Croatia|Hrvatska"},
    {"HT", "HTI", "Haiti"},
    {"HU", "HUN", "Hungary"},
    {"ID", "IDN", "Indonesia"},
    {"IE", "IRL", "Ireland"},
    {"IL", "ISR", "Israel"},
    {"IM", "IMN", "Isle of Man"},
    {"IN", "IND", "India"},
    {"IO", "IOT", "British Indian Ocean Territory"},
    {"IQ", "IRQ", "Iraq"},
    {"IR", "IRN", "Iran"},
    {"IS", "ISL", "Iceland"},
    {"IT", "ITA", "Italy|Italia"},
    {"JE", "JEY", "Jersey"},
    {"JM", "JAM", "Jamaica"},
    {"JO", "JOR", "Jordan"},
    {"JP", "JPN", "Japan|Nippon"},
    {"KE", "KEN", "Kenya"},
    {"KG", "KGZ", "Kyrgyzstan"},
    {"KH", "KHM", "Cambodia"},
    {"KI", "KIR", "Kiribati"},
    {"KM", "COM", "Comoros"},
    {"KN", "KNA", "Saint Kitts and Nevis"},
    {"KP", "PRK", "North Korea|Korea, North|Democratic People's Republic of Korea"},
    {"KR", "KOR", "South Korea|Korea, South|Republic of Korea|Korea"},
    {"KW", "KWT", "Kuwait"},
    {"KY", "CYM", "Cayman Islands"},
    {"KZ", "KAZ", "Kazakhstan"},
    {"LA", "LAO", "Laos"},
    {"LB", "LBN", "Lebanon"},
    {"LC", "LCA", "Saint Lucia"},
    {"LI", "LIE", "Liechtenstein"},
    {"LK", "LKA", "Sri Lanka"},
    {"LR", "LBR", "Liberia"},
    {"LS", "LSO", "Lesotho"},
    {"LT", "LTU", "Lithuania"},
    {"LU", "LUX", "Luxembourg"},
    {"LV", "LVA", "Latvia"},
    {"LY", "LBY", "Libya"},
    {"MA", "MAR", "Morocco"},
    {"MC", "MCO", "Monaco"},
    {"MD", "MDA", "Moldova"},
    {"ME", "MNE", "Montenegro"},
    {"MF", "MAF", "Saint Martin"},
    {"MG", "MDG", "Madagascar"},
    {"MH", "MHL", "Marshall Islands"},
    {"MK", "MKD", "North Macedonia|Macedonia"},
    {"ML", "MLI", "Mali"},
    {"MM", "MMR", "Myanmar|Burma"},
    {"MN", "MNG", "Mongolia"},
    {"MO", "MAC", "Macau|Macao"},
    {"MP", "MNP", "Northern Mariana Islands"},
    {"MQ", "MTQ", "Martinique"},
    {"MR", "MRT", "Mauritania"},
    {"MS", "MSR", "Montserrat"},
    {"MT", "MLT", "Malta"},
    {"MU", "MUS", "Mauritius"},
    {"MV", "MDV", "Maldives"},
    {"MW", "MWI", "Malawi"},
    {"MX", "MEX", "Mexico"},
    {"MY", "MYS", "Malaysia"},
    {"MZ", "MOZ", "Mozambique"},
    {"NA", "NAM", "Namibia"},
    {"NC", "NCL", "New Caledonia"},
    {"NE", "NER", "Niger"},
    {"NF", "NFK", "Norfolk Island"},
    {"NG", "NGA", "Nigeria"},
    {"NI", "NIC", "Nicaragua"},
    {"NL", "NLD", "Netherlands|The Netherlands|Holland|Nederland"},
    {"NO", "NOR", "Norway|Norge"},
    {"NP", "NPL", "Nepal"},
    {"NR", "NRU", "Nauru"},
    {"NU", "NIU", "Niue"},
    {"NZ", "NZL", "New Zealand"},
    {"OM", "OMN", "Oman"},
    {"PA", "PAN", "Panama"},
    {"PE", "PER", "Peru"},
    {"PF", "PYF", "French Polynesia"},
    {"PG", "PNG", "Papua New Guinea"},
    {"PH", "PHL", "Philippines"},
    {"PK", "PAK", "Pakistan"},
    {"PL", "POL", "Poland|Polska"},
    {"PM", "SPM", "Saint Pierre and Miquelon"},
    {"PN", "PCN", "Pitcairn Islands|Pitcairn"},
    {"PR", "PRI", "Puerto Rico"},
    {"PS", "PSE", "Palestine"},
    {"PT", "PRT", "Portugal"},
    {"PW", "PLW", "Palau"},
    {"PY", "PRY", "Paraguay"},
    {"QA", "QAT", "Qatar"},
    {"RE", "REU", "Reunion"},
    {"RO", "ROU", "Romania"},
    {"RS", "SRB", "Serbia"},
    {"RU", "RUS", "Russia|Russian Federation|Rossiya"},
    {"RW", "RWA", "Rwanda"},
    {"SA", "SAU", "Saudi Arabia"},
    {"SB", "SLB", "Solomon Islands"},
    {"SC", "SYC", "Seychelles"},
    {"SD", "SDN", "Sudan"},
    {"SE", "SWE", "Sweden|Sverige"},
    {"SG", "SGP", "Singapore"},
    {"SH", "SHN", "Saint Helena|Saint Helena, Ascension and Tristan da Cunha"},
    {"SI", "SVN", "Slovenia"},
    {"SJ", "SJM", "Svalbard|Svalbard and Jan Mayen"},
    {"SK", "SVK", "Slovakia"},
    {"SL", "SLE", "Sierra Leone"},
    {"SM", "SMR", "San Marino"},
    {"SN", "SEN", "Senegal"},
    {"SO", "SOM", "Somalia"},
    {"SR", "SUR", "Suriname"},
    {"SS", "SSD", "South Sudan"},
    {"ST", "STP", "Sao Tome and Principe"},
    {"SV", "SLV", "El Salvador"},
    {"SX", "SXM", "Sint Maarten"},
    {"SY", "SYR", "Syria"},
    {"SZ", "SWZ", "Eswatini|Swaziland"},
    {"TC", "TCA", "Turks and Caicos Islands"},
    {"TD", "TCD", "Chad"},
    {"TF", "ATF", "French Southern Territories"},
    {"TG", "TGO", "Togo"},
    {"TH", "THA", "Thailand"},
    {"TJ", "TJK", "Tajikistan"},
    {"TL", "TLS", "Timor-Leste|East Timor"},
    {"TM", "TKM", "Turkmenistan"},
    {"TN", "TUN", "Tunisia"},
    {"TO", "TON", "Tonga"},
    {"TR", "TUR", "Turkey|Turkiye"},
    {"TT", "TTO", "Trinidad and Tobago"},
    {"TV", "TUV", "Tuvalu"},
    {"TW", "TWN", "Taiwan"},
    {"TZ", "TZA", "Tanzania"},
    {"UA", "UKR", "Ukraine"},
    {"UG", "UGA", "Uganda"},
    {"UM", "UMI", "United States Minor Outlying Islands"},
    {"US", "USA", "United States|United States of America|U.S.A.|US"},
    {"UY", "URY", "Uruguay"},
    {"UZ", "UZB", "Uzbekistan"},
    {"VA", "VAT", "Vatican City|Holy See"},
    {"VC", "VCT", "Saint Vincent and the Grenadines"},
    {"VE", "VEN", "Venezuela"},
    {"VG", "VGB", "British Virgin Islands|Virgin Islands, British"},
    {"VI", "VIR", "US Virgin Islands|U.S. Virgin Islands|Virgin Islands, U.S."},
    {"VN", "VNM", "Vietnam|Viet Nam"},
    {"VU", "VUT", "Vanuatu"},
    {"WF", "WLF", "Wallis and Futuna"},
    {"WS", "WSM", "Samoa"},
    {"XK", "XKX", "Kosovo"},
    {"YE", "YEM", "Yemen"},
    {"YT", "MYT", "Mayotte"},
    {"ZA", "ZAF", "South Africa"},
    {"ZM", "ZMB", "Zambia"},
    {"ZW", "ZWE", "Zimbabwe"},
};

/* Longer than any country's name or free-text form. */
static const size_t country_text_room = 120;

/* A name as compared: transliterated, upper case, words joined by "_". */
static std::string name_key(std::string_view text)
{
    return name_token(text, country_text_room);
}

/* Every code and name, to its two-letter code. */
static std::unordered_map<std::string, std::string> make_name_table()
{
    std::unordered_map<std::string, std::string> table;
    for (const Country &c : countries) {
        table.emplace(c.alpha2, c.alpha2);
        table.emplace(c.alpha3, c.alpha2);
        std::string_view names(c.names);
        while (!names.empty()) {
            size_t bar = std::min(names.find('|'), names.size());
            table.emplace(name_key(names.substr(0, bar)), c.alpha2);
            names.remove_prefix(std::min(bar + 1, names.size()));
        }
    }
    return table;
}

/* Made once, at the first use, whichever thread runs the conversion. */
static const std::unordered_map<std::string, std::string> &name_table()
{
    static const std::unordered_map<std::string, std::string> table = make_name_table();
    return table;
}

std::string country_code(std::string_view text)
{
    const auto &table = name_table();
    std::string key = name_key(text);
    auto whole = table.find(key);
    if (whole != table.end())
        return whole->second;
    /* "USA United States": a code, then the name of the same country. */
    size_t gap = key.find('_');
    if (gap == 2 || gap == 3) {
        auto code = table.find(key.substr(0, gap));
        auto name = table.find(key.substr(gap + 1));
        if (code != table.end() && name != table.end() && code->second == name->second)
            return code->second;
    }
    return std::string();
}

CountryFilter::CountryFilter(const std::vector<std::string> &wanted)
{
    for (const std::string &w : wanted) {
        std::string code = country_code(w);
        wanted_.push_back(code.empty() ? upper_ascii(w) : code);
    }
}

bool CountryFilter::admits(const std::string &text, const SourceLine &where, Report &report)
{
    if (text.empty())
        return false;
    std::string code = country_code(text);
    if (code.empty()) {
        if (unknown_.insert(text).second)
            report.note(where.file, where.line,
                        "country '" + text + "' is no country known here by code or name: " +
                            "what gives it is turned away by --country (reported once)");
        code = upper_ascii(text);
    }
    return std::find(wanted_.begin(), wanted_.end(), code) != wanted_.end();
}
