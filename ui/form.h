// The dialog forms every window of the program is made of: a top-level
// window that behaves like a dialog without being one. Tab and Shift+Tab walk
// the controls with wrap-around (a radio group is one stop, its checked
// button), the arrow keys move within a radio group, and Enter clicks the
// form's default button except in controls that want Enter themselves.
// Closing a form hides it: forms live from start-up to exit.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

class QPushButton;

// Dynamic property that marks a control (or a composite control's outer
// widget) as taking Enter itself, so that the form does not click its
// default button: multi-line edits, the up-down fields, the data grid. Set
// to false on a multi-line edit, it lets Enter click the default button.
inline constexpr char UI_WANTS_ENTER[] = "velmarix_wants_enter";

class Form : public QWidget {
  public:
    // caption: the title; width x height: the intended client size at the
    // reference font (DESIGN: the layout's intent), scaled by the font's
    // metrics. The form starts hidden.
    Form(const QString& caption, int width, int height);

    // The button Enter clicks (form_set_default_button): shown as the
    // default while no other push button has the focus.
    void setDefaultButton(QPushButton* button);
    QPushButton* defaultButton() const { return default_button_; }

    // Called when the user asks to close the form, before it hides; the
    // tool pages bring the main window forward here.
    std::function<void()> on_close;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* default_button_ = nullptr;
    bool placed_ = false;
};

// The intended size px (pixels at the reference 16-pixel line of the
// original's 9-point font) in pixels of w's font.
int ui_scaled(const QWidget* w, int px);

// Focuses a control: for a radio button the checked button of its group
// (the first one, checked, when none is).
void control_focus(QWidget* control);

// Runs form modally over owner: shows it, disables every other enabled
// top-level window of the program and runs events until the form is hidden
// (or the program quits); then re-enables exactly the windows it disabled
// and gives the focus back. False when the form could not be shown.
bool form_run_modal(Form* form, QWidget* owner);

// The forms now running modally, innermost last.
const std::vector<Form*>& form_modal_stack();

// Enables or disables every top-level window of the program but except's
// window (at most 100 windows). Pages lock the program while they compute.
void enable_thread_windows(QWidget* except, bool enable);
