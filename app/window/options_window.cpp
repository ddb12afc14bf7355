#include "app/window/options_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>

#include "app/settings_file.h"
#include "app/settings_values.h"
#include "ui/form.h"
#include "ui/qt_text.h"

namespace {

class OptionsForm : public Form {
  public:
    explicit OptionsForm(OptionsHooks hooks);

  protected:
    void showEvent(QShowEvent* event) override {
        load();
        Form::showEvent(event);
    }

  private:
    QWidget* number_page();
    QWidget* language_page();
    void load();
    void apply();
    void change_language(u32 chosen);

    OptionsHooks hooks_;
    QRadioButton* point_ = nullptr;
    QRadioButton* comma_ = nullptr;
    std::array<QCheckBox*, 3> grouping_{};
    std::array<QRadioButton*, 3> language_{};  // automatic, English, German
};

QGroupBox* group(QWidget* parent, int slot) {
    auto* box = new QGroupBox(ui_qtext(slot), parent);
    new QVBoxLayout(box);
    return box;
}

template <typename T>
T* add(QGroupBox* box, int slot) {
    auto* w = new T(ui_qtext(slot), box);
    box->layout()->addWidget(w);
    return w;
}

u8* grouping_flag(std::size_t i) {
    static const std::array<u8*, 3> flags = {&settings_thousands_sci_calc, &settings_thousands_equations,
                                             &settings_thousands_prime_nums};
    return flags[i];
}

OptionsForm::OptionsForm(OptionsHooks hooks) : Form(ui_qtext(47), 362, 330), hooks_(std::move(hooks)) {
    auto* tabs = new QTabWidget(this);
    tabs->setAccessibleName(ui_plain(ui_qtext(47)));
    tabs->addTab(number_page(), ui_qtext(48));
    tabs->addTab(language_page(), ui_qtext(57));
    auto* ok = new QPushButton(ui_qtext(0), this);
    auto* cancel = new QPushButton(ui_qtext(1), this);
    setDefaultButton(ok);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        apply();
        hide();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { hide(); });
}

QWidget* OptionsForm::number_page() {
    auto* page = new QWidget;
    QGroupBox* separator = group(page, 49);
    point_ = add<QRadioButton>(separator, 50);
    comma_ = add<QRadioButton>(separator, 51);
    QGroupBox* grouping = group(page, 52);
    grouping->layout()->addWidget(new QLabel(ui_qtext(53), grouping));
    for (std::size_t i = 0; i < grouping_.size(); ++i)
        grouping_[i] = add<QCheckBox>(grouping, 54 + static_cast<int>(i));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(separator);
    layout->addWidget(grouping);
    layout->addStretch();
    return page;
}

QWidget* OptionsForm::language_page() {
    auto* page = new QWidget;
    QGroupBox* box = group(page, 58);
    for (std::size_t i = 0; i < language_.size(); ++i)
        language_[i] = add<QRadioButton>(box, 59 + static_cast<int>(i));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(box);
    layout->addStretch();
    return page;
}

void OptionsForm::load() {
    if (settings_decimal_separator == SETTINGS_SEPARATOR_POINT) point_->setChecked(true);
    if (settings_decimal_separator == SETTINGS_SEPARATOR_COMMA) comma_->setChecked(true);
    for (std::size_t i = 0; i < grouping_.size(); ++i) grouping_[i]->setChecked(*grouping_flag(i) != 0);
    if (settings_language >= 1 && settings_language <= 3) language_[settings_language - 1]->setChecked(true);
}

void OptionsForm::apply() {
    const u32 separator = comma_->isChecked() && !point_->isChecked() ? SETTINGS_SEPARATOR_COMMA
                                                                       : SETTINGS_SEPARATOR_POINT;
    if (separator != settings_decimal_separator) {
        settings_decimal_separator = separator;
        settings_dirty = 1;
        settings_apply_decimal_separator();
    }
    for (std::size_t i = 0; i < grouping_.size(); ++i) {
        const u8 on = grouping_[i]->isChecked() ? 1 : 0;
        if (on != *grouping_flag(i)) {
            *grouping_flag(i) = on;
            settings_dirty = 1;
        }
    }
    const u32 language = language_[1]->isChecked()   ? SETTINGS_LANGUAGE_ENGLISH
                         : language_[2]->isChecked() ? SETTINGS_LANGUAGE_GERMAN
                                                     : SETTINGS_LANGUAGE_AUTO;
    if (language != settings_language) change_language(language);
}

// The new language is stored at once; unless the user cancels, the settings
// are saved and the program starts anew in it.
void OptionsForm::change_language(u32 chosen) {
    settings_language = chosen;
    settings_dirty = 1;
    QMessageBox box(QMessageBox::Information, ui_qtext(62), ui_qtext(63),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.button(QMessageBox::Ok)->setText(ui_qtext(0));
    box.button(QMessageBox::Cancel)->setText(ui_qtext(1));
    if (box.exec() == QMessageBox::Cancel) return;
    if (hooks_.before_save) hooks_.before_save();
    settings_save();
    if (hooks_.restart) hooks_.restart();
    if (hooks_.quit) hooks_.quit();
}

}  // namespace

Form* options_window_create(OptionsHooks hooks) { return new OptionsForm(std::move(hooks)); }

bool options_restart_program() {
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}
