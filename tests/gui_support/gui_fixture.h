// The one fixture of the window tests. The program's QApplication runs on
// the offscreen platform (gui_main.cpp); each test starts with default
// settings kept in a temporary folder and the English texts, and a
// watchdog fails the test when a modal window appears that the test did
// not announce with expectModal() (and closes it, so the test goes on).
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <functional>
#include <string>

class QTemporaryDir;
class QTimer;
class QWidget;

class GuiTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The next modal window (message box or modal form) goes to handler,
    // which reads it and must close it.
    void expectModal(std::function<void(QWidget*)> handler);
    // The folder the settings file is kept in during this test.
    std::string settingsFolder() const;
    // Runs events for ms milliseconds (modal runs and queued calls).
    static void spin(int ms);

  private:
    void watch();

    std::deque<std::function<void(QWidget*)>> expected_;
    QTemporaryDir* folder_ = nullptr;
    QTimer* watchdog_ = nullptr;
    QWidget* handled_ = nullptr;
};

// Closes a modal window found by the watchdog: a message box by its button
// with text (empty: the default button), a form by hiding it.
void closeModal(QWidget* modal, const QString& button = {});

// Checks what a user would see of window: no text of a label, button or
// group is cut (each control at least as large as its size hint), no
// control lies outside its parent or overlaps a sibling control, and every
// control has an accessible name. Failures name the control.
void expectLayoutSound(QWidget* window);

// Saves a picture of window to path (a PNG), creating its folder.
void saveScreenshot(QWidget* window, const std::string& path);
