// The calculator page's own words and the keys' tooltips, in both languages.
#include "calculator/calc_texts.h"

#include "app/error_texts.h"
#include "calculator/keypad.h"

namespace {

struct Pair {
    const char16_t* english;
    const char16_t* german;
};

// clang-format off
constexpr Pair kTexts[] = {
    {u"Formula", u"Formel"},
    {u"Result", u"Ergebnis"},
    {u"History", u"Verlauf"},
    {u"Show history", u"Verlauf zeigen"},
    {u"Copy history", u"Verlauf kopieren"},
    {u"Copy", u"Kopieren"},
    {u"Type", u"Typ"},
    {u"Angle", u"Winkel"},
    {u"deg", u"Grad"},
    {u"rad", u"rad"},
    {u"gon", u"gon"},
    {u"uint", u"uint"},
    {u"The result is rounded down to an integer", u"Das Ergebnis ist auf eine ganze Zahl abgerundet"},
    {u"Digit count", u"Ziffernanzahl"},
};

struct Tip {
    u32 code;
    Pair text;
};

constexpr Tip kTips[] = {
    {1000, {u"Add", u"Addieren"}},
    {1001, {u"Subtract", u"Subtrahieren"}},
    {1002, {u"Multiply", u"Multiplizieren"}},
    {1003, {u"Divide", u"Dividieren"}},
    {1004, {u"Power x^y", u"Potenz x^y"}},
    {1008, {u"Remainder of a division (mod)", u"Rest einer Division (mod)"}},
    {1014, {u"Square", u"Quadrat"}},
    {1015, {u"Cube", u"Kubik"}},
    {1016, {u"Power of two", u"Zweierpotenz"}},
    {1017, {u"Power of ten", u"Zehnerpotenz"}},
    {1018, {u"Reciprocal 1/x", u"Kehrwert 1/x"}},
    {1100, {u"Square root", u"Quadratwurzel"}},
    {1101, {u"Cube root", u"Kubikwurzel"}},
    {1104, {u"Logarithm to base 2", u"Logarithmus zur Basis 2"}},
    {1105, {u"Natural logarithm", u"Natürlicher Logarithmus"}},
    {1106, {u"Logarithm to base 10", u"Logarithmus zur Basis 10"}},
    {1107, {u"Logarithm to base x: logx(x; y)", u"Logarithmus zur Basis x: logx(x; y)"}},
    {1108, {u"Exponential function e^x", u"Exponentialfunktion e^x"}},
    {1110, {u"Sine", u"Sinus"}},
    {1111, {u"Cosine", u"Kosinus"}},
    {1112, {u"Tangent", u"Tangens"}},
    {1113, {u"Arc sine", u"Arkussinus"}},
    {1114, {u"Arc cosine", u"Arkuskosinus"}},
    {1115, {u"Arc tangent", u"Arkustangens"}},
    {1116, {u"Hyperbolic sine", u"Sinus hyperbolicus"}},
    {1117, {u"Hyperbolic cosine", u"Kosinus hyperbolicus"}},
    {1118, {u"Hyperbolic tangent", u"Tangens hyperbolicus"}},
    {1119, {u"Inverse hyperbolic sine", u"Areasinus hyperbolicus"}},
    {1120, {u"Inverse hyperbolic cosine", u"Areakosinus hyperbolicus"}},
    {1121, {u"Inverse hyperbolic tangent", u"Areatangens hyperbolicus"}},
    {1122, {u"Factorial", u"Fakultät"}},
    {1125, {u"Integer part", u"Ganzzahliger Anteil"}},
    {1126, {u"Fractional part", u"Nachkommaanteil"}},
    {1127, {u"Absolute value", u"Betrag"}},
    {1128, {u"Argument (angle) of a complex number", u"Argument (Winkel) einer komplexen Zahl"}},
    {1129, {u"Round to an integer", u"Auf eine ganze Zahl runden"}},
    {1133, {u"Real part", u"Realteil"}},
    {1134, {u"Imaginary part", u"Imaginärteil"}},
    {1135, {u"Combinations: n choose r", u"Kombinationen: n über r"}},
    {1136, {u"Permutations of r out of n", u"Variationen von r aus n"}},
    {1137, {u"x-th root of y: root(x; y)", u"x-te Wurzel aus y: root(x; y)"}},
    {1138, {u"Complex square roots", u"Komplexe Quadratwurzeln"}},
    {1139, {u"Complex cube roots", u"Komplexe Kubikwurzeln"}},
    {1140, {u"Complex x-th roots", u"Komplexe x-te Wurzeln"}},
    {1141, {u"Greatest common divisor", u"Größter gemeinsamer Teiler"}},
    {1142, {u"Least common multiple", u"Kleinstes gemeinsames Vielfaches"}},
    {1143, {u"Modular inverse", u"Modulares Inverses"}},
    {1144, {u"Modular power: powmod(x; y; m)", u"Modulare Potenz: powmod(x; y; m)"}},
    {1318, {u"Decimal separator", u"Dezimaltrennzeichen"}},
    {1319, {u"Exponent of ten (1e5 = 100000)", u"Zehnerexponent (1e5 = 100000)"}},
    {1320, {u"The number pi", u"Die Zahl Pi"}},
    {1323, {u"Imaginary unit", u"Imaginäre Einheit"}},
    {1324, {u"Delete the last character", u"Letztes Zeichen löschen"}},
    {1325, {u"Clear all: formula, result and errors", u"Alles löschen: Formel, Ergebnis und Fehler"}},
    {1326, {u"Open parenthesis", u"Öffnende Klammer"}},
    {1327, {u"Close parenthesis", u"Schließende Klammer"}},
    {1328, {u"Separator between function arguments", u"Trennzeichen zwischen Funktionsargumenten"}},
    {1329, {u"The previous result", u"Das vorige Ergebnis"}},
    {1331, {u"Put the whole formula in parentheses", u"Die ganze Formel einklammern"}},
    {1332, {u"Clear the formula", u"Formel löschen"}},
    {1400, {u"Calculate (Enter)", u"Berechnen (Eingabetaste)"}},
    {1401, {u"Fraction or decimal approximation", u"Bruch oder Dezimalnäherung"}},
    {1402, {u"Fixed or exponent notation", u"Fest- oder Exponentialschreibweise"}},
    {1403, {u"Fraction or mixed number", u"Bruch oder gemischte Zahl"}},
    {1404, {u"Variables", u"Variablen"}},
};
// clang-format on

const char16_t* pick(const Pair& p, i32 language) {
    return language == LANGUAGE_GERMAN ? p.german : p.english;
}

}  // namespace

std::u16string_view calcText(CalcText id, i32 language) {
    const auto i = static_cast<std::size_t>(id);
    return i < std::size(kTexts) ? pick(kTexts[i], language) : u"";
}

std::u16string_view keyTooltip(u32 code, i32 language) {
    if (code >= KEY_DIGIT_0 && code <= KEY_DIGIT_F)
        return language == LANGUAGE_GERMAN ? u"Ziffer" : u"Digit";
    for (const Tip& t : kTips)
        if (t.code == code) return pick(t.text, language);
    return {};
}
