// The fixture of the tool pages' tests: the page's controls found the way a
// user finds them (by caption, by name), typing into the grid, the answers
// of message boxes and file dialogs, waiting for a run, and a picture of
// the page with its result.
#pragma once

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <functional>
#include <memory>

#include "app/ui_texts.h"
#include "gui_fixture.h"
#include "ui/form.h"
#include "ui/grid_widget.h"
#include "ui/job_runner.h"
#include "ui/output_box.h"

class PageTest : public GuiTest {
  protected:
    // Builds the page with create in the active language and shows it.
    void open(Form* (*create)()) {
        delete form;
        form = create();
        form->show();
        grid = findOne<GridWidget>();
        output = findOne<OutputBox>();
    }
    void TearDown() override {
        delete form;
        GuiTest::TearDown();
    }

    // The first child of class T of page (default: the open page), also for
    // classes without a meta-object.
    template <typename T>
    T* findOne(QWidget* page = nullptr) {
        for (QWidget* c : (page ? page : form)->findChildren<QWidget*>())
            if (auto* t = dynamic_cast<T*>(c)) return t;
        ADD_FAILURE() << "no " << typeid(T).name();
        return nullptr;
    }
    QAbstractButton* button(const QString& text, QWidget* page = nullptr) {
        for (QAbstractButton* b : (page ? page : form)->findChildren<QAbstractButton*>())
            if (b->text() == text) return b;
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }
    // The control of class T with this accessible name.
    template <typename T = QWidget>
    T* named(const QString& name, QWidget* page = nullptr) {
        for (T* w : (page ? page : form)->findChildren<T*>())
            if (w->accessibleName() == name) return w;
        ADD_FAILURE() << "no control " << name.toStdString();
        return nullptr;
    }
    // Sets the up-down field named by its label as the arrows do.
    void setField(const QString& name, int value) {
        if (QSpinBox* s = named<QSpinBox>(name)) s->setValue(value);
    }
    // Types text into a cell and presses Enter.
    void type(i64 col, i64 row, const QString& text) {
        grid->editCell(col, row, true);
        auto* editor = grid->findChild<QLineEdit*>();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // The text of the next message box, filled in when it appeared.
    std::shared_ptr<QString> nextMessage() {
        auto text = std::make_shared<QString>();
        expectModal([text](QWidget* w) {
            ASSERT_NE(qobject_cast<QMessageBox*>(w), nullptr);
            *text = static_cast<QMessageBox*>(w)->text();
            closeModal(w);
        });
        return text;
    }
    // The next file dialog picks path, as its Open or Save button does. The
    // name is typed into the name field as well: selectFile leaves a field
    // that has the focus alone, and the dialog's accept reads that field, so
    // whether the window system had focused it yet decided the pick.
    void pickFile(const QString& path) {
        expectModal([path](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(path);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QFileInfo(path).fileName());
            static_cast<QDialog*>(dialog)->accept();
        });
    }
    // Clicks b and runs events until no job runs and the page takes input
    // again; the generous bound only proves the run ends.
    void clickAndWait(QAbstractButton* b) {
        b->click();
        waitIdle();
    }
    void waitIdle() {
        QElapsedTimer t;
        t.start();
        while (job_running() && t.elapsed() < 30000) spin(5);
        EXPECT_FALSE(job_running());
        spin(250);  // the page unlocks 200 ms after a run
    }
    // In both languages: the page built anew, given its input by fill and
    // run by the button run picks; its layout checked and its picture saved
    // as build/screenshots/NAME-result-LANG.png.
    void shootResults(const std::string& name, Form* (*create)(), const std::function<void()>& fill,
                      const std::function<QAbstractButton*()>& run) {
        for (i32 lang : {2, 3}) {
            ui_language_select(static_cast<u32>(lang));
            open(create);
            fill();
            clickAndWait(run());
            EXPECT_FALSE(output->toPlainText().isEmpty()) << name << " " << lang;
            expectLayoutSound(form);
            saveScreenshot(form, std::string(VELMARIX_SCREENSHOT_DIR) + "/" + name + "-result-" +
                                     (lang == 3 ? "de" : "en") + ".png");
        }
        ui_language_select(2);
    }

    Form* form = nullptr;
    GridWidget* grid = nullptr;
    OutputBox* output = nullptr;
};
