#include "app/html_text.h"

#include <cstring>
#include <type_traits>

namespace {

// U+00A0 to U+00FF in order.
const char* const kLatin1[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",
    "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",
    "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12",
    "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde",
    "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",
    "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",
    "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

// Greek letters in order from U+0391 (U+03A2 has no capital) and U+03B1.
const char* const kGreek[25] = {
    "Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta",   "Theta", "Iota",
    "Kappa", "Lambda", "Mu",  "Nu",    "Xi",      "Omicron", "Pi", "Rho",   nullptr,
    "Sigma", "Tau",  "Upsilon", "Phi", "Chi",     "Psi",  "Omega",
};
const char* const kGreekSmall[25] = {
    "alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta",  "theta", "iota",
    "kappa", "lambda", "mu",  "nu",    "xi",      "omicron", "pi", "rho",  "sigmaf",
    "sigma", "tau",  "upsilon", "phi", "chi",     "psi",  "omega",
};

struct Named {
    const char* name;
    uint16_t code;
};

// The rest of HTML 4's symbols and specials, and "apos".
const Named kOthers[] = {
    {"quot", 34},      {"amp", 38},       {"apos", 39},      {"lt", 60},        {"gt", 62},
    {"OElig", 338},    {"oelig", 339},    {"Scaron", 352},   {"scaron", 353},   {"Yuml", 376},
    {"fnof", 402},     {"circ", 710},     {"tilde", 732},    {"thetasym", 977}, {"upsih", 978},
    {"piv", 982},      {"ensp", 8194},    {"emsp", 8195},    {"thinsp", 8201},  {"zwnj", 8204},
    {"zwj", 8205},     {"lrm", 8206},     {"rlm", 8207},     {"ndash", 8211},   {"mdash", 8212},
    {"lsquo", 8216},   {"rsquo", 8217},   {"sbquo", 8218},   {"ldquo", 8220},   {"rdquo", 8221},
    {"bdquo", 8222},   {"dagger", 8224},  {"Dagger", 8225},  {"bull", 8226},    {"hellip", 8230},
    {"permil", 8240},  {"prime", 8242},   {"Prime", 8243},   {"lsaquo", 8249},  {"rsaquo", 8250},
    {"oline", 8254},   {"frasl", 8260},   {"euro", 8364},    {"image", 8465},   {"weierp", 8472},
    {"real", 8476},    {"trade", 8482},   {"alefsym", 8501}, {"larr", 8592},    {"uarr", 8593},
    {"rarr", 8594},    {"darr", 8595},    {"harr", 8596},    {"crarr", 8629},   {"lArr", 8656},
    {"uArr", 8657},    {"rArr", 8658},    {"dArr", 8659},    {"hArr", 8660},    {"forall", 8704},
    {"part", 8706},    {"exist", 8707},   {"empty", 8709},   {"nabla", 8711},   {"isin", 8712},
    {"notin", 8713},   {"ni", 8715},      {"prod", 8719},    {"sum", 8721},     {"minus", 8722},
    {"lowast", 8727},  {"radic", 8730},   {"prop", 8733},    {"infin", 8734},   {"ang", 8736},
    {"and", 8743},     {"or", 8744},      {"cap", 8745},     {"cup", 8746},     {"int", 8747},
    {"there4", 8756},  {"sim", 8764},     {"cong", 8773},    {"asymp", 8776},   {"ne", 8800},
    {"equiv", 8801},   {"le", 8804},      {"ge", 8805},      {"sub", 8834},     {"sup", 8835},
    {"nsub", 8836},    {"sube", 8838},    {"supe", 8839},    {"oplus", 8853},   {"otimes", 8855},
    {"perp", 8869},    {"sdot", 8901},    {"lceil", 8968},   {"rceil", 8969},   {"lfloor", 8970},
    {"rfloor", 8971},  {"lang", 9001},    {"rang", 9002},    {"loz", 9674},     {"spades", 9824},
    {"clubs", 9827},   {"hearts", 9829},  {"diams", 9830},
};

// Browsers read &#128; to &#159; as windows-1252, as pages mean them.
const uint16_t kWindows1252[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178,
};

bool Is(const char* name, size_t length, const char* candidate)
{
    return candidate != nullptr && strlen(candidate) == length && memcmp(name, candidate, length) == 0;
}

int DigitValue(uint32_t c, bool hex)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (hex && c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (hex && c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

bool IsAsciiLetterOrDigit(uint32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

template <class Unit>
size_t ReadAny(const Unit* text, size_t length, uint32_t* code)
{
    if (length >= 3 && text[1] == '#') {
        const bool hex = text[2] == 'x' || text[2] == 'X';
        size_t i = hex ? 3 : 2;
        const size_t first = i;
        uint32_t value = 0;
        for (; i < length; ++i) {
            const int digit = DigitValue(static_cast<uint32_t>(text[i]), hex);
            if (digit < 0)
                break;
            // Anything past the last character stays past it.
            value = value > 0x10FFFF ? value : value * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
        }
        if (i == first)
            return 0;
        if (value >= 0x80 && value <= 0x9F)
            value = kWindows1252[value - 0x80];
        *code = value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF ? 0xFFFD : value;
        return i < length && text[i] == ';' ? i + 1 : i;
    }
    // The longest name is 8 letters ("thetasym").
    char name[9];
    size_t n = 0;
    while (n < sizeof name && 1 + n < length && IsAsciiLetterOrDigit(static_cast<uint32_t>(text[1 + n]))) {
        name[n] = static_cast<char>(text[1 + n]);
        ++n;
    }
    if (n == 0 || n == sizeof name || 1 + n >= length || text[1 + n] != ';')
        return 0;
    const uint32_t value = NamedReferenceCode(name, n);
    if (value == 0)
        return 0;
    *code = value;
    return n + 2;
}

template <class Unit>
uint32_t UnitValue(Unit unit)
{
    return static_cast<uint32_t>(static_cast<typename std::make_unsigned<Unit>::type>(unit));
}

// Calls emit(value, decoded) for each unit kept, with one space for each
// run of raw white space between others; `decoded` marks a reference's
// character. With `foldDecoded`, white space written as a reference folds
// as well; without it, it is content (a no-break space, raw or not, a
// space). Returns false when nothing but white space was there.
template <class Unit, class Sink>
bool Clean(const Unit* text, size_t length, bool foldDecoded, Sink&& emit)
{
    bool pendingSpace = false;
    bool any = false;
    bool solid = false;
    for (size_t i = 0; i < length;) {
        uint32_t code = UnitValue(text[i]);
        size_t used = 1;
        bool decoded = false;
        if (code == '&') {
            const size_t span = ReadReference(text + i, length - i, &code);
            decoded = span > 0;
            used = decoded ? span : 1;
        } else if (sizeof(Unit) == 1 && code == 0xC2 && i + 1 < length && UnitValue(text[i + 1]) == 0xA0) {
            code = 0xA0;   // a raw no-break space in UTF-8
            used = 2;
        }
        if (code == 0xA0 && !foldDecoded) {
            code = ' ';
            decoded = true;
        }
        i += used;
        if (code == 0 && !decoded)
            continue;
        const bool space = IsFoldedSpace(code);
        if (space && (foldDecoded || !decoded)) {
            pendingSpace = any;
            continue;
        }
        if (pendingSpace)
            emit(' ', false);
        pendingSpace = false;
        any = true;
        solid = solid || !space;
        emit(code, decoded);
    }
    return solid;
}

}  // namespace

uint32_t NamedReferenceCode(const char* name, size_t length)
{
    for (size_t i = 0; i < 96; ++i) {
        if (Is(name, length, kLatin1[i]))
            return static_cast<uint32_t>(0xA0 + i);
    }
    for (size_t i = 0; i < 25; ++i) {
        if (Is(name, length, kGreek[i]))
            return static_cast<uint32_t>(0x391 + i);
        if (Is(name, length, kGreekSmall[i]))
            return static_cast<uint32_t>(0x3B1 + i);
    }
    for (const Named& named : kOthers) {
        if (Is(name, length, named.name))
            return named.code;
    }
    return 0;
}

size_t ReadReference(const char* text, size_t length, uint32_t* code)
{
    return ReadAny(text, length, code);
}

size_t ReadReference(const char16_t* text, size_t length, uint32_t* code)
{
    return ReadAny(text, length, code);
}

bool IsFoldedSpace(uint32_t code)
{
    return code == ' ' || code == '\t' || code == '\r' || code == '\n' || code == '\f' || code == 0xA0;
}

void AppendUtf8(uint32_t code, std::string& out)
{
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::u16string CleanTitleText(const char16_t* text, size_t length)
{
    std::u16string out;
    out.reserve(length);
    Clean(text, length, true, [&out](uint32_t code, bool decoded) {
        if (decoded && code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    });
    return out;
}

void AppendFoldedUtf8(const char* text, size_t length, std::string& out)
{
    const size_t start = out.size();
    const bool solid = Clean(text, length, false, [&out](uint32_t code, bool decoded) {
        if (decoded)
            AppendUtf8(code, out);
        else
            out += static_cast<char>(code);
    });
    if (!solid)
        out.resize(start);
}
