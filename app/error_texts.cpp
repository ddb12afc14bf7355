// Message templates of the application and formula errors in both
// languages, in the order of the UI text slots 103 to 147 (error_texts.h).
// The only copy of these texts: the UI table points here.
#include "app/error_texts.h"

#include <atomic>

#include "formula/formula_error.h"

// clang-format off

const ErrorText error_texts[ERROR_TEXT_COUNT] = {
    {0,
     u"All right.",
     u"Alles OK."},
    {1000,
     u"Invalid input \"%s\" !",
     u"Ungültige Eingabe \"%s\" !"},
    {1001,
     u"Overflow in mathematical calculation!",
     u"Überlauf bei mathematischer Berechnung!"},
    {1002,
     u"Division by 0!",
     u"Division durch 0!"},
    {1003,
     u"The text entered is too long!",
     u"Der eingegebene Text ist zu lang!"},
    {1005,
     u"The file \"%s\" was not found!",
     u"Die Datei \"%s\" wurde nicht gefunden!"},
    {1006,
     u"Error when accessing file \"%s\" ! Possibly the file is already opened in another program or you do not have sufficient access rights for the file.",
     u"Fehler beim Zugriff auf die Datei \"%s\" ! Möglicherweise ist die Datei bereits in einem anderen Programm geöffnet oder Sie haben keine ausreichenden Zugriffsrechte für die Datei."},
    {1007,
     u"Error in mathematical formula!",
     u"Fehler in mathematischer Formel!"},
    {1201,
     u"Result cannot be converted to the current number type!",
     u"Ergebnis kann nicht in den aktuellen Zahlentyp konvertiert werden!"},
    {1203,
     u"The Variable \"%s\" cannot be evaluated for the current number type!",
     u"Die Variable \"%s\" kann für den aktuellen Zahlentyp nicht ausgewertet werden!"},
    {1204,
     u"The formula has too many variables!",
     u"Die Formel hat zu viele Variablen!"},
    {1205,
     u"The result variable \"%s\" is used in the formula, but there is no result of the previous calculation available!",
     u"Die Ergebnisvariable \"%s\" wird in der Formel benutzt, es ist jedoch kein Ergebnis einer vorigen Berechnung verfügbar!"},
    {1300,
     u"The variable name \"%s\" is invalid. Only the following characters are allowed:\r\n\r\n• Latin lowercase letters\r\n• Greek lowercase letters\r\n• Underscore \"_\"\r\n• Decimal digits from the second character\r\n\r\nFurthermore the following names are reserved and may not be used as variable names: \"e\", \"i\", \"π\", \"pi\", \"ans\"",
     u"Der Variablenname \"%s\" ist ungültig. Es sind nur die folgenden Zeichen erlaubt:\r\n\r\n• Lateinische Kleinbuchstaben\r\n• Griechische Kleinbuchstaben\r\n• Unterstrich \"_\"\r\n• Dezimalziffern ab dem zweiten Zeichen\r\n\r\nAußerdem sind folgende Namen reserviert und können nicht als Variablennamen benutzt werden: \"e\", \"i\", \"π\", \"pi\", \"ans\""},
    {2000,
     u"The highest coefficient \"%s\" must not be 0!",
     u"Der höchste Koeffizient \"%s\" darf nicht 0 sein!"},
    {2001,
     u"Iteration method has not converged!",
     u"Iterationsverfahren hat nicht konvergiert!"},
    {2002,
     u"Error evaluating coefficient \"%s\"!",
     u"Fehler bei der Auswertung von Koeffizient \"%s\"!"},
    {2003,
     u"The coefficient \"%s\" has to be real!",
     u"Der Koeffizient \"%s\" muss reell sein!"},
    {2004,
     u"Overflow error when solving the equation exactly!",
     u"Überlauffehler beim exakten Lösen der Gleichung!"},
    {2005,
     u"The coefficient \"%s\" is not a rational number in numerator denominator representation or overflow in numerator or denominator!",
     u"Der Koeffizient \"%s\" ist keine rationale Zahl in Zähler-Nenner-Darstellung oder Überlauf bei Zähler oder Nenner!"},
    {2006,
     u"Coefficient \"%s\" has to many characters!",
     u"Koeffizient \"%s\" hat zu viele Zeichen!"},
    {3000,
     u"Overflow in prime number calculation!",
     u"Überlauf bei der Primzahlberechnung!"},
    {3100,
     u"Overflow in prime factor calculation!",
     u"Überlauf bei der Primfaktorberechnung!"},
    {3101,
     u"The number \"%s\" has to many prime factors or divisors!",
     u"Die Zahl \"%s\" hat zu viele Primfaktoren bzw. Teiler!"},
    {3300,
     u"Error evaluating coefficient \"%s\" in polynomial \"%s\"!",
     u"Fehler bei der Auswertung des Koeffizienten \"%s\" im Polynom \"%s\"!"},
    {3301,
     u"The coefficient \"%s\" in polynomial \"%s\" is too long!",
     u"Der Koeffizient \"%s\" im Polynom \"%s\" ist zu lang!"},
    {3302,
     u"The maximum polynomial degree of the result may not exceed %s!",
     u"Der maximale Polynomgrad des Ergebnisses darf %s nicht überschreiten!"},
    {3303,
     u"The polynomial \"%s\" must be an integer number from 0 to %s!",
     u"Das Polynom \"%s\" muss eine ganze Zahl von 0 bis %s sein!"},
    {3400,
     u"The coefficient in equation %s, column \"%s\" is too long!",
     u"Der Koeffizient in Gleichung %s, Spalte \"%s\" ist zu lang!"},
    {3401,
     u"Error evaluating coefficient in equation %s, column \"%s\"!",
     u"Fehler bei der Auswertung des Koeffizienten in Gleichung %s, Spalte \"%s\"!"},
    {3402,
     u"The number of equation variables has to be between 2 und %s!",
     u"Die Anzahl der Gleichungsvariablen muss zwischen 2 und %s liegen!"},
    {9000,
     u"Internal error!",
     u"Interner Fehler!"},
    {9001,
     u"Not yet implemented!",
     u"Noch nicht implementiert!"},
    {9002,
     u"String buffer overflow!",
     u"Stringpufferüberlauf!"},
    {ERROR_CODE_OTHER,
     u"Unknown error %s occurred!",
     u"Unbekannter Fehler %s aufgetreten!"},
    {10200,
     u"Syntax error at character position %d!",
     u"Syntaxfehler bei Zeichenposition %d!"},
    {10201,
     u"The left parenthesis is missing for the right parenthesis at character position %d!",
     u"Die öffnende Klammer für die schließende Klammer bei Zeichenposition %d fehlt!"},
    {10202,
     u"Unexpected end of formula!",
     u"Unerwartetes Formelende!"},
    {10203,
     u"Overflow at character position %d!",
     u"Überlauf bei Zeichenposition %d!"},
    {10204,
     u"Formula is to complicated because to many parentheses are nested!",
     u"Formel ist zu kompliziert, da zu viele Klammern ineinander geschachtelt sind!"},
    {10205,
     u"Internal formula error %d occurred!",
     u"Interner Formelfehler %d aufgetreten!"},
    {10206,
     u"The number of parameters of the function at character position %d is wrong!",
     u"Die Anzahl der Parameter der Funktion bei Zeichenposition %d ist falsch!"},
    {10207,
     u"The function at character position %d requires a complex number type!",
     u"Die Funktion bei Zeichenposition %d erfordert einen komplexen Zahlentyp!"},
    {10208,
     u"The number at character position %d has an invalid format or is out of range!",
     u"Die Zahl bei Zeichenposition %d hat ein ungültiges Format oder ist außerhalb des zulässigen Bereichs!"},
    {10209,
     u"The function at character position %d is not available for the set number type!",
     u"Die Funktion bei Zeichenposition %d ist für den eingestellten Zahlentyp nicht verfügbar!"},
    {10210,
     u"Calculation was aborted by the user.",
     u"Die Berechnung wurde durch den Benutzer abgebrochen."},
};

const ErrorText error_texts_added[ERROR_TEXT_ADDED_COUNT] = {
    {3403,
     u"The first line of the file is not a header of the form a1;a2;...;b!",
     u"Die erste Zeile der Datei ist keine Kopfzeile der Form a1;a2;...;b!"},
    {3404,
     u"Line %s of the file does not have %s fields, one for each column of the header!",
     u"Zeile %s der Datei hat nicht %s Felder, eines für jede Spalte der Kopfzeile!"},
    {3405,
     u"Line %s of the file is one equation too many for %s unknowns!",
     u"Zeile %s der Datei ist eine Gleichung zu viel für %s Unbekannte!"},
};

// The library errors a formula step can end with, each with a 10203 text of
// its own; a real overflow keeps the 10203 template above.
const ErrorText overflow_cause_texts[] = {
    {MP_ERR_DIV_ZERO,
     u"Division by zero at character position %d!",
     u"Division durch 0 bei Zeichenposition %d!"},
    {MP_ERR_DOMAIN,
     u"The operation at character position %d is not defined for this argument!",
     u"Die Operation bei Zeichenposition %d ist für dieses Argument nicht definiert!"},
    {MP_ERR_NOT_REAL,
     u"The operation at character position %d needs a real argument!",
     u"Die Operation bei Zeichenposition %d erfordert ein reelles Argument!"},
    {MP_ERR_NOT_RATIONAL,
     u"The result at character position %d has no exact rational value!",
     u"Das Ergebnis bei Zeichenposition %d hat keinen exakten rationalen Wert!"},
    {MP_ERR_TYPE,
     u"The operation at character position %d is not offered for this number type!",
     u"Die Operation bei Zeichenposition %d ist für diesen Zahlentyp nicht verfügbar!"},
};

const char16_t* const error_caption_english = u"Error";
const char16_t* const error_caption_german = u"Fehler";
// clang-format on

namespace {

std::atomic<i32> message_language{LANGUAGE_ENGLISH};

}  // namespace

const char16_t* errorTextIn(const ErrorText& entry, i32 language) {
    return language == LANGUAGE_GERMAN ? entry.german : entry.english;
}

const ErrorText* appErrorTemplate(u32 code) {
    for (int i = 0; i < ERROR_TEXT_FIRST_FORMULA - 1; ++i) {
        if (error_texts[i].code == code) return &error_texts[i];
    }
    for (const ErrorText& entry : error_texts_added) {
        if (entry.code == code) return &entry;
    }
    return nullptr;
}

const ErrorText& formulaErrorTemplate(u32 code) {
    for (int i = ERROR_TEXT_FIRST_FORMULA; i < ERROR_TEXT_COUNT; ++i) {
        if (error_texts[i].code == code) return error_texts[i];
    }
    return error_texts[ERROR_TEXT_FIRST_FORMULA + (FORMULA_ERR_INTERNAL - FORMULA_ERR_SYNTAX)];
}

const ErrorText* overflowCauseTemplate(i32 cause) {
    for (const ErrorText& entry : overflow_cause_texts)
        if (static_cast<i32>(entry.code) == cause) return &entry;
    return nullptr;
}

const ErrorText& unknownErrorTemplate() {
    return error_texts[ERROR_TEXT_FIRST_FORMULA - 1];
}

void setMessageLanguage(i32 language) {
    message_language.store(language == LANGUAGE_GERMAN ? LANGUAGE_GERMAN : LANGUAGE_ENGLISH,
                           std::memory_order_relaxed);
}

i32 messageLanguage() {
    return message_language.load(std::memory_order_relaxed);
}

const char16_t* errorCaption(i32 language) {
    return language == LANGUAGE_GERMAN ? error_caption_german : error_caption_english;
}
