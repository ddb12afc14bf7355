// The keypad: keys laid out by the core's table, drawn with their colours.
#include "calculator/window/calc_keypad.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

#include "calculator/calc_texts.h"
#include "ui/form.h"
#include "ui/qt_text.h"

namespace {

// The class colour; on a dark palette mixed half with white (black follows
// the palette's button text) so the label stays readable.
QColor labelColour(const QPalette& palette, u32 labelClass) {
    const KeyColour c = keyLabelColour(labelClass);
    const bool dark = palette.color(QPalette::Button).lightness() < 128;
    if (!dark) return QColor(c.red, c.green, c.blue);
    if (c.red == 0 && c.green == 0 && c.blue == 0) return palette.color(QPalette::ButtonText);
    return QColor((c.red + 255) / 2, (c.green + 255) / 2, (c.blue + 255) / 2);
}

// What a label covers: its advance and the height of its ink, so that a
// symbol taken from a font with tall lines (the arrow) is not shrunk for them.
QSize inkSize(const QFontMetrics& m, const QString& label) {
    return {m.horizontalAdvance(label), m.tightBoundingRect(label).height()};
}

}  // namespace

KeyButton::KeyButton(QWidget* parent) : QAbstractButton(parent) {
    Q_ASSERT(parent != nullptr);
    setFocusPolicy(Qt::NoFocus);  // the caret stays in the formula field
}

void KeyButton::setKey(const CalcKey& key) {
    labelClass_ = key.labelClass;
    QFont f = parentWidget() != nullptr ? parentWidget()->font() : font();
    f.setFamily(to_qstring(key.font.family));
    // The layout's points are meant for a 9-point interface font.
    if (key.font.points > 0 && f.pointSizeF() > 0) f.setPointSizeF(f.pointSizeF() * key.font.points / 9.0);
    // Every key keeps the keypad's 38 x 25 cell: a label whose font (or its
    // stand-in where the family is missing) is larger is drawn smaller.
    const QString label = to_qstring(key.label);
    const QSize cell = cellSize();
    const int width = cell.width() - ui_scaled(parentWidget(), 6), height = cell.height() - ui_scaled(parentWidget(), 4);
    for (int step = 0; step < 20 && f.pointSizeF() > 5; ++step) {
        const QSize text = inkSize(QFontMetrics(f), label);
        if (text.width() <= width && text.height() <= height) break;
        f.setPointSizeF(f.pointSizeF() * 0.9);
    }
    setFont(f);
    setText(label);
    setAccessibleName(text());
    updateGeometry();
    update();
}

// 38 x 25 at the keypad's font (a key's own font may be larger or smaller).
QSize KeyButton::cellSize() const {
    return {ui_scaled(parentWidget(), 38), ui_scaled(parentWidget(), 25)};
}

QSize KeyButton::sizeHint() const {
    const QSize text = inkSize(fontMetrics(), QAbstractButton::text());
    const QSize cell = cellSize();
    return {std::max(cell.width(), text.width() + ui_scaled(parentWidget(), 6)),
            std::max(cell.height(), text.height() + ui_scaled(parentWidget(), 4))};
}

void KeyButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    if (isDown()) option.state |= QStyle::State_Sunken;
    else option.state |= QStyle::State_Raised;
    p.drawControl(QStyle::CE_PushButtonBevel, option);
    p.setPen(isEnabled() ? labelColour(palette(), labelClass_)
                         : palette().color(QPalette::Disabled, QPalette::ButtonText));
    p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

KeypadWidget::KeypadWidget(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(1);  // keys 38 x 25 at 39 x 26 apart
    for (int i = 0; i < KEYPAD_KEYS; ++i) {
        auto* key = new KeyButton(this);
        keys_[static_cast<std::size_t>(i)] = key;
        grid->addWidget(key, i / KEYPAD_COLUMNS, i % KEYPAD_COLUMNS);
        connect(key, &QAbstractButton::clicked, this, [this, i] {
            if (on_key) on_key(i);
        });
    }
}

void KeypadWidget::relabel(const KeypadState& state, i32 language) {
    for (int i = 0; i < KEYPAD_KEYS; ++i) {
        const CalcKey k = keyLayout(i, state.numberType);
        KeyButton* key = keys_[static_cast<std::size_t>(i)];
        key->setKey(k);
        key->setToolTip(to_qstring(keyTooltip(k.code, language)));
        key->setAccessibleDescription(key->toolTip());
        key->setEnabled(keyEnabled(k, state));
    }
}

void KeypadWidget::enableByState(const KeypadState& state) {
    for (int i = 0; i < KEYPAD_KEYS; ++i) keys_[static_cast<std::size_t>(i)]->setEnabled(keyEnabled(i, state));
}
