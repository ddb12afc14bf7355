#include "ui/qt_text.h"

#include "app/error_texts.h"
#include "app/ui_texts.h"

QString to_qstring(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string from_qstring(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

QString ui_qtext(int slot) {
    if (slot < 0 || slot >= UI_TEXT_COUNT) return QStringLiteral("???");
    return QString::fromUtf16(ui_text[static_cast<std::size_t>(slot)]);
}

QString ui_lang(const char16_t* english, const char16_t* german) {
    return QString::fromUtf16(ui_language == LANGUAGE_GERMAN ? german : english);
}

QString ui_plain(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') out += u'&', ++i;
            continue;
        }
        if (c == u'\r') continue;
        out += c == u'\n' ? QChar(u' ') : c;
    }
    return out;
}
